// The delayed installation for real: the built program, copied into a
// temporary install folder, starts its installing copy, which replaces the
// program and its configuration and starts it again. The update log of the
// three processes is the record of what happened.
#include "uChildProcesses.h"
#include "uEngineFixture.h"

#include <QProcess>
#include <QRegularExpression>

#include <csignal>
#include <unistd.h>

namespace {

const QByteArray Marker = "\nKELMIRA NEW BUILD\n";

} // namespace

class TestDelayedRestart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The installing copy and the program it starts again are started
        // detached; as a subreaper this test collects them.
        QVERIFY(BecomeSubreaper());
    }

    void installsAcrossThreeProcesses_data()
    {
        QTest::addColumn<bool>("withIniSwitch");
        QTest::newRow("configuration named by -i, a blank in its path") << true;
        QTest::newRow("configuration beside the executable, a blank in its folder") << false;
    }

    void installsAcrossThreeProcesses()
    {
        QFETCH(bool, withIniSwitch);
        TEngineFixture F;
        const QString exe = F.Path(withIniSwitch ? QStringLiteral("prog/kelmira")
                                                 : QStringLiteral("mano programa/kelmira"));
        const QString config = withIniSwitch
                                   ? F.Path(QStringLiteral("darbo vieta/k.ini"))
                                   : QFileInfo(exe).path() + QStringLiteral("/kelmira.ini");
        const QStringList params =
            withIniSwitch ? QStringList{QStringLiteral("-i"), config} : QStringList{};
        QVERIFY(QDir().mkpath(QFileInfo(exe).path()));
        QVERIFY(QDir().mkpath(QFileInfo(config).path()));
        QVERIFY(QFile::copy(QStringLiteral(KELMIRA_EXE), exe));
        const QByteArray oldBuild = TEngineFixture::ReadFile(exe);
        const QByteArray newBuild = oldBuild + Marker;

        TIniFile ai(GetConfigFileNameWithSuffix(config, QStringLiteral("_AI")));
        TIniFile mi(GetConfigFileNameWithSuffix(config, QStringLiteral("_MI")));
        const QString logFile = QFileInfo(config).path() + u'/' +
                                QFileInfo(config).completeBaseName() + QStringLiteral(".log");
        ai.WriteString(UpdatesSection, QStringLiteral("Log"), QStringLiteral("T"));
        mi.WriteString(QStringLiteral("Nustatymai"), QStringLiteral("Kontrole"),
                       QStringLiteral("sena.xlt"));
        // Saved by a check of an earlier run: a new build of the program and a
        // changed setting of the Centre's file.
        const QString download = F.Tmp() + QStringLiteral("/00000000");
        TEngineFixture::WriteFile(download, newBuild);
        const QString md5 = TEngineFixture::Md5Of(newBuild);
        const QString fileLine = QStringLiteral("FILE-UPDATE kelmira %1 %2").arg(md5, exe);
        const QString iniLine = QStringLiteral("INI-UPDATE [MI]Nustatymai Kontrole nauja.xlt");
        ai.WriteString(UpdatesSection, QStringLiteral("FILE-UPDATE.0"), fileLine);
        ai.WriteString(UpdatesSection, QStringLiteral("INI-UPDATE.1"), iniLine);
        ai.WriteString(UpdatesSection, QStringLiteral("Neinstaliuota"),
                       QStringLiteral("FILE-UPDATE.0,INI-UPDATE.1"));
        for (const auto& [key, value] : {std::pair{"Command", QStringLiteral("FILE-UPDATE")},
                                         {"Url", QStringLiteral("kelmira")},
                                         {"Md5", md5},
                                         {"TempFile", download},
                                         {"File", exe}})
            ai.WriteString(QStringLiteral("FILE-UPDATE.0"), QString::fromLatin1(key), value);
        for (const auto& [key, value] : {std::pair{"Command", "INI-UPDATE"},
                                         {"Section", "[MI]Nustatymai"},
                                         {"Key", "Kontrole"},
                                         {"Value", "nauja.xlt"}})
            ai.WriteString(QStringLiteral("INI-UPDATE.1"), QString::fromLatin1(key),
                           QString::fromLatin1(value));

        QProcess first;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        env.insert(QStringLiteral("TMPDIR"), F.Tmp());
        first.setProcessEnvironment(env);
        first.setWorkingDirectory(F.Path(QString()));
        // The copy and the program it starts inherit these; a pipe that this
        // test closed would end them at their first warning.
        first.setStandardOutputFile(QProcess::nullDevice());
        first.setStandardErrorFile(QProcess::nullDevice());
        first.start(exe, params);
        QVERIFY(first.waitForFinished(60000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);

        pid_t restarted = 0;
        QTRY_VERIFY_WITH_TIMEOUT(
            (ReapEnded(), restarted = FindProgram(exe, QStringLiteral("/REMOVE_TEMP_EXE"))) != 0 &&
                CatchesSigterm(restarted),
            60000);
        QTRY_COMPARE_WITH_TIMEOUT(F.LogLinesOf(logFile).filter(QStringLiteral("END=")).size(), 3,
                                  20000);

        // The copy that did the work, as the first process named it.
        const QStringList lines = F.LogLinesOf(logFile);
        const QRegularExpressionMatch started =
            QRegularExpression(QStringLiteral("^  ShellExecute \\[(.*)\\] \\["))
                .match(lines.value(5));
        QVERIFY2(started.hasMatch(), qPrintable(lines.join(u'\n')));
        const QString copy = started.captured(1);
        QCOMPARE(QFileInfo(copy).path(),
                 QFileInfo(exe).path() + QStringLiteral("/.kelmira-install"));

        const QString passedOn = withIniSwitch ? QStringLiteral("-i \"%1\"").arg(config)
                                               : QStringLiteral(" -i \"%1\"").arg(config);
        const QString copyParams =
            QStringLiteral("/INSTALL_DELAYED_UPDATES \"%1\" %2%3")
                .arg(exe, passedOn, withIniSwitch ? QStringLiteral(" ") : QString());
        const QString restartParams =
            QStringLiteral("/REMOVE_TEMP_EXE \"%1\" -i \"%2\"").arg(copy, config);
        const QStringList expected{
            // the program, started by the user
            "ApplicationStartup", "ApplicationStartup ReadDelayed=2",
            "ApplicationStartup IsReadyToInstall=True",
            "ApplicationStartup DelayedUpdatesInstallMode=False",
            "ApplicationStartup NeedsRestart=True",
            QStringLiteral("  ShellExecute [%1] [%2] = 42").arg(copy, copyParams),
            "ApplicationStartup END=1",
            // the installing copy
            "ApplicationStartup", "ApplicationStartup ReadDelayed=2",
            "ApplicationStartup IsReadyToInstall=True",
            "ApplicationStartup DelayedUpdatesInstallMode=True",
            "  Tasks_InstallFiles[0/TDownloadTaskFileUpdate]=OK",
            "  Tasks_InstallFiles[1/TDownloadTaskIniUpdate]=OK",
            "ApplicationStartup InstallFiles=True",
            QStringLiteral("  ShellExecute [%1] [%2] = 42").arg(exe, restartParams),
            "ApplicationStartup END=1",
            // the program, started again by the copy
            "ApplicationStartup", QStringLiteral("  DeleteFile [%1] = True").arg(copy),
            "ApplicationStartup ReadDelayed=0", "ApplicationStartup IsReadyToInstall=False",
            "ApplicationStartup DelayedUpdatesInstallMode=False", "ApplicationStartup END=0"};
        QCOMPARE(lines.mid(0, expected.size()), expected);

        QCOMPARE(CommandLineOf(restarted),
                 (QStringList{exe, "/REMOVE_TEMP_EXE", copy, "-i", config}));
        QCOMPARE(TEngineFixture::ReadFile(exe), newBuild);
        QVERIFY(QFileInfo(exe).isExecutable());
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(mi.ReadString(QStringLiteral("Nustatymai"), QStringLiteral("Kontrole"), {}),
                 QStringLiteral("nauja.xlt"));
        QCOMPARE(ai.ReadSection(UpdatesSection), (QStringList{"Log"}));
        QVERIFY(!ai.SectionExists(QStringLiteral("FILE-UPDATE.0")));
        QVERIFY(!ai.SectionExists(QStringLiteral("INI-UPDATE.1")));
        // The download and the backup of the old build are gone.
        QCOMPARE(QDir(F.Tmp()).entryList(QDir::Files | QDir::Hidden), QStringList());
        // Only the last process has a window, whose state it writes when it
        // closes.
        QVERIFY(!ai.SectionExists(QStringLiteral("MainForm")));
        // It closes through its close sequence, which writes that state.
        QCOMPARE(::kill(restarted, SIGTERM), 0);
        QTRY_VERIFY_WITH_TIMEOUT((ReapEnded(), !IsRunning(restarted)), 20000);
        QVERIFY(ai.SectionExists(QStringLiteral("MainForm")));
    }
};

QTEST_GUILESS_MAIN(TestDelayedRestart)
#include "tst_delayedrestart.moc"
