// The update state in the main window against a real engine: the automatic
// check, the icon panel with its hint, the version button, the updates window
// and the restart that installs pending updates, with the FTP test server.
#include "uChildProcesses.h"
#include "uDelayedInstall.h"
#include "uDownloadTaskStore.h"
#include "uDownloadUpdatesDataModule.h"
#include "uDownloadUpdatesForm.h"
#include "uExplorerFrame.h"
#include "uFtpTestServer.h"
#include "uKelmiraApplication.h"
#include "uMainForm.h"
#include "uMessageDlg.h"
#include "uRecordingShell.h"
#include "uShared.h"
#include "uStatusIconPanel.h"
#include "uUpdateStatusDisplay.h"
#include "uWorkspaceFixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <csignal>
#include <memory>

using namespace std::chrono_literals;
using enum TUpdateCheckStatus;

namespace {

const QByteArray OldTemplate = "old template\r\n";
const QByteArray NewTemplate = "new template, a little longer\r\n";
const QString InstructionsPath = QStringLiteral("public_html/kelmira/1.0/47150926/update.txt");

// Pictures for the record, in <build>/screenshots/.
void Screenshot(QWidget* widget, const QString& name)
{
    const QString folder = QStringLiteral(KELMIRA_BINARY_DIR "/screenshots");
    QDir().mkpath(folder);
    QVERIFY(widget->grab().save(folder + u'/' + name));
}

QStringList CommandWords(const QString& text)
{
    QStringList words;
    qsizetype pos = 0;
    for (QString word = ReadCommandWord(text, pos); !word.isEmpty();
         word = ReadCommandWord(text, pos))
        words.append(word);
    return words;
}

struct TSeen
{
    TUpdateCheckStatus Status;
    int Image;
    bool operator==(const TSeen&) const = default;
};

} // namespace

class TestUpdateStatus : public QObject
{
    Q_OBJECT

    std::unique_ptr<TWorkspaceFixture> FWorkspace;
    std::unique_ptr<TRecordingShell> FShell;
    std::unique_ptr<TFtpTestServer> FServer;
    std::unique_ptr<TDownloadUpdatesDataModule> FEngine;

    TWorkspaceFixture& W() { return *FWorkspace; }
    QString ExePath() const { return FWorkspace->Root() + QStringLiteral("/Kelmira"); }
    QString LogFile() const { return FWorkspace->Root() + QStringLiteral("/kelmira.log"); }
    QStringList Params() const { return {QStringLiteral("-i"), FWorkspace->ConfigFileName()}; }

    std::unique_ptr<TDownloadUpdatesDataModule> NewEngine(const QString& exe,
                                                          const QStringList& params)
    {
        auto engine = std::make_unique<TDownloadUpdatesDataModule>(LogFile());
        engine->SetStore(
            std::make_shared<TDownloadTaskStore>(W().Ai().FileName(), W().Mi().FileName()));
        engine->SetProcess(exe, params);
        return engine;
    }
    std::unique_ptr<TMainForm> NewForm()
    {
        FEngine = NewEngine(ExePath(), Params());
        // As at start-up: nothing pending, the last check read back.
        if (FEngine->ApplicationStartup())
            return {};
        return std::make_unique<TMainForm>(FEngine.get(), W().ConfigFileName(), Params());
    }

    void StartServer()
    {
        TFtpTestServer::TOptions options;
        options.Root = W().Root() + QStringLiteral("/ftp");
        QDir().mkpath(options.Root);
        FServer = std::make_unique<TFtpTestServer>(options);
        QVERIFY2(FServer->Error().isEmpty(), qPrintable(FServer->Error()));
        W().Ai().WriteString(UpdatesSection, QStringLiteral("Tikrinti"), QStringLiteral("T"));
        W().Ai().WriteString(UpdatesSection, QStringLiteral("Serveriai"),
                             QStringLiteral("user:secret@127.0.0.1:%1").arg(FServer->Port()));
    }
    void Serve(const QString& remotePath, const QByteArray& content)
    {
        W().Touch(QStringLiteral("ftp/") + remotePath, content);
    }
    QByteArray FileUpdateLine(const QString& path, const QByteArray& content)
    {
        Serve(QStringLiteral("files/forma.xlt"), content);
        return "FILE-UPDATE files/forma.xlt " +
               QCryptographicHash::hash(content, QCryptographicHash::Md5).toHex().toUpper() + ' ' +
               path.toUtf8() + "\r\n";
    }
    // Lines of the update log that hold the text.
    int LogLinesWith(const QString& text) const
    {
        QFile log(LogFile());
        if (!log.open(QIODevice::ReadOnly))
            return 0;
        return int(
            QString::fromLatin1(log.readAll()).split(QStringLiteral("\r\n")).filter(text).size());
    }
    int StartLines() const
    {
        QFile log(LogFile());
        if (!log.open(QIODevice::ReadOnly))
            return 0;
        return int(QString::fromLatin1(log.readAll()).count(QStringLiteral(" Start\r\n")));
    }

