// The program as a process: it starts on a workspace named by "-i" and a
// termination signal closes it through the close sequence, state written;
// "--help" and "--version" answer without any display.
#include "uChildProcesses.h"
#include "uIniFile.h"
#include "uWorkspaceFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>

class TestStartup : public QObject
{
    Q_OBJECT

    static void Start(QProcess& process, const QString& configFileName)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(KELMIRA_EXE), {QStringLiteral("-i"), configFileName});
        QVERIFY(process.waitForStarted());
    }

private slots:
    void informationWithoutDisplay_data()
    {
        QTest::addColumn<QString>("param");
        QTest::addColumn<QString>("expected");
        QTest::newRow("version") << "--version"
                                 << "KELMIRA " KELMIRA_VERSION_TEXT "\n";
        QTest::newRow("help") << "--help"
                              << "  -i KELIAS    ";
    }

    void informationWithoutDisplay()
    {
        QFETCH(QString, param);
        QFETCH(QString, expected);
        // A window would need this platform, which has no display to reach.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(KELMIRA_EXE),
                      {param, QStringLiteral("-i"), QStringLiteral("/nonexistent/k.ini")});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardError(), QByteArray());
        const QString output = QString::fromUtf8(process.readAllStandardOutput());
        QVERIFY2(output.startsWith(QStringLiteral("KELMIRA " KELMIRA_VERSION_TEXT "\n")),
                 qPrintable(output));
        QVERIFY2(output.contains(expected), qPrintable(output));
        if (param == QStringLiteral("--help"))
            QVERIFY(output.contains(QStringLiteral("--version")));
    }

    void terminationSignalWritesState()
    {
        TWorkspaceFixture workspace;
        const QString folder = workspace.Root() + QStringLiteral("/darbo vieta");
        QVERIFY(QDir().mkpath(folder));
        TIniFile ai(folder + QStringLiteral("/k_AI.ini"));
        ai.WriteInteger(QStringLiteral("MainForm"), QStringLiteral("ListView"), 3);

        // Two instances run side by side, independent of each other.
        QProcess first;
        QProcess second;
        Start(first, folder + QStringLiteral("/k.ini"));
        Start(second, workspace.ConfigFileName());
        QTRY_VERIFY_WITH_TIMEOUT(CatchesSigterm(static_cast<pid_t>(first.processId())), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(CatchesSigterm(static_cast<pid_t>(second.processId())), 20000);
        QCOMPARE(second.state(), QProcess::Running);

        ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
        QVERIFY(first.waitForFinished(20000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(ai.ReadInteger(QStringLiteral("MainForm"), QStringLiteral("ListView"), -1), 3);
        QCOMPARE(ai.ReadSection(QStringLiteral("MainForm")),
                 (QStringList{"ListView", "Top", "Left", "Width", "Height"}));
        QCOMPARE(ai.ReadSection(QStringLiteral("Istorija")).size(), 6);

        QCOMPARE(second.state(), QProcess::Running);
        ::kill(static_cast<pid_t>(second.processId()), SIGINT);
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(workspace.Ai().ReadSection(QStringLiteral("Istorija")).size(), 6);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
