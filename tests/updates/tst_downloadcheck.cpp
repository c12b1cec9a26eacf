// Whole update checks against the FTP test server: the instruction chain,
// the task downloads, the install decision, the reports and Stop; and
// updates published with tools/kelmira-publish.
#include "uDownloadThread.h"
#include "uEngineFixture.h"
#include "uFtpTestServer.h"
#include "uRecordingShell.h"

#include <QDirIterator>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>

#include <sys/stat.h>

namespace {

const QByteArray OldForm = "old form\r\n";
const QByteArray NewForm = "new form, a few bytes longer\r\n";

// The lines of the GUI thread and the check thread interleave at "Start END";
// it is checked once and left out.
QStringList WithoutStartEnd(QStringList lines)
{
    QTest::qVerify(lines.removeAll(QStringLiteral("Start END")) == 1, "Start END", "", __FILE__,
                   __LINE__);
    return lines;
}

} // namespace

class TestDownloadCheck : public QObject
{
    Q_OBJECT

    std::unique_ptr<TEngineFixture> F;
    std::unique_ptr<TFtpTestServer> FServer;

    void StartServer(qint64 rate = 0)
    {
        TFtpTestServer::TOptions options;
        options.Root = F->FtpRoot();
        options.Rate = rate;
        FServer = std::make_unique<TFtpTestServer>(options);
        QVERIFY2(FServer->Error().isEmpty(), qPrintable(FServer->Error()));
        F->Ai().WriteString(UpdatesSection, QStringLiteral("Serveriai"), ServerEntry());
    }
    QString ServerEntry() const
    {
        return QStringLiteral("user:secret@127.0.0.1:%1").arg(FServer->Port());
    }
    QString TryServerLine() const
    {
        return QStringLiteral("  try server: user:secret@127.0.0.1:%1 (:0)").arg(FServer->Port());
    }
    // The AI servers come with the MI ones behind a ",", empty here; the
    // password is hidden.
    QString InitLine() const
    {
        return QStringLiteral("InitDownload Version=1.0 Client=47150926 Url=%1 "
                              "Hosts=user:***@127.0.0.1:%2, Proxy=")
            .arg(TEngineFixture::InstructionsPath())
            .arg(FServer->Port());
    }

    static void RunCheck(TDownloadUpdatesDataModule& engine)
    {
        engine.Start();
        QVERIFY(engine.IsDownloading());
        QTRY_VERIFY_WITH_TIMEOUT(!engine.IsDownloading(), 60000);
    }

    // A FILE-UPDATE line for a file of the workspace served as files/<name>.
    QString FileUpdateLine(const QString& name, const QByteArray& content) const
    {
        F->Serve(QStringLiteral("files/") + name, content);
        return QStringLiteral("FILE-UPDATE files/%1 %2 %3")
            .arg(name, TEngineFixture::Md5Of(content), F->Path(name));
    }

    QStringList TempFiles() const { return QDir(F->Tmp()).entryList(QDir::Files | QDir::Hidden); }

    // Runs the publishing tool into the served folder for version 1.0 of the
    // program "kelmira", the engine's default client; its printout.
    QString Publish(const QStringList& instructions,
                    const QString& version = QStringLiteral("1.0")) const
    {
        QProcess tool;
        tool.start(QStringLiteral("/usr/bin/python3"),
                   QStringList{QStringLiteral(KELMIRA_SOURCE_DIR "/tools/kelmira-publish"),
                               QStringLiteral("--server"), F->FtpRoot(),
                               QStringLiteral("--program-version"), version} +
                       instructions);
        const bool ended = tool.waitForFinished(60000);
        const QString output = QString::fromUtf8(tool.readAllStandardOutput());
        QTest::qVerify(ended && tool.exitCode() == 0, "kelmira-publish",
                       tool.readAllStandardError().constData(), __FILE__, __LINE__);
        return output;
    }

private slots:
    void initTestCase()
    {
        for (const char* name : {"ftp_proxy", "FTP_PROXY", "all_proxy", "ALL_PROXY", "http_proxy",
                                 "HTTP_PROXY", "https_proxy", "HTTPS_PROXY"})
            qunsetenv(name);
    }