    static TDownloadUpdatesForm* UpdatesWindow(TMainForm& form)
    {
        return form.UpdateStatus()->DownloadUpdatesForm();
    }
    static TStatusIconPanel* Panel(TMainForm& form)
    {
        return static_cast<TStatusIconPanel*>(form.UpdateStatus()->StatusPanel());
    }
    static void OpenUpdatesWindow(TMainForm& form)
    {
        form.VersionButton()->click();
        QVERIFY(UpdatesWindow(form) && UpdatesWindow(form)->isVisible());
    }
    // The hint of the status bar after a help event at x over it; a shown
    // hint must be the one on screen.
    static QString HintAt(TMainForm& form, int x)
    {
        QStatusBar* bar = form.ExplorerFrame()->StatusBar();
        const QPoint at(x, bar->height() / 2);
        QWidget* target = bar->childAt(at) ? bar->childAt(at) : bar;
        QHelpEvent help(QEvent::ToolTip, target->mapFrom(bar, at), bar->mapToGlobal(at));
        QCoreApplication::sendEvent(target, &help);
        if (!bar->toolTip().isEmpty() && QToolTip::text() != bar->toolTip())
            return QStringLiteral("<not shown>");
        return bar->toolTip();
    }
    static void DoubleClickAt(TMainForm& form, int x)
    {
        QStatusBar* bar = form.ExplorerFrame()->StatusBar();
        QWidget* target = bar->childAt(x, bar->height() / 2);
        if (!target)
            target = bar;
        const QPointF at = target->mapFrom(bar, QPoint(x, bar->height() / 2));
        QMouseEvent click(QEvent::MouseButtonDblClick, at, target->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &click);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // The program this test starts again is started detached, by
        // programs that end; this test collects them all.
        QVERIFY(BecomeSubreaper());
        for (const char* name : {"ftp_proxy", "FTP_PROXY", "all_proxy", "ALL_PROXY", "http_proxy",
                                 "HTTP_PROXY", "https_proxy", "HTTPS_PROXY"})
            qunsetenv(name);
        QLocale::setDefault(QLocale::c());
        // The program's colours, as the application object gives them.
        QPalette colours = QApplication::palette();
        colours.setColor(QPalette::Window, TKelmiraApplication::WindowColor);
        QApplication::setPalette(colours);
    }

    void init()
    {
        TUpdateStatusDisplay::SetCheckDelay(20ms);
        FWorkspace = std::make_unique<TWorkspaceFixture>();
        FShell = std::make_unique<TRecordingShell>();
        MessageDlgScript::Reset(true);
        qputenv("TMPDIR", QFile::encodeName(W().Root() + QStringLiteral("/tmp")));
        QDir().mkpath(W().Root() + QStringLiteral("/tmp"));
        W().Ai().WriteString(UpdatesSection, QStringLiteral("Log"), QStringLiteral("T"));
        W().Ai().WriteString(UpdatesSection, QStringLiteral("Versija"), QStringLiteral("1.0"));
        // No check reaches out unless a test gives it a server.
        W().Ai().WriteString(UpdatesSection, QStringLiteral("Tikrinti"), QStringLiteral("N"));
    }

    void cleanup()
    {
        FEngine.reset();
        FServer.reset();
        FShell.reset();
        FWorkspace.reset();
        qunsetenv("TMPDIR");
        MessageDlgScript::Reset(false);
        TUpdateStatusDisplay::SetCheckDelay(5000ms);
    }

