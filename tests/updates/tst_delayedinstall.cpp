// The start-up step with pending updates, in this process: the desktop shell
// records the programs it would start.
#include "uDelayedInstall.h"
#include "uEngineFixture.h"
#include "uRecordingShell.h"

#include <sys/stat.h>

namespace {

const QByteArray Program = "\x7f"
                           "ELF the program";
const QByteArray OldForm = "old form\r\n";
const QByteArray NewForm = "new form\r\n";

int ModeOf(const QString& path)
{
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return -1;
    return static_cast<int>(status.st_mode & 07777);
}

} // namespace

class TestDelayedInstall : public QObject
{
    Q_OBJECT

    std::unique_ptr<TEngineFixture> F;
    std::unique_ptr<TRecordingShell> FShell;

    // A pending record as a check saves it: the line under its name, its
    // section, and the name added to "Neinstaliuota".
    void AddPending(const QString& name, const QString& line, const QStringList& keys)
    {
        TIniFile& ai = F->Ai();
        ai.WriteString(UpdatesSection, name, line);
        for (const QString& pair : keys)
            ai.WriteString(name, pair.section(u'=', 0, 0), pair.section(u'=', 1));
        QString names = ai.ReadString(UpdatesSection, QStringLiteral("Neinstaliuota"), {});
        ai.WriteString(UpdatesSection, QStringLiteral("Neinstaliuota"),
                       names.isEmpty() ? name : names + u',' + name);
    }
    void AddPendingIniUpdate(const QString& name)
    {
        AddPending(
            name, QStringLiteral("INI-UPDATE [MI]Nustatymai Kontrole nauja.xlt"),
            {"Command=INI-UPDATE", "Section=[MI]Nustatymai", "Key=Kontrole", "Value=nauja.xlt"});
    }
    // A FILE-UPDATE of a workspace file whose download is in the temporary
    // folder.
    void AddPendingFileUpdate(const QString& name, const QString& file)
    {
        const QString temp = F->Tmp() + u'/' + name + QStringLiteral(".xls");
        TEngineFixture::WriteFile(temp, NewForm);
        const QString md5 = TEngineFixture::Md5Of(NewForm);
        AddPending(name, QStringLiteral("FILE-UPDATE files/f.xls %1 %2").arg(md5, file),
                   {"Command=FILE-UPDATE", "Url=files/f.xls", "Md5=" + md5, "TempFile=" + temp,
                    "File=" + file});
    }

    QStringList StartupLines() const
    {
        const QStringList lines = F->LogLines();
        return lines.mid(lines.indexOf(QStringLiteral("ApplicationStartup")));
    }

private slots:
    void init()
    {
        F = std::make_unique<TEngineFixture>();
        FShell = std::make_unique<TRecordingShell>();
        TEngineFixture::WriteFile(F->ExePath(), Program);
        QVERIFY(QFile::setPermissions(F->ExePath(), QFileDevice::ReadOwner |
                                                        QFileDevice::WriteOwner |
                                                        QFileDevice::ExeOwner));
    }

    void cleanup()
    {
        FShell.reset();
        F.reset();
    }

    void nothingPending()
    {
        auto engine = F->NewEngine();
        QVERIFY(!engine->ApplicationStartup());
        QCOMPARE(F->LogLines(),
                 (QStringList{"ApplicationStartup", "ApplicationStartup ReadDelayed=0",
                              "ApplicationStartup IsReadyToInstall=False",
                              "ApplicationStartup DelayedUpdatesInstallMode=False",
                              "ApplicationStartup END=0"}));
        QVERIFY(FShell->Calls.isEmpty());
    }

    void pendingConfigurationStartsTheInstallingCopy_data()
    {
        QTest::addColumn<QStringList>("params");
        QTest::addColumn<QString>("passedOn"); // what follows the executable's path

        QTest::newRow("configuration beside the executable")
            << QStringList{} << QStringLiteral(" -i \"%1\"");
        QTest::newRow("configuration named with /i, a blank in its path")
            << QStringList{"/i", "/x y/k.ini", "kitas"}
            << QStringLiteral("/i \"/x y/k.ini\" kitas ");
    }