    void init() { F = std::make_unique<TEngineFixture>(); }

    void cleanup()
    {
        FServer.reset();
        F.reset();
    }

    void noUpdates()
    {
        StartServer();
        F->Serve(TEngineFixture::InstructionsPath(), "# nothing today\r\nNO-UPDATES\r\n");
        auto engine = F->NewEngine();
        QSignalSpy reports(engine.get(), &TDownloadUpdatesDataModule::OnStatusChange);
        const QDateTime before = QDateTime::currentDateTime();
        RunCheck(*engine);

        QCOMPARE(engine->Status(), TUpdateCheckStatus::Nothing);
        QCOMPARE(reports.size(), 1);
        QVERIFY(engine->LastCheck() >= before.addMSecs(-before.time().msec()));
        QCOMPARE(F->Ai().ReadString(UpdatesSection, QStringLiteral("Tikrinta"), {}),
                 TimestampToStr(engine->LastCheck()));
        QCOMPARE(WithoutStartEnd(F->LogLines()),
                 (QStringList{"Start", InitLine(), "Thread.Execute START",
                              "Thread.Execute DownloadInstructionsFile", TryServerLine(),
                              "Thread.Execute DownloadInstructionsFile=0", "Thread.Execute END"}));
    }

    void firstServerFailsSecondAnswers()
    {
        StartServer();
        F->Serve(TEngineFixture::InstructionsPath(), "NO-UPDATES\r\n");
        const TRefusingPort refusing;
        const QString hosts =
            QStringLiteral("127.0.0.1:%1, %2").arg(refusing.Port()).arg(ServerEntry());
        F->Ai().WriteString(UpdatesSection, QStringLiteral("Serveriai"), hosts);
        auto engine = F->NewEngine();
        RunCheck(*engine);

        QCOMPARE(engine->Status(), TUpdateCheckStatus::Nothing);
        QCOMPARE(F->LogLines().filter(QStringLiteral("try server")), QStringList{TryServerLine()});
        QCOMPARE(engine->Servers().size(), size_t(2));
        QCOMPARE(engine->Servers().front().Port, FServer->Port());
        QCOMPARE(engine->Servers().back().Port, refusing.Port());
    }

    void noServerReachable()
    {
        const TRefusingPort first;
        const TRefusingPort second;
        F->Ai().WriteString(
            UpdatesSection, QStringLiteral("Serveriai"),
            QStringLiteral("127.0.0.1:%1,u:p@127.0.0.1:%2").arg(first.Port()).arg(second.Port()));
        F->Ai().WriteString(UpdatesSection, QStringLiteral("Tikrinta"),
                            QStringLiteral("20240102030405006"));
        auto engine = F->NewEngine();
        engine->ReadLastCheck();
        QVERIFY(engine->LastCheck().isValid());
        QSignalSpy reports(engine.get(), &TDownloadUpdatesDataModule::OnStatusChange);
        RunCheck(*engine);

        QCOMPARE(engine->Status(), TUpdateCheckStatus::Failed);
        QCOMPARE(reports.size(), 1);
        QVERIFY(!engine->LastCheck().isValid());
        // No server answered, so no password shows.
        QVERIFY(!TEngineFixture::ReadFile(F->LogFile()).contains("u:p@"));
        QCOMPARE(F->Ai().ReadString(UpdatesSection, QStringLiteral("Tikrinta"), {}),
                 QStringLiteral("18991230000000000"));
        const QStringList lines = F->LogLines();
        QVERIFY(lines.filter(QStringLiteral("try server")).isEmpty());
        QCOMPARE(
            lines.mid(lines.size() - 2),
            (QStringList{"Thread.Execute DownloadInstructionsFile=FAIL", "Thread.Execute END"}));
        // The zero date-time read back means "never".
        engine->ReadLastCheck();
        QVERIFY(!engine->LastCheck().isValid());
    }

