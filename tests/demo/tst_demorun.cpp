// A scripted run of the demo: its two servers started as demo/run starts
// them, a fresh demo workspace, one form sent through the demo mail server
// into the outbox, the demo's first update installed about five seconds
// after the start, and the second step's update found and kept for the
// restart.
#include "uDownloadTaskStore.h"
#include "uDownloadUpdatesDataModule.h"
#include "uExplorerFrame.h"
#include "uIniFile.h"
#include "uMainForm.h"
#include "uMessageDlg.h"
#include "uRecordingShell.h"
#include "uSendForm.h"
#include "uShared.h"
#include "uSmtpTestServer.h"
#include "uUpdateStatusDisplay.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

using enum TUpdateCheckStatus;

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");
const QString Demo = QStringLiteral(KELMIRA_SOURCE_DIR "/demo");

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestDemoRun : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QProcess FServers;
    int FMailPort = 0;
    int FUpdatePort = 0;

    QString DemoDir() const { return FDir.filePath(QStringLiteral("demo")); }

    // The servers as demo/run starts them, on free ports here.
    void StartServers()
    {
        FServers.start(Python, {Demo + QStringLiteral("/servers.py"), DemoDir(),
                                QStringLiteral("--mail-port"), QStringLiteral("0"),
                                QStringLiteral("--update-port"), QStringLiteral("0")});
        QVERIFY(FServers.waitForStarted());
        while (!FServers.canReadLine())
            QVERIFY2(FServers.waitForReadyRead(30000), FServers.readAllStandardError().constData());
        const QList<QByteArray> ready = FServers.readLine().trimmed().split(' ');
        QCOMPARE(ready.size(), 3);
        QCOMPARE(ready.first(), QByteArray("READY"));
        FMailPort = ready.at(1).toInt();
        FUpdatePort = ready.at(2).toInt();
    }

    QString MakeWorkspace()
    {
        QProcess make;
        make.start(Python, {Demo + QStringLiteral("/make_workspace.py"), DemoDir(),
                            QStringLiteral("--fresh"), QStringLiteral("--mail-port"),
                            QString::number(FMailPort), QStringLiteral("--update-port"),
                            QString::number(FUpdatePort)});
        const bool made = make.waitForFinished(60000) && make.exitCode() == 0;
        QTest::qVerify(made, "make_workspace.py", make.readAllStandardError().constData(), __FILE__,
                       __LINE__);
        return QString::fromLocal8Bit(make.readAllStandardOutput()).trimmed();
    }

    // Selects the entry of that path in the list shown now.
    static void Select(TExplorerFrame& frame, const QString& path)
    {
        const auto& entries = frame.Entries();
        const auto at = std::find_if(entries.begin(), entries.end(),
                                     [&](const auto& entry) { return entry.Path == path; });
        QVERIFY2(at != entries.end(), qPrintable(path));
        frame.SelectIndexes({int(at - entries.begin())});
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        for (const char* name : {"ftp_proxy", "FTP_PROXY", "all_proxy", "ALL_PROXY", "http_proxy",
                                 "HTTP_PROXY", "https_proxy", "HTTPS_PROXY"})
            qunsetenv(name);
        QVERIFY(QDir().mkpath(FDir.filePath(QStringLiteral("tmp"))));
        qputenv("TMPDIR", QFile::encodeName(FDir.filePath(QStringLiteral("tmp"))));
        MessageDlgScript::Reset(true);
    }

    void cleanupTestCase()
    {
        // Our end of its standard input closing stops the servers.
        FServers.closeWriteChannel();
        QVERIFY(FServers.waitForFinished(30000));
        QCOMPARE(FServers.exitCode(), 0);
        MessageDlgScript::Reset(false);
    }

    void sendAndUpdate()
    {
        StartServers();
        const QString ini = MakeWorkspace();
        QCOMPARE(ini, DemoDir() + QStringLiteral("/kelmira.ini"));
        const TRecordingShell shell;
        const QStringList params = {QStringLiteral("-i"), ini};
        auto engine = std::make_unique<TDownloadUpdatesDataModule>(DemoDir() +
                                                                   QStringLiteral("/kelmira.log"));
        engine->SetStore(std::make_shared<TDownloadTaskStore>(
            GetConfigFileNameWithSuffix(ini, QStringLiteral("_AI")),
            GetConfigFileNameWithSuffix(ini, QStringLiteral("_MI"))));
        // The instruction path names the program by its file name.
        engine->SetProcess(DemoDir() + QStringLiteral("/kelmira"), params);
        QVERIFY(!engine->ApplicationStartup());
        QList<TUpdateCheckStatus> reported;
        connect(engine.get(), &TDownloadUpdatesDataModule::OnStatusChange, this,
                [&] { reported.append(engine->Status()); });
        auto form = std::make_unique<TMainForm>(engine.get(), ini, params);
        form->show();

        // One form of those waiting in the Mi folder, sent to the Centre.
        const QString sent = DemoDir() + QStringLiteral("/Siusti/F01 Balansas 2026.xls");
        TExplorerFrame& frame = *form->ExplorerFrame();
        form->Button(btnSend)->click();
        Select(frame, sent);
        bool closed = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<TSendForm*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->cxButtonSend->click();
            closed = !dialog->isVisible();
            if (dialog->isVisible())
                dialog->close();
        });
        form->Button(btnSend)->click();
        QVERIFY(closed);
        const QStringList outbox = QDir(DemoDir() + QStringLiteral("/outbox"))
                                       .entryList({QStringLiteral("*.eml")}, QDir::Files);
        QCOMPARE(outbox.size(), 1);
        const QJsonObject message =
            TSmtpTestServer::Parse(DemoDir() + QStringLiteral("/outbox/") + outbox.first());
        QCOMPARE(message[QStringLiteral("to")].toString(),
                 QStringLiteral("centras@kelmira.invalid"));
        const QJsonArray attachments = message[QStringLiteral("attachments")].toArray();
        QCOMPARE(attachments.size(), 1);
        const QJsonObject attachment = attachments.first().toObject();
        QCOMPARE(attachment[QStringLiteral("filename")].toString(),
                 QStringLiteral("F01 Balansas 2026.xls"));
        QCOMPARE(
            QByteArray::fromBase64(attachment[QStringLiteral("content")].toString().toLatin1()),
            ReadFile(sent));

        // The first check installs the new template at once and moves the
        // workstation to version 1.1; the check after it finds nothing more.
        QTRY_VERIFY_WITH_TIMEOUT(reported.contains(Nothing), 60000);
        QCOMPARE(reported, (QList{UpdatesFound, Updated, Nothing}));
        QCOMPARE(ReadFile(DemoDir() + QStringLiteral("/Sablonai/F01 Balansas.xlt")),
                 ReadFile(Demo + QStringLiteral("/forms/forma-2027.xlt")));
        TIniFile ai(GetConfigFileNameWithSuffix(ini, QStringLiteral("_AI")));
        QCOMPARE(ai.ReadString(UpdatesSection, QStringLiteral("Versija"), {}),
                 QStringLiteral("1.1"));
        QVERIFY(MessageDlgScript::Asked().isEmpty());
        QTRY_VERIFY(!engine->IsDownloading());

        // The second step, then "&Atnaujinti": the update waits for the
        // restart, which would install it as here.
        QProcess publish;
        publish.start(Python, {Demo + QStringLiteral("/publish-restart-update"), DemoDir()});
        QVERIFY(publish.waitForFinished(60000));
        QVERIFY2(publish.exitCode() == 0, publish.readAllStandardError().constData());
        form->UpdateStatus()->CheckForUpdates(true);
        QTRY_COMPARE_WITH_TIMEOUT(reported.last(), UpdatesPending, 60000);
        QCOMPARE(ai.ReadString(UpdatesSection, QStringLiteral("Neinstaliuota"), {}),
                 QStringLiteral("INI-UPDATE.0,FILE-UPDATE.1,SET-VERSION.2"));
        QTRY_VERIFY(!engine->IsDownloading());
        QVERIFY(engine->InstallFiles());
        TIniFile mi(GetConfigFileNameWithSuffix(ini, QStringLiteral("_MI")));
        QCOMPARE(
            mi.ReadString(QStringLiteral("Button.Captions"), QStringLiteral("Help perziura"), {}),
            QStringLiteral("Nauja pagalba"));
        QVERIFY(ReadFile(DemoDir() + QStringLiteral("/versija.txt")).startsWith("1.2\r\n"));

        form->FormDestroy();
        form.reset();
        engine.reset();
    }
};

QTEST_MAIN(TestDemoRun)
#include "tst_demorun.moc"