    void pendingConfigurationStartsTheInstallingCopy()
    {
        QFETCH(QStringList, params);
        QFETCH(QString, passedOn);
        AddPendingIniUpdate(QStringLiteral("INI-UPDATE.0"));
        auto engine = F->NewEngine(params);
        QVERIFY(engine->ApplicationStartup());

        QCOMPARE(FShell->Calls.size(), 1);
        const TRecordingShell::TCall call = FShell->Calls.first();
        const QString expectedParams =
            QStringLiteral("/INSTALL_DELAYED_UPDATES \"%1\" ").arg(F->ExePath()) +
            passedOn.arg(F->Path(QStringLiteral("Kelmira.ini")));
        QCOMPARE(call.Params, expectedParams);
        QCOMPARE(call.Verb, QStringLiteral("open"));
        QVERIFY(call.Hidden);
        QCOMPARE(call.Directory, QDir::currentPath());
        // The copy: in a private folder beside the executable, runnable by us
        // alone.
        const QString folder = F->Path(QStringLiteral(".kelmira-install"));
        QCOMPARE(QFileInfo(call.File).path(), folder);
        QCOMPARE(ModeOf(folder), 0700);
        QCOMPARE(ModeOf(call.File), 0700);
        QCOMPARE(TEngineFixture::ReadFile(call.File), Program);
        QCOMPARE(StartupLines(),
                 (QStringList{
                     "ApplicationStartup", "ApplicationStartup ReadDelayed=1",
                     "ApplicationStartup IsReadyToInstall=True",
                     "ApplicationStartup DelayedUpdatesInstallMode=False",
                     "ApplicationStartup NeedsRestart=True",
                     QStringLiteral("  ShellExecute [%1] [%2] = 42").arg(call.File, expectedParams),
                     "ApplicationStartup END=1"}));
        QCOMPARE(F->Ai().ReadInteger(UpdatesSection, QStringLiteral("Bandyta instaliuoti"), 0), 1);
    }

    void installingCopyFailing_data()
    {
        QTest::addColumn<QString>("planted");
        QTest::newRow("a file in the private folder's place") << "file";
        // Someone else's folder behind a link must not receive the program.
        QTest::newRow("a link in the private folder's place") << "link";
        QTest::newRow("the copy cannot be started") << "";
    }

    // The program starts normally with the updates still pending, rather than
    // ending without a window at every start.
    void installingCopyFailing()
    {
        QFETCH(QString, planted);
        const bool copyFails = !planted.isEmpty();
        AddPendingIniUpdate(QStringLiteral("INI-UPDATE.0"));
        const QString folder = F->Path(QStringLiteral(".kelmira-install"));
        const QString elsewhere = F->Path(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkpath(elsewhere));
        if (planted == QLatin1String("file"))
            TEngineFixture::WriteFile(folder, "a file where the folder belongs");
        else if (planted == QLatin1String("link"))
            QVERIFY(QFile::link(elsewhere, folder));
        FShell->Result = 2;
        auto engine = F->NewEngine();
        QVERIFY(!engine->ApplicationStartup());

        QCOMPARE(engine->Tasks().size(), size_t(1));
        QCOMPARE(F->Ai().ReadString(UpdatesSection, QStringLiteral("Neinstaliuota"), {}),
                 QStringLiteral("INI-UPDATE.0"));
        const QStringList lines = StartupLines();
        QCOMPARE(lines.at(4), QStringLiteral("ApplicationStartup NeedsRestart=True"));
        QCOMPARE(lines.last(), QStringLiteral("ApplicationStartup END=0"));
        QCOMPARE(lines.size(), 7);
        if (copyFails) {
            QVERIFY(FShell->Calls.isEmpty());
            QVERIFY2(lines.at(5).startsWith(QStringLiteral("  CopyFile [%1] [").arg(F->ExePath())),
                     qPrintable(lines.at(5)));
            QVERIFY(lines.at(5).endsWith(QStringLiteral("] = False")));
            QCOMPARE(QDir(elsewhere).entryList(QDir::Files | QDir::Hidden), QStringList());
        } else {
            QCOMPARE(FShell->Calls.size(), 1);
            QVERIFY(lines.at(5).endsWith(QStringLiteral("] = 2")));
            // A copy that never ran does not stay behind.
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
        }
    }

    void repeatedInstallationIsNotForced_data()
    {
        QTest::addColumn<QStringList>("params");
        QTest::addColumn<int>("attempts");
        QTest::newRow("started again by the installing copy")
            << QStringList{"/REMOVE_TEMP_EXE", "/nowhere/copy"} << 1;
        QTest::newRow("attempts used up") << QStringList{} << 3;
    }

    void repeatedInstallationIsNotForced()
    {
        QFETCH(QStringList, params);
        QFETCH(int, attempts);
        AddPendingIniUpdate(QStringLiteral("INI-UPDATE.0"));
        F->Ai().WriteInteger(UpdatesSection, QStringLiteral("Bandyta instaliuoti"), attempts);
        auto engine = F->NewEngine(params);
        QVERIFY(!engine->ApplicationStartup());

        QVERIFY(FShell->Calls.isEmpty());
        const QStringList lines = StartupLines();
        QCOMPARE(lines.mid(lines.size() - 3),
                 (QStringList{"ApplicationStartup NeedsRestart=True",
                              QStringLiteral("ApplicationStartup InstallSkipped=%1").arg(attempts),
                              "ApplicationStartup END=0"}));
        QCOMPARE(F->Ai().ReadInteger(UpdatesSection, QStringLiteral("Bandyta instaliuoti"), 0),
                 attempts);
    }