    void checkDelayIsFiveSeconds()
    {
        TUpdateStatusDisplay::SetCheckDelay(5000ms);
        auto form = NewForm();
        QCOMPARE(form->UpdateStatus()->VersionCheckTimer()->interval(), 5000);
        QVERIFY(form->UpdateStatus()->VersionCheckTimer()->isActive());
        QCOMPARE(FEngine->Status(), NotStarted);
        QCOMPARE(Panel(*form)->ImageIndex(), -1);
    }

    void versionFile_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("notes");
        QTest::newRow("missing") << false << QByteArray() << "1.4"
                                 << "";
        QTest::newRow("empty") << true << QByteArray() << "1.4"
                               << "";
        QTest::newRow("2.0 first") << true << QByteArray("2.0\r\nPataisyta \xe0 forma\r\n") << "2.0"
                                   << "2.0\nPataisyta ą forma\n";
    }

    void versionFile()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, content);
        if (exists)
            W().Touch(QStringLiteral("versija.txt"), content);
        auto form = NewForm();
        QTEST(form->VersionButton()->text(), "caption");
        QCOMPARE(form->VersionButton()->toolTip(),
                 QStringLiteral("Atidaryti atnaujinimų sarašą\n\nPaskutinįsyk patikrinta "
                                "atnaujinimų: (netikrinta)"));
        OpenUpdatesWindow(*form);
        QTEST(UpdatesWindow(*form)->VersijaMemo()->toPlainText(), "notes");
        QCOMPARE(UpdatesWindow(*form)->windowTitle(), QStringLiteral("Programos pakeitimai"));
        QVERIFY(UpdatesWindow(*form)->windowFlags() & Qt::WindowStaysOnTopHint);
    }

    // Checks switched off: the timer's check leaves Disabled, and
    // "&Atnaujinti" then does not even start the engine.
    void disabledCheckDoesNothing()
    {
        auto form = NewForm();
        QTRY_COMPARE(FEngine->Status(), Disabled);
        QCOMPARE(StartLines(), 1);
        QVERIFY(!form->UpdateStatus()->VersionCheckTimer()->isActive());
        OpenUpdatesWindow(*form);
        UpdatesWindow(*form)->CheckcxButton()->click();
        QCOMPARE(StartLines(), 1);
        QCOMPARE(UpdatesWindow(*form)->StatusEdit()->text(),
                 QStringLiteral("Atnaujinimai neteikiami"));
        QVERIFY(!UpdatesWindow(*form)->RestartcxButton()->isVisible());
        QCOMPARE(Panel(*form)->ImageIndex(), -1);
    }

    // No server answers: Failed with the warning image and no last check;
    // "&Atnaujinti" starts a new check, which fails again.
    void failedCheck()
    {
        const TRefusingPort refusing;
        W().Ai().WriteString(UpdatesSection, QStringLiteral("Tikrinti"), QStringLiteral("T"));
        W().Ai().WriteString(UpdatesSection, QStringLiteral("Serveriai"),
                             QStringLiteral("127.0.0.1:%1").arg(refusing.Port()));
        W().Ai().WriteString(UpdatesSection, QStringLiteral("Tikrinta"),
                             QStringLiteral("20240102030405006"));
        auto form = NewForm();
        form->show();
        OpenUpdatesWindow(*form);
        const QString before = UpdatesWindow(*form)->LastCheckLabel()->text();
        QVERIFY2(before.startsWith(QStringLiteral("Paskutinįsyk patikrinta atnaujinimų: ")) &&
                     before.contains(QStringLiteral("03:04:05")),
                 qPrintable(before));
        QTRY_COMPARE_WITH_TIMEOUT(FEngine->Status(), Failed, 30000);
        QTRY_VERIFY(!FEngine->IsDownloading());

        TDownloadUpdatesForm& window = *UpdatesWindow(*form);
        QCOMPARE(window.StatusEdit()->text(),
                 QStringLiteral("Nepavyko parsisiųsti arba įdiegti atnaujinimų"));
        QCOMPARE(window.LastCheckLabel()->text(),
                 QStringLiteral("Paskutinįsyk patikrinta atnaujinimų: (netikrinta)"));
        QVERIFY(form->VersionButton()->toolTip().endsWith(QStringLiteral("(netikrinta)")));
        QVERIFY(!window.RestartcxButton()->isVisible());
        QCOMPARE(Panel(*form)->ImageIndex(), 4);
        Screenshot(form->ExplorerFrame()->StatusBar(), QStringLiteral("status-bar-4-failed.png"));
        Screenshot(&window, QStringLiteral("updates-window-failed.png"));
        // A failure starts no further check by itself.
        QVERIFY(!form->UpdateStatus()->VersionCheckTimer()->isActive());

        const int starts = StartLines();
        window.CheckcxButton()->click();
        QCOMPARE(StartLines(), starts + 1);
        QTRY_COMPARE_WITH_TIMEOUT(FEngine->Status(), Failed, 30000);
        QTRY_VERIFY(!FEngine->IsDownloading());
    }

    // The MI file's texts: one with a line break, one without "|" that is
    // both the hint's title and the description.
    void overriddenTexts()
    {
        W().Mi().WriteString(UpdatesSection, QStringLiteral("SUpdateCheckStatusNotStarted"),
                             QStringLiteral("Dar nieko"));
        W().Mi().WriteString(UpdatesSection, QStringLiteral("SUpdateCheckStatusDisabled"),
                             QStringLiteral("Kitaip|Pirma eilutė\\nantra eilutė"));
        auto form = NewForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        // Still before the first check.
        const int panel = Panel(*form)->x() + 10;
        QCOMPARE(FEngine->Status(), NotStarted);
        QCOMPARE(HintAt(*form, panel), QStringLiteral("Dar nieko"));
        OpenUpdatesWindow(*form);
        TDownloadUpdatesForm& window = *UpdatesWindow(*form);
        QCOMPARE(window.StatusEdit()->text(), QStringLiteral("Dar nieko"));
        QCOMPARE(window.StatusMemo()->toPlainText(), QStringLiteral("Dar nieko"));

        QTRY_COMPARE(FEngine->Status(), Disabled);
        QCOMPARE(HintAt(*form, panel), QStringLiteral("Kitaip"));
        QCOMPARE(window.StatusEdit()->text(), QStringLiteral("Kitaip"));
        QCOMPARE(window.StatusMemo()->toPlainText(), QStringLiteral("Pirma eilutė\nantra eilutė"));
    }

    // The hint over the status bar names the state only right of the first
    // two panels; a double click there opens the updates window, one over
    // the count does not.
    void statusBarHintAndDoubleClick()
    {
        auto form = NewForm();
        form->ExplorerFrame()->SetIncludeMasks(QStringLiteral("*.xls"));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTRY_COMPARE(FEngine->Status(), Disabled);
        const int panelLeft = Panel(*form)->x();
        QCOMPARE(Panel(*form)->width(), 30);

        QCOMPARE(HintAt(*form, panelLeft + 10), QStringLiteral("Atnaujinimai neteikiami"));
        QCOMPARE(HintAt(*form, 5), QString());
        QCOMPARE(HintAt(*form, panelLeft - 20), QString());

        DoubleClickAt(*form, 5);
        QVERIFY(!UpdatesWindow(*form));
        DoubleClickAt(*form, panelLeft + 10);
        QVERIFY(UpdatesWindow(*form) && UpdatesWindow(*form)->isVisible());
        // Closed, it is only hidden, and kept.
        QPointer<TDownloadUpdatesForm> window = UpdatesWindow(*form);
        window->cxButtonCancel()->click();
        QVERIFY(window && !window->isVisible());
        DoubleClickAt(*form, panelLeft + 10);
        QCOMPARE(UpdatesWindow(*form), window.data());
        QVERIFY(window->isVisible());
    }

    // The whole road: a template updated at once, then a configuration change
    // that waits for the restart, which installs it through the installing
    // copy.
    void updateThenRestart()
    {
        StartServer();
        const QString templatePath = W().Touch(QStringLiteral("Sablonai/forma.xlt"), OldTemplate);
        Serve(InstructionsPath, FileUpdateLine(templatePath, NewTemplate));
        QVERIFY(QFile::copy(QStringLiteral(KELMIRA_EXE), ExePath()));

        auto form = NewForm();
        form->show();
        QStatusBar* bar = form->ExplorerFrame()->StatusBar();
        QList<TSeen> seen;
        const auto record = [&] {
            const TSeen now{FEngine->Status(), Panel(*form)->ImageIndex()};
            if (!seen.isEmpty() && seen.last() == now)
                return;
            seen.append(now);
            Screenshot(bar, QStringLiteral("status-bar-%1-%2.png")
                                .arg(now.Image)
                                .arg(StatusName(now.Status).toLower()));
        };
        bool iniServed = false;
        connect(form->UpdateStatus()->VersionCheckTimer(), &QTimer::timeout, this, record);
        connect(FEngine.get(), &TDownloadUpdatesDataModule::OnStatusChange, this, [&] {
            record();
            // The check after the installation finds a configuration change.
            if (FEngine->Status() == Updated && !iniServed) {
                iniServed = true;
                Serve(InstructionsPath, "INI-UPDATE [MI]Nustatymai Kontrole nauja.xlt\r\n");
            }
        });

        QTRY_COMPARE_WITH_TIMEOUT(FEngine->Status(), UpdatesPending, 60000);
        QTRY_VERIFY(!FEngine->IsDownloading());
        QCOMPARE(seen, (QList<TSeen>{{InProgress, 0},
                                     {UpdatesFound, 1},
                                     {Updated, 2},
                                     {InProgress, 0},
                                     {UpdatesFound, 1},
                                     {UpdatesPending, 3}}));
        QCOMPARE(QFile(templatePath).size(), NewTemplate.size());
        QVERIFY(W().Ai().ValueExists(UpdatesSection, QStringLiteral("Neinstaliuota")));
        QVERIFY(!form->UpdateStatus()->VersionCheckTimer()->isActive());
        QCOMPARE(HintAt(*form, Panel(*form)->x() + 10), QStringLiteral("Atnaujinimai parsiųsti"));

        OpenUpdatesWindow(*form);
        TDownloadUpdatesForm& window = *UpdatesWindow(*form);
        QVERIFY(window.RestartcxButton()->isVisible());
        QVERIFY(window.LastCheckLabel()->text() !=
                QStringLiteral("Paskutinįsyk patikrinta atnaujinimų: (netikrinta)"));
        Screenshot(&window, QStringLiteral("updates-window-pending.png"));

        // "&Perleisti" closes the window through the close sequence and
        // starts the program again with its command line.
        window.RestartcxButton()->click();
        QVERIFY(!form->isVisible());
        form->FormDestroy();
        QCOMPARE(FShell->Calls.size(), 1);
        QCOMPARE(FShell->Calls.first().Verb, QStringLiteral("open"));
        QCOMPARE(FShell->Calls.first().File, QCoreApplication::applicationFilePath());
        QCOMPARE(CommandWords(FShell->Calls.first().Params), Params());
        form.reset();
        FEngine.reset();

        // The program started again for real with that command line: the
        // pending configuration change needs the installing copy, which
        // installs it and starts the program once more.
        const int endsBefore = LogLinesWith(QStringLiteral("ApplicationStartup END="));
        QProcess first;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        first.setProcessEnvironment(env);
        first.setWorkingDirectory(W().Root());
        // The copy and the program inherit these; a pipe closed by this test
        // would end them at their first warning.
        first.setStandardOutputFile(QProcess::nullDevice());
        first.setStandardErrorFile(QProcess::nullDevice());
        first.start(ExePath(), CommandWords(FShell->Calls.first().Params));
        QVERIFY(first.waitForFinished(60000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);

        pid_t restarted = 0;
        QTRY_VERIFY_WITH_TIMEOUT(
            (ReapEnded(), restarted = FindProgram(ExePath(), QStringLiteral("/REMOVE_TEMP_EXE"))) !=
                    0 &&
                CatchesSigterm(restarted),
            60000);
        QTRY_COMPARE_WITH_TIMEOUT(LogLinesWith(QStringLiteral("ApplicationStartup END=")),
                                  endsBefore + 3, 20000);
        QCOMPARE(W().Mi().ReadString(QStringLiteral("Nustatymai"), QStringLiteral("Kontrole"), {}),
                 QStringLiteral("nauja.xlt"));
        QVERIFY(!W().Ai().ValueExists(UpdatesSection, QStringLiteral("Neinstaliuota")));
        QCOMPARE(LogLinesWith(QStringLiteral("ApplicationStartup ReadDelayed=0")), 2);
        QVERIFY(QDir(InstallCopyFolder(ExePath())).entryList(QDir::Files | QDir::Hidden).isEmpty());
        QCOMPARE(::kill(restarted, SIGTERM), 0);
        QTRY_VERIFY_WITH_TIMEOUT((ReapEnded(), !IsRunning(restarted)), 20000);
    }
};

QTEST_MAIN(TestUpdateStatus)
#include "tst_updatestatus.moc"
