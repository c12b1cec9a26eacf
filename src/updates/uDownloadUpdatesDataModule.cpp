#include "uDownloadUpdatesDataModule.h"

#include "uDownloadExceptions.h"
#include "uDownloadThread.h"
#include "uProxySettings.h"
#include "uShared.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <exception>

namespace {

// "Tikrinta" of a check that fetched no instruction file.
const QDateTime ZeroDateTime(QDate(1899, 12, 30), QTime(0, 0));
const QString KeyLastCheck = QStringLiteral("Tikrinta");

// The program's name in the instruction path: the file name without its
// extension, A to Z in lower case and every other character as it is.
QString ProgramName(const QString& exePath)
{
    QString name = QFileInfo(exePath).completeBaseName();
    for (QChar& c : name)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    return name;
}

} // namespace

TDownloadUpdatesDataModule::TDownloadUpdatesDataModule(QObject* parent)
    : TDownloadUpdatesDataModule(UpdateLogFileName(GetConfigFileName()), parent)
{}

TDownloadUpdatesDataModule::TDownloadUpdatesDataModule(const QString& logFileName, QObject* parent)
    : QObject(parent), FLog(logFileName), FExePath(QCoreApplication::applicationFilePath()),
      FParams(CommandLineParams())
{}

TDownloadUpdatesDataModule::~TDownloadUpdatesDataModule()
{
    // Normally stopped when the main window closes; a thread must never
    // outlive the engine it works for.
    Stop();
    ClearTasks();
}

void TDownloadUpdatesDataModule::SetStore(std::shared_ptr<IDownloadTaskStore> store)
{
    FStore = std::move(store);
}

std::shared_ptr<IDownloadTaskStore> TDownloadUpdatesDataModule::Store() const
{
    return FStore;
}

void TDownloadUpdatesDataModule::SetProcess(const QString& exePath, const QStringList& params)
{
    FExePath = exePath;
    FParams = params;
}

void TDownloadUpdatesDataModule::WriteLog(const QString& message)
{
    FLog.WriteLog(FStore.get(), message);
}

bool TDownloadUpdatesDataModule::IsDownloading() const
{
    return FThread != nullptr;
}

TUpdateCheckStatus TDownloadUpdatesDataModule::Status() const
{
    return FStatus;
}

QDateTime TDownloadUpdatesDataModule::LastCheck() const
{
    return FLastCheck;
}

void TDownloadUpdatesDataModule::Start()
{
    WriteLog(QStringLiteral("Start"));
    if (FThread)
        return;
    if (InitDownload()) {
        FStatus = TUpdateCheckStatus::InProgress;
        FFtpClient.ResetAbort();
        FThread = std::make_unique<TDownloadThread>(*this);
        connect(FThread.get(), &QThread::finished, this, &TDownloadUpdatesDataModule::ThreadEnded,
                Qt::QueuedConnection);
        FThread->start();
    }
    WriteLog(QStringLiteral("Start END"));
}

bool TDownloadUpdatesDataModule::InitDownload()
{
    if (!FStore)
        throw EDownloadUpdatesException(QStringLiteral("Atnaujinimų modulis neinicializuotas"));
    if (!FStore->GetCheckEnabled()) {
        FStatus = TUpdateCheckStatus::Disabled;
        WriteLog(QStringLiteral("InitDownload Tikrinti = False"));
        return false;
    }
    FDirectory = FStore->GetDirectory();
    if (FDirectory.isEmpty())
        FDirectory = QStringLiteral("public_html");
    FVersion = FStore->GetVersion();
    if (FVersion.isEmpty()) {
        quint16 major = 0;
        quint16 minor = 0;
        quint16 release = 0;
        quint16 build = 0;
        GetFileVersionNumbers(FExePath, major, minor, release, build);
        FVersion = QStringLiteral("%1.%2").arg(major).arg(minor);
    }
    FClient = FStore->GetClient();
    const QString servers = FStore->GetServers();
    const QString proxy = FStore->GetProxy();
    BuildServerList(servers, proxy);
    FInstructionsPath = QStringLiteral("%1/%2/%3/%4/update.txt")
                            .arg(FDirectory, ProgramName(FExePath), FVersion, FClient);
    WriteLog(QStringLiteral("InitDownload Version=%1 Client=%2 Url=%3 Hosts=%4 Proxy=%5")
                 .arg(FVersion, FClient, FInstructionsPath, HidePasswords(servers), proxy));
    return true;
}

void TDownloadUpdatesDataModule::BuildServerList(const QString& servers, const QString& proxy)
{
    TProxyAddress address;
    if (!proxy.isEmpty()) {
        address = ParseProxyText(proxy);
    } else {
        const TProxySettingsReader reader;
        address.Host = reader.GetProxyHost(ppFtp);
        address.Port = reader.GetProxyPort(ppFtp);
    }
    AppendServers(FServers, servers, proxy, address, FStore->GetClient());
}

void TDownloadUpdatesDataModule::ApplyServer(int index)
{
    const TServerSettings& server = FServers.at(static_cast<size_t>(index));
    FFtpClient.Host = server.Host;
    FFtpClient.Port = server.Port;
    FFtpClient.UserName = server.UserName;
    FFtpClient.Password = server.Password;
    FProxyHost = server.ProxyHost;
    FProxyPort = server.ProxyPort;
}

void TDownloadUpdatesDataModule::FtpDownload(const QString& remotePath, QIODevice& out)
{
    FFtpClient.Retrieve(remotePath, out);
}

void TDownloadUpdatesDataModule::Report(const TDownloadThread& thread)
{
    std::exception_ptr error;
    QMetaObject::invokeMethod(
        this,
        [this, &thread, &error] {
            // An error must not unwind through the event loop; the thread
            // raises it where it waits.
            try {
                ReportCheck(thread);
            } catch (...) {
                error = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (error)
        std::rethrow_exception(error);
}

void TDownloadUpdatesDataModule::ReportCheck(const TDownloadThread& thread)
{
    FLastCheck = thread.FLastCheckTime;
    FStore->WriteString(UpdatesSection, KeyLastCheck,
                        TimestampToStr(FLastCheck.isValid() ? FLastCheck : ZeroDateTime));
    emit OnStatusChange();
}

void TDownloadUpdatesDataModule::ReadLastCheck()
{
    const QString text = FStore->ReadString(UpdatesSection, KeyLastCheck, QString());
    FLastCheck = StrToTimestamp(text, QDateTime());
    if (FLastCheck == ZeroDateTime)
        FLastCheck = QDateTime();
}

void TDownloadUpdatesDataModule::ThreadEnded()
{
    // The thread has said its last word; wait() only sees it off.
    if (FThread) {
        FThread->wait();
        FThread.reset();
    }
}

void TDownloadUpdatesDataModule::Stop()
{
    if (!FThread)
        return;
    WriteLog(QStringLiteral("Stop"));
    FThread->requestInterruption();
    FFtpClient.Abort();
    // The thread may be waiting for a report to run here: keep carrying out
    // queued calls until its end step has run.
    while (FThread)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    WriteLog(QStringLiteral("Stop END"));
}
