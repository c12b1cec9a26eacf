// The program as a process: it starts on a workspace named by "-i" and a
// termination signal closes it through the close sequence, state written.
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