    void redirectChainBackToTheFirstFile()
    {
        StartServer();
        F->Serve(TEngineFixture::InstructionsPath(),
                 "FILE-DELETE a.txt\r\nREDIRECT kita/b.txt\r\nFILE-DELETE not-read.txt\r\n");
        // Back to the first file, written in other letter case.
        F->Serve(QStringLiteral("kita/b.txt"),
                 "INI-DELETE Sekcija\r\nREDIRECT PUBLIC_HTML/Kelmira/1.0/47150926/update.txt\r\n");
        auto engine = F->NewEngine();
        RunCheck(*engine);

        const QStringList lines = F->LogLines();
        QCOMPARE(lines.filter(QStringLiteral("Rekursinis")),
                 QStringList{"Rekursinis kreipinys į PUBLIC_HTML/Kelmira/1.0/47150926/update.txt"});
        QCOMPARE(lines.filter(QStringLiteral("try server")).size(), 2);
        QVERIFY(lines.contains(QStringLiteral("Thread.Execute DownloadInstructionsFile=2")));
        QCOMPARE(engine->Tasks().size(), size_t(2));
        QCOMPARE(engine->Tasks()[0].Line, QStringLiteral("FILE-DELETE a.txt"));
        QCOMPARE(engine->Tasks()[1].Line, QStringLiteral("INI-DELETE Sekcija"));
        // A configuration task waits for the next start.
        QCOMPARE(engine->Status(), TUpdateCheckStatus::UpdatesPending);
    }

    void dataFileInstalledAtOnce()
    {
        StartServer();
        TEngineFixture::WriteFile(F->Path(QStringLiteral("forma.xls")), OldForm);
        F->Serve(TEngineFixture::InstructionsPath(),
                 FileUpdateLine(QStringLiteral("forma.xls"), NewForm).toUtf8() + "\r\n");
        auto engine = F->NewEngine();
        QList<TUpdateCheckStatus> reported;
        connect(engine.get(), &TDownloadUpdatesDataModule::OnStatusChange, this,
                [&] { reported.append(engine->Status()); });
        RunCheck(*engine);

        QCOMPARE(reported, (QList{TUpdateCheckStatus::UpdatesFound, TUpdateCheckStatus::Updated}));
        QCOMPARE(TEngineFixture::ReadFile(F->Path(QStringLiteral("forma.xls"))), NewForm);
        QVERIFY(engine->Tasks().empty());
        QVERIFY(!F->Ai().ValueExists(UpdatesSection, QStringLiteral("Neinstaliuota")));
        // The download and the backup are gone with the task.
        QCOMPARE(TempFiles(), QStringList());
        const QStringList lines = F->LogLines();
        QCOMPARE(
            lines.mid(lines.indexOf(QStringLiteral("Thread.Execute DownloadInstructionsFile=1"))),
            (QStringList{"Thread.Execute DownloadInstructionsFile=1",
                         "Thread.Execute Tasks[0/TDownloadTaskFileUpdate].Download=OK",
                         "Thread.Execute CanInstall=True",
                         "  Tasks_InstallFiles[0/TDownloadTaskFileUpdate]=OK",
                         "Thread.Execute Installed=True", "Thread.Execute CleanSaved",
                         "Thread.Execute END"}));
    }