    void failedInstallationInTheCopyRollsBack()
    {
        const QString form = F->Path(QStringLiteral("a.xls"));
        const QString untouched = F->Path(QStringLiteral("c.xls"));
        TEngineFixture::WriteFile(form, OldForm);
        TEngineFixture::WriteFile(untouched, OldForm);
        AddPendingFileUpdate(QStringLiteral("FILE-UPDATE.0"), form);
        AddPending(QStringLiteral("FILE-DELETE.1"),
                   QStringLiteral("FILE-DELETE %1").arg(F->Path(QStringLiteral("missing.txt"))),
                   {"Command=FILE-DELETE", "File=" + F->Path(QStringLiteral("missing.txt"))});
        AddPendingFileUpdate(QStringLiteral("FILE-UPDATE.2"), untouched);
        const QByteArray aiBefore = TEngineFixture::ReadFile(F->Ai().FileName());
        const QString mainExe = F->Path(QStringLiteral("main/Kelmira"));
        auto engine = F->NewEngine({"/INSTALL_DELAYED_UPDATES", mainExe, "-i", "/x y/k.ini"});
        QVERIFY(engine->ApplicationStartup());

        QCOMPARE(TEngineFixture::ReadFile(form), OldForm);
        QCOMPARE(TEngineFixture::ReadFile(untouched), OldForm);
        QCOMPARE(TEngineFixture::ReadFile(F->Ai().FileName()), aiBefore);
        QCOMPARE(FShell->Calls.size(), 1);
        const QString params =
            QStringLiteral("/REMOVE_TEMP_EXE \"%1\" -i \"/x y/k.ini\"").arg(F->ExePath());
        QCOMPARE(FShell->Calls.first().File, mainExe);
        QCOMPARE(FShell->Calls.first().Params, params);
        QVERIFY(!FShell->Calls.first().Hidden);
        QCOMPARE(StartupLines(),
                 (QStringList{"ApplicationStartup", "ApplicationStartup ReadDelayed=3",
                              "ApplicationStartup IsReadyToInstall=True",
                              "ApplicationStartup DelayedUpdatesInstallMode=True",
                              "  Tasks_InstallFiles[0/TDownloadTaskFileUpdate]=OK",
                              "  Tasks_InstallFiles[1/TDownloadTaskFileDelete]=FAIL",
                              "ApplicationStartup InstallFiles=False",
                              QStringLiteral("  ShellExecute [%1] [%2] = 42").arg(mainExe, params),
                              "ApplicationStartup END=1"}));
        // The downloads stay for the next attempt.
        engine.reset();
        QCOMPARE(TEngineFixture::ReadFile(F->Tmp() + QStringLiteral("/FILE-UPDATE.0.xls")),
                 NewForm);
    }

    void notReadyInTheCopyStartsTheProgramAgain()
    {
        AddPendingFileUpdate(QStringLiteral("FILE-UPDATE.0"), F->Path(QStringLiteral("a.xls")));
        QVERIFY(QFile::remove(F->Tmp() + QStringLiteral("/FILE-UPDATE.0.xls")));
        auto engine = F->NewEngine({"/INSTALL_DELAYED_UPDATES", F->Path(QStringLiteral("main"))});
        QVERIFY(engine->ApplicationStartup());
        QCOMPARE(FShell->Calls.size(), 1);
        QCOMPARE(FShell->Calls.first().Params,
                 QStringLiteral("/REMOVE_TEMP_EXE \"%1\" ").arg(F->ExePath()));
        QCOMPARE(StartupLines().mid(2, 2),
                 (QStringList{"ApplicationStartup IsReadyToInstall=False",
                              "ApplicationStartup DelayedUpdatesInstallMode=True"}));
    }

    void removeTempExe_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("the installing copy")
            << QStringLiteral(".kelmira-install/Kelmira-abc") << true;
        QTest::newRow("any other file stays") << QStringLiteral("forma.xls") << false;
    }

    void removeTempExe()
    {
        QFETCH(QString, relativePath);
        QFETCH(bool, deleted);
        const QString path = F->Path(relativePath);
        TEngineFixture::WriteFile(path, Program);
        auto engine =
            F->NewEngine({"-i", F->Path(QStringLiteral("k.ini")), "/remove_temp_exe", path});
        QVERIFY(!engine->ApplicationStartup());
        QCOMPARE(QFile::exists(path), !deleted);
        QCOMPARE(
            F->LogLines().mid(0, 2),
            (QStringList{"ApplicationStartup", QStringLiteral("  DeleteFile [%1] = %2")
                                                   .arg(path, deleted ? QStringLiteral("True")
                                                                      : QStringLiteral("False"))}));
    }
};

QTEST_GUILESS_MAIN(TestDelayedInstall)
#include "tst_delayedinstall.moc"
