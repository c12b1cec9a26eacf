// The portable installation: "cmake --install" into a folder of the user's
// (with a blank in its path), the installed program answers "--version" and
// runs on a demo workspace until a termination signal closes it.
#include "uChildProcesses.h"
#include "uIniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// Runs a program to its end; its standard output.
QByteArray Run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    const bool ended = process.waitForFinished(120000);
    const QByteArray error = process.readAllStandardError();
    QTest::qVerify(ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                   qPrintable(program), error.constData(), __FILE__, __LINE__);
    return process.readAllStandardOutput();
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void installedProgramRuns()
    {
        QTemporaryDir dir;
        const QString prefix = dir.filePath(QStringLiteral("Kelmira programa"));
        Run(QStringLiteral(KELMIRA_CMAKE),
            {QStringLiteral("--install"), QStringLiteral(KELMIRA_BINARY_DIR),
             QStringLiteral("--prefix"), prefix});
        const QString exe = prefix + QStringLiteral("/kelmira");
        QVERIFY(QFileInfo(exe).isExecutable());
        QVERIFY(QFileInfo(prefix + QStringLiteral("/kelmira.svg")).isFile());

        // The menu entry names the program and its icon where they landed.
        QFile entry(prefix + QStringLiteral("/kelmira.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(entry.readAll()).split(u'\n');
        QCOMPARE(lines.first(), QStringLiteral("[Desktop Entry]"));
        QVERIFY(lines.contains(QStringLiteral("Exec=\"%1\"").arg(exe)));
        QVERIFY(lines.contains(QStringLiteral("Icon=%1/kelmira.svg").arg(prefix)));
        QVERIFY(lines.contains(QStringLiteral("Type=Application")));

        QCOMPARE(Run(exe, {QStringLiteral("--version")}),
                 QByteArray("KELMIRA " KELMIRA_VERSION_TEXT "\n"));

        const QString demo = dir.filePath(QStringLiteral("demo"));
        const QString ini =
            QString::fromLocal8Bit(
                Run(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral(KELMIRA_SOURCE_DIR "/demo/make_workspace.py"), demo}))
                .trimmed();
        // No demo update server runs for this workspace.
        TIniFile mi(demo + QStringLiteral("/kelmira_MI.ini"));
        mi.WriteString(QStringLiteral("Atnaujinimai"), QStringLiteral("Tikrinti"),
                       QStringLiteral("N"));

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.path());
        program.start(exe, {QStringLiteral("-i"), ini});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(CatchesSigterm(static_cast<pid_t>(program.processId())), 30000);
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        // It ran on the demo workspace: the close sequence wrote its state.
        TIniFile ai(demo + QStringLiteral("/kelmira_AI.ini"));
        QVERIFY(ai.ValueExists(QStringLiteral("MainForm"), QStringLiteral("Width")));
        QCOMPARE(ai.ReadInteger(QStringLiteral("MainForm"), QStringLiteral("ListView"), -1), 3);
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