    void digestMismatchInstallsNothing()
    {
        StartServer();
        TEngineFixture::WriteFile(F->Path(QStringLiteral("forma.xls")), OldForm);
        QString line = FileUpdateLine(QStringLiteral("forma.xls"), NewForm);
        line.replace(TEngineFixture::Md5Of(NewForm), TEngineFixture::Md5Of(NewForm).toLower());
        F->Serve(TEngineFixture::InstructionsPath(), line.toUtf8() + "\r\n");
        auto engine = F->NewEngine();
        QSignalSpy reports(engine.get(), &TDownloadUpdatesDataModule::OnStatusChange);
        RunCheck(*engine);

        QCOMPARE(engine->Status(), TUpdateCheckStatus::UpdatesFound);
        QCOMPARE(reports.size(), 1);
        QCOMPARE(TEngineFixture::ReadFile(F->Path(QStringLiteral("forma.xls"))), OldForm);
        QVERIFY(!F->Ai().ValueExists(UpdatesSection, QStringLiteral("Neinstaliuota")));
        const QStringList lines = F->LogLines();
        QCOMPARE(lines.last(),
                 QStringLiteral("Thread.Execute Tasks[0/TDownloadTaskFileUpdate].Download=FAIL"));
    }

    // A file whose content does not match its digest (changed on the server
    // after the instruction file was written, or by someone on the way) is
    // never installed or started, and nothing is kept for a later start.
    void mismatchingDownloadInstallsAndRunsNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("FILE-UPDATE") << "FILE-UPDATE";
        QTest::newRow("RUN") << "RUN";
    }

    void mismatchingDownloadInstallsAndRunsNothing()
    {
        QFETCH(QString, command);
        TRecordingShell shell;
        StartServer();
        TEngineFixture::WriteFile(F->Path(QStringLiteral("forma.xls")), OldForm);
        QString line = FileUpdateLine(QStringLiteral("forma.xls"), NewForm);
        if (command == QLatin1String("RUN"))
            line = line.section(u' ', 0, 2).replace(QStringLiteral("FILE-UPDATE"), command);
        F->Serve(QStringLiteral("files/forma.xls"), NewForm + "changed");
        F->Serve(TEngineFixture::InstructionsPath(), line.toUtf8() + "\r\n");
        auto engine = F->NewEngine();
        RunCheck(*engine);

        QCOMPARE(TEngineFixture::ReadFile(F->Path(QStringLiteral("forma.xls"))), OldForm);
        QCOMPARE(shell.Calls.size(), 0);
        QVERIFY(!F->Ai().ValueExists(UpdatesSection, QStringLiteral("Neinstaliuota")));
        QVERIFY(F->LogLines().filter(QStringLiteral("Tasks_InstallFiles")).isEmpty());
        QVERIFY(F->LogLines().last().endsWith(QStringLiteral("].Download=FAIL")));
    }

    void configurationUpdateSavedAsPending()
    {
        StartServer();
        TEngineFixture::WriteFile(F->Path(QStringLiteral("forma.xls")), OldForm);
        const QString iniLine = QStringLiteral("INI-UPDATE [MI]Nustatymai Kontrole \"nauja.xlt\"");
        const QString fileLine = FileUpdateLine(QStringLiteral("forma.xls"), NewForm);
        F->Serve(TEngineFixture::InstructionsPath(),
                 (iniLine + QStringLiteral("\r\n") + fileLine + QStringLiteral("\r\n")).toUtf8());
        F->Mi().WriteString(QStringLiteral("Nustatymai"), QStringLiteral("Kontrole"),
                            QStringLiteral("sena.xlt"));
        auto engine = F->NewEngine();
        RunCheck(*engine);

        QCOMPARE(engine->Status(), TUpdateCheckStatus::UpdatesPending);
        const QStringList lines = F->LogLines();
        QCOMPARE(lines.mid(lines.size() - 3),
                 (QStringList{"Thread.Execute CanInstall=False", "Thread.Execute SaveDelayed",
                              "Thread.Execute END"}));
        const auto* file =
            dynamic_cast<const TDownloadTaskFileUpdate*>(engine->Tasks()[1].Task.get());
        QVERIFY(file);
        QCOMPARE(F->Ai().ReadSectionValues(UpdatesSection),
                 (QStringList{"Log=T", "Versija=1.0", "Serveriai=" + ServerEntry(),
                              "Tikrinta=" + TimestampToStr(engine->LastCheck()),
                              "INI-UPDATE.0=" + iniLine, "FILE-UPDATE.1=" + fileLine,
                              "Neinstaliuota=INI-UPDATE.0,FILE-UPDATE.1"}));
        QCOMPARE(F->Ai().ReadSectionValues(QStringLiteral("INI-UPDATE.0")),
                 (QStringList{"Command=INI-UPDATE", "Section=[MI]Nustatymai", "Key=Kontrole",
                              "Value=nauja.xlt"}));
        QCOMPARE(
            F->Ai().ReadSectionValues(QStringLiteral("FILE-UPDATE.1")),
            (QStringList{"Command=FILE-UPDATE", "Url=files/forma.xls",
                         "Md5=" + TEngineFixture::Md5Of(NewForm), "TempFile=" + file->TempFile(),
                         "File=" + F->Path(QStringLiteral("forma.xls"))}));
        // Nothing is installed yet, and the downloaded file stays for the
        // next start.
        QCOMPARE(F->Mi().ReadString(QStringLiteral("Nustatymai"), QStringLiteral("Kontrole"), {}),
                 QStringLiteral("sena.xlt"));
        QCOMPARE(TEngineFixture::ReadFile(F->Path(QStringLiteral("forma.xls"))), OldForm);
        const QString downloaded = file->TempFile();
        engine.reset();
        QCOMPARE(TEngineFixture::ReadFile(downloaded), NewForm);
    }

    void installFailingAtTheSecondTaskRollsBack()
    {
        StartServer();
        TEngineFixture::WriteFile(F->Path(QStringLiteral("a.xls")), OldForm);
        TEngineFixture::WriteFile(F->Path(QStringLiteral("c.xls")), OldForm);
        QVERIFY(QFile::setPermissions(F->Path(QStringLiteral("a.xls")),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ReadGroup));
        const QString lines = FileUpdateLine(QStringLiteral("a.xls"), NewForm) +
                              QStringLiteral("\r\nFILE-DELETE %1\r\n").arg(F->Path("missing.txt")) +
                              FileUpdateLine(QStringLiteral("c.xls"), NewForm) +
                              QStringLiteral("\r\n");
        F->Serve(TEngineFixture::InstructionsPath(), lines.toUtf8());
        auto engine = F->NewEngine();
        QList<TUpdateCheckStatus> reported;
        connect(engine.get(), &TDownloadUpdatesDataModule::OnStatusChange, this,
                [&] { reported.append(engine->Status()); });
        RunCheck(*engine);

        QCOMPARE(reported,
                 (QList{TUpdateCheckStatus::UpdatesFound, TUpdateCheckStatus::UpdatesPending}));
        QCOMPARE(TEngineFixture::ReadFile(F->Path(QStringLiteral("a.xls"))), OldForm);
        QCOMPARE(QFile::permissions(F->Path(QStringLiteral("a.xls"))),
                 QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::WriteOwner |
                     QFileDevice::WriteUser | QFileDevice::ReadGroup);
        QCOMPARE(TEngineFixture::ReadFile(F->Path(QStringLiteral("c.xls"))), OldForm);
        QVERIFY(!QFile::exists(F->Path(QStringLiteral("missing.txt"))));
        const QStringList log = F->LogLines();
        QCOMPARE(log.mid(log.indexOf(QStringLiteral("Thread.Execute CanInstall=True"))),
                 (QStringList{"Thread.Execute CanInstall=True",
                              "  Tasks_InstallFiles[0/TDownloadTaskFileUpdate]=OK",
                              "  Tasks_InstallFiles[1/TDownloadTaskFileDelete]=FAIL",
                              "Thread.Execute Installed=False", "Thread.Execute SaveDelayed",
                              "Thread.Execute END"}));
        QCOMPARE(F->Ai().ReadString(UpdatesSection, QStringLiteral("Neinstaliuota"), {}),
                 QStringLiteral("FILE-UPDATE.0,FILE-DELETE.1,FILE-UPDATE.2"));
    }

    void stopAbortsAThrottledTransfer()
    {
        StartServer(16 * 1024);
        TEngineFixture::WriteFile(F->Path(QStringLiteral("big.bin")), "old");
        F->Serve(TEngineFixture::InstructionsPath(),
                 FileUpdateLine(QStringLiteral("big.bin"), QByteArray(8 << 20, 'x')).toUtf8());
        auto engine = F->NewEngine();
        QSignalSpy reports(engine.get(), &TDownloadUpdatesDataModule::OnStatusChange);
        engine->Start();
        QVERIFY(reports.wait(30000));
        // The task's file is arriving, at a rate that would take minutes.
        QTRY_VERIFY_WITH_TIMEOUT(!TempFiles().isEmpty() &&
                                     QFileInfo(F->Tmp() + u'/' + TempFiles().first()).size() > 0,
                                 30000);
        engine->Stop();

        QVERIFY(!engine->IsDownloading());
        QCOMPARE(engine->Status(), TUpdateCheckStatus::UpdatesFound);
        QCOMPARE(reports.size(), 1);
        const QStringList lines = F->LogLines();
        QCOMPARE(
            lines.mid(lines.size() - 3),
            (QStringList{"Stop", "Thread.Execute Tasks[0/TDownloadTaskFileUpdate].Download=FAIL",
                         "Stop END"}));
        QCOMPARE(TEngineFixture::ReadFile(F->Path(QStringLiteral("big.bin"))), QByteArray("old"));
    }

    void stopWhileTheThreadWaitsForItsReport()
    {
        StartServer();
        F->Serve(TEngineFixture::InstructionsPath(),
                 "INI-UPDATE Nustatymai Kontrole nauja.xlt\r\n");
        auto engine = F->NewEngine();
        QList<TUpdateCheckStatus> reported;
        connect(engine.get(), &TDownloadUpdatesDataModule::OnStatusChange, this,
                [&] { reported.append(engine->Status()); });
        engine->Start();
        // No event is processed here, so the thread, once it has the
        // instructions, can only wait for its report.
        for (QDeadlineTimer deadline(30000);
             !F->LogLines().contains(QStringLiteral("Thread.Execute DownloadInstructionsFile=1"));
             QThread::yieldCurrentThread())
            QVERIFY(!deadline.hasExpired());
        engine->Stop();

        QVERIFY(!engine->IsDownloading());
        QCOMPARE(reported,
                 (QList{TUpdateCheckStatus::UpdatesFound, TUpdateCheckStatus::UpdatesPending}));
        const QStringList lines = F->LogLines();
        QCOMPARE(lines.mid(lines.indexOf(QStringLiteral("Stop"))),
                 (QStringList{"Stop", "Thread.Execute CanInstall=False",
                              "Thread.Execute SaveDelayed", "Thread.Execute END", "Stop END"}));
    }

    void startTwiceLogsOnlyStart()
    {
        StartServer();
        F->Serve(TEngineFixture::InstructionsPath(), "NO-UPDATES\r\n");
        auto engine = F->NewEngine();
        engine->Start();
        engine->Start();
        QTRY_VERIFY_WITH_TIMEOUT(!engine->IsDownloading(), 30000);
        const QStringList lines = F->LogLines();
        QStringList startLines;
        for (const QString& line : lines)
            if (!line.startsWith(QStringLiteral("Thread.")) && !line.startsWith(u' '))
                startLines.append(line);
        QCOMPARE(startLines, (QStringList{"Start", InitLine(), "Start END", "Start"}));
        QCOMPARE(lines.count(QStringLiteral("Thread.Execute START")), 1);
        QCOMPARE(lines.count(QStringLiteral("Start END")), 1);
        engine->Stop();
        QCOMPARE(F->LogLines().size(), lines.size());
    }

    void checksSwitchedOff()
    {
        F->Mi().WriteString(UpdatesSection, QStringLiteral("Tikrinti"), QStringLiteral("N"));
        auto engine = F->NewEngine();
        engine->Start();
        QVERIFY(!engine->IsDownloading());
        QCOMPARE(engine->Status(), TUpdateCheckStatus::Disabled);
        QCOMPARE(F->LogLines(),
                 (QStringList{"Start", "InitDownload Tikrinti = False", "Start END"}));
    }

    void withoutStoreStartRaises()
    {
        TDownloadUpdatesDataModule engine(F->LogFile());
        QVERIFY_THROWS_EXCEPTION(EAppError, engine.Start());
        QVERIFY(!engine.IsDownloading());
    }

    void pendingFileWhoseDownloadIsGoneIsFetchedAgain()
    {
        // Saved at an earlier run; its downloaded file has been deleted since.
        StartServer();
        TEngineFixture::WriteFile(F->Path(QStringLiteral("forma.xls")), OldForm);
        const QString line = FileUpdateLine(QStringLiteral("forma.xls"), NewForm);
        F->Ai().WriteString(UpdatesSection, QStringLiteral("FILE-UPDATE.0"), line);
        F->Ai().WriteString(UpdatesSection, QStringLiteral("Neinstaliuota"),
                            QStringLiteral("FILE-UPDATE.0"));
        const QStringList record{"Command=FILE-UPDATE", "Url=files/forma.xls",
                                 "Md5=" + TEngineFixture::Md5Of(NewForm),
                                 "TempFile=" + F->Tmp() + QStringLiteral("/gone.xls"),
                                 "File=" + F->Path(QStringLiteral("forma.xls"))};
        for (const QString& pair : record)
            F->Ai().WriteString(QStringLiteral("FILE-UPDATE.0"), pair.section(u'=', 0, 0),
                                pair.section(u'=', 1));

        auto engine = F->NewEngine();
        QVERIFY(!engine->ApplicationStartup());
        QCOMPARE(engine->Tasks().size(), size_t(1));
        QList<TUpdateCheckStatus> reported;
        connect(engine.get(), &TDownloadUpdatesDataModule::OnStatusChange, this,
                [&] { reported.append(engine->Status()); });
        RunCheck(*engine);

        // No instruction file is fetched: the file comes from the server that
        // stands first.
        QCOMPARE(reported, (QList{TUpdateCheckStatus::UpdatesFound, TUpdateCheckStatus::Updated}));
        QCOMPARE(TEngineFixture::ReadFile(F->Path(QStringLiteral("forma.xls"))), NewForm);
        const QStringList lines = F->LogLines();
        QVERIFY(lines.filter(QStringLiteral("DownloadInstructionsFile")).isEmpty());
        QCOMPARE(lines.mid(lines.indexOf(QStringLiteral("ApplicationStartup")), 5),
                 (QStringList{"ApplicationStartup", "ApplicationStartup ReadDelayed=1",
                              "ApplicationStartup IsReadyToInstall=False",
                              "ApplicationStartup DelayedUpdatesInstallMode=False",
                              "ApplicationStartup END=0"}));
        QVERIFY(!F->Ai().ValueExists(UpdatesSection, QStringLiteral("Neinstaliuota")));
        QVERIFY(!F->Ai().SectionExists(QStringLiteral("FILE-UPDATE.0")));
        QVERIFY(!F->Ai().ValueExists(UpdatesSection, QStringLiteral("FILE-UPDATE.0")));
    }

    // Targets with blanks and Lithuanian letters, a value with blanks: the
    // tool's quoting, code page and digests are what the engine reads.
    void publishedUpdateInstalled()
    {
        StartServer();
        const QString form = F->Path(QStringLiteral("Šablonai/F01 Pinigų srautai.xlt"));
        const QString plan = F->Path(QStringLiteral("planas.xls"));
        TEngineFixture::WriteFile(form, OldForm);
        TEngineFixture::WriteFile(plan, OldForm);
        // Two sources of one name go to the server side by side.
        TEngineFixture::WriteFile(F->Path(QStringLiteral("a/naujas.xlt")), NewForm);
        TEngineFixture::WriteFile(F->Path(QStringLiteral("b/naujas.xlt")), "plan\r\n");
        Publish({QStringLiteral("--file"), F->Path(QStringLiteral("a/naujas.xlt")), form,
                 QStringLiteral("--file"), F->Path(QStringLiteral("b/naujas.xlt")), plan,
                 QStringLiteral("--set-version"), QStringLiteral("1.1")});
        auto engine = F->NewEngine();
        RunCheck(*engine);

        QCOMPARE(engine->Status(), TUpdateCheckStatus::Updated);
        QCOMPARE(TEngineFixture::ReadFile(form), NewForm);
        QCOMPARE(TEngineFixture::ReadFile(plan), QByteArray("plan\r\n"));
        QCOMPARE(F->Ai().ReadString(UpdatesSection, QStringLiteral("Versija"), {}),
                 QStringLiteral("1.1"));

        // The next publication, for the version the workstation now checks.
        const QString printed =
            Publish({QStringLiteral("--ini"), QStringLiteral("[MI]Button.Captions"),
                     QStringLiteral("Help perziura"), QStringLiteral("Nauja pagalba"),
                     QStringLiteral("--ini-delete"), QStringLiteral("Sena sekcija")},
                    QStringLiteral("1.1"));
        QVERIFY2(printed.contains(QStringLiteral(
                     "INI-UPDATE [MI]Button.Captions \"Help perziura\" \"Nauja pagalba\"")),
                 qPrintable(printed));
        F->Ai().WriteString(QStringLiteral("Sena sekcija"), QStringLiteral("a"),
                            QStringLiteral("1"));
        engine = F->NewEngine();
        RunCheck(*engine);
        QCOMPARE(engine->Status(), TUpdateCheckStatus::UpdatesPending);
        QVERIFY(engine->InstallFiles());
        QCOMPARE(F->Mi().ReadString(QStringLiteral("Button.Captions"),
                                    QStringLiteral("Help perziura"), {}),
                 QStringLiteral("Nauja pagalba"));
        QVERIFY(!F->Ai().SectionExists(QStringLiteral("Sena sekcija")));
    }

    // What an instruction file cannot say is refused, and nothing is written.
    void publishingRefusesWhatCannotBeWritten_data()
    {
        QTest::addColumn<QStringList>("instructions");
        QTest::newRow("double quote") << QStringList{"--ini", "S", "K", "a\"b"};
        QTest::newRow("empty value") << QStringList{"--ini", "S", "K", ""};
        QTest::newRow("line break") << QStringList{"--delete", "a\nb"};
        QTest::newRow("no code") << QStringList{"--delete", "ж.xls"};
        QTest::newRow("missing file") << QStringList{"--file", "/nonexistent/a.xls", "a.xls"};
        QTest::newRow("nothing") << QStringList{};
    }

    void publishingRefusesWhatCannotBeWritten()
    {
        QFETCH(QStringList, instructions);
        QProcess tool;
        tool.start(QStringLiteral("/usr/bin/python3"),
                   QStringList{QStringLiteral(KELMIRA_SOURCE_DIR "/tools/kelmira-publish"),
                               QStringLiteral("--server"), F->FtpRoot(),
                               QStringLiteral("--program-version"), QStringLiteral("1.0")} +
                       instructions);
        QVERIFY(tool.waitForFinished(60000));
        QVERIFY(tool.exitCode() != 0);
        QVERIFY(tool.readAllStandardError().contains("kelmira-publish: "));
        QVERIFY(QDir(F->FtpRoot()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDownloadCheck)
#include "tst_downloadcheck.moc"
