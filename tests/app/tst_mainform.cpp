// The main window on a small workspace: modes, history, layout, opening
// forms and the state written at close.
#include "uDownloadUpdatesDataModule.h"
#include "uExplorerFrame.h"
#include "uMainForm.h"
#include "uMessageDlg.h"
#include "uRecordingShell.h"
#include "uSendForm.h"
#include "uSmtpTestServer.h"
#include "uWorkspaceFixture.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <linux/capability.h>
#include <memory>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// While it lives, this thread reads files by their permission bits even as
// root: the capabilities that bypass them leave the effective set.
class TPermissionBitsApply
{
public:
    TPermissionBitsApply()
    {
        syscall(SYS_capget, &FHeader, FSaved);
        __user_cap_data_struct reduced[2] = {FSaved[0], FSaved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &FHeader, reduced);
    }
    ~TPermissionBitsApply() { syscall(SYS_capset, &FHeader, FSaved); }
    TPermissionBitsApply(const TPermissionBitsApply&) = delete;
    TPermissionBitsApply& operator=(const TPermissionBitsApply&) = delete;

private:
    __user_cap_header_struct FHeader{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct FSaved[2]{};
};

QByteArray HistoryLine(const QString& path)
{
    return QByteArray("2006-12-12 09:05:03").leftJustified(20, ' ') + path.toUtf8() + "\r\n";
}

QList<int> RowsOf(const TExplorerFrame& frame, const QStringList& paths)
{
    QList<int> rows;
    for (const QString& path : paths)
        for (int i = 0; i < frame.Entries().size(); ++i)
            if (frame.Entries().at(i).Path == path)
                rows.append(i);
    return rows;
}

} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TWorkspaceFixture> FWorkspace;
    std::unique_ptr<TDownloadUpdatesDataModule> FUpdates;
    std::unique_ptr<TRecordingShell> FShell;

    std::unique_ptr<TMainForm> NewForm(const QStringList& params = {})
    {
        return std::make_unique<TMainForm>(FUpdates.get(), FWorkspace->ConfigFileName(), params);
    }

    TWorkspaceFixture& W() { return *FWorkspace; }

private slots:
    void init()
    {
        FWorkspace = std::make_unique<TWorkspaceFixture>();
        FUpdates = std::make_unique<TDownloadUpdatesDataModule>();
        FShell = std::make_unique<TRecordingShell>();
        MessageDlgScript::Reset(true);
        for (const QString& stem :
             {QStringLiteral("AF"), QStringLiteral("Ko"), QStringLiteral("Su"),
              QStringLiteral("Mi"), QStringLiteral("Lg"), QStringLiteral("PL")}) {
            W().Mi().WriteString(QStringLiteral("Itraukti"), stem + QStringLiteral(" perziura"),
                                 stem + QStringLiteral("*.xls"));
            W().Mi().WriteString(QStringLiteral("Atmesti"), stem + QStringLiteral(" perziura"),
                                 QStringLiteral("~") + stem);
        }
    }

    void cleanup()
    {
        FShell.reset();
        FUpdates.reset();
        FWorkspace.reset();
        MessageDlgScript::Reset(false);
    }

    void modes_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("family"); // empty for a fill list
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("openCaption");
        QTest::newRow("AF fill") << int(btnAFFill) << "" << true << "&Atidaryti";
        QTest::newRow("AF view") << int(btnAFView) << "AF" << false << "&Atidaryti";
        QTest::newRow("Ko view") << int(btnKoView) << "Ko" << false << "&Atidaryti";
        QTest::newRow("Su fill") << int(btnSuvest) << "" << true << "&Atidaryti";
        QTest::newRow("Su view") << int(btnSuView) << "Su" << false << "&Atidaryti";
        QTest::newRow("PL fill") << int(btnPLFill) << "" << true << "&Atidaryti";
        QTest::newRow("PL view") << int(btnPLView) << "PL" << true << "&Atidaryti";
        QTest::newRow("send") << int(btnSend) << "Mi" << false << "&Siųsti";
        QTest::newRow("history") << int(btnLog) << "Lg" << true << "&Atidaryti";
    }
    void modes()
    {
        QFETCH(int, button);
        QFETCH(QString, family);
        QFETCH(bool, locked);
        QFETCH(QString, openCaption);
        W().Mi().WriteString(QStringLiteral("Planai"), QStringLiteral("Planas"),
                             W().Root() + QStringLiteral("/p.xlt"));
        W().Mi().WriteString(QStringLiteral("AF"), QStringLiteral("Forma"),
                             W().Root() + QStringLiteral("/f.xlt"));
        W().Mi().WriteString(QStringLiteral("Suvestines"), QStringLiteral("Suvestinė"),
                             W().Root() + QStringLiteral("/s.xlt"));
        W().Ai().WriteString(QStringLiteral("Istorija"), QStringLiteral("AF perziura"),
                             QStringLiteral("2006\\"));
        auto form = NewForm();
        TExplorerFrame& frame = *form->ExplorerFrame();
        // Start from another mode so that every switch leaves one.
        form->Button(btnKontrole)->click();
        QCOMPARE(form->ActiveButton(), nullptr);
        form->Button(button == btnSuView ? btnAFView : btnSuView)->click();

        form->Button(TButtonId(button))->click();
        QCOMPARE(form->ActiveButton(), form->Button(TButtonId(button)));
        QCOMPARE(form->Button(TButtonId(button))->property("active").toBool(), true);
        QCOMPARE(frame.Locked(), locked);
        QCOMPARE(frame.MenuItemOpen()->text(), openCaption);
        if (family.isEmpty()) {
            QCOMPARE(frame.RootDir(), QString());
            QCOMPARE(frame.SubDir(), QString());
            QCOMPARE(frame.Entries().size(), 1);
        } else {
            QCOMPARE(frame.RootDir(), W().Folder(family));
            QCOMPARE(frame.SubDir(),
                     family == QLatin1String("AF") ? QStringLiteral("2006/") : QString());
            QCOMPARE(frame.IncludeMasks(), family + QStringLiteral("*.xls"));
            QCOMPARE(frame.HideMasks(), QStringLiteral("~") + family);
        }
        for (int other = 0; other < ButtonCount; ++other)
            if (other != button)
                QCOMPARE(form->Button(TButtonId(other))->property("active").toBool(), false);
    }

    void historySurvivesSwitchAndRestart()
    {
        auto form = NewForm();
        form->Button(btnAFView)->click();
        form->ExplorerFrame()->SetSubDir(QStringLiteral("2006/"));
        form->Button(btnAFFill)->click(); // a fill list stores nothing
        form->Button(btnKoView)->click();
        form->Button(btnAFView)->click();
        QCOMPARE(form->ExplorerFrame()->SubDir(), QStringLiteral("2006/"));
        // Pressing the active view again lists the same place anew.
        form->Button(btnAFView)->click();
        QCOMPARE(form->ExplorerFrame()->SubDir(), QStringLiteral("2006/"));
        form->FormDestroy();

        auto restarted = NewForm();
        restarted->Button(btnAFView)->click();
        QCOMPARE(restarted->ExplorerFrame()->SubDir(), QStringLiteral("2006/"));
        restarted->FormDestroy();

        QVERIFY(QDir(W().Folder(QStringLiteral("AF/2006"))).removeRecursively());
        auto afterRemoval = NewForm();
        QCOMPARE(afterRemoval->History().at(FamilyIndex(TViewFamily::AF)), QString());
    }

    void closeWritesState()
    {
        W().Ai().WriteString(QStringLiteral("MainForm"), QStringLiteral("ListView"),
                             QStringLiteral("7"));
        W().Ai().WriteString(QStringLiteral("Istorija"), QStringLiteral("AF perziura"),
                             QStringLiteral("\\2006"));
        auto form = NewForm();
        QCOMPARE(form->ExplorerFrame()->ViewStyle(), 0);
        form->resize(700, 500);
        form->FormDestroy();
        QCOMPARE(W().Ai().ReadSection(QStringLiteral("MainForm")),
                 (QStringList{"ListView", "Top", "Left", "Width", "Height"}));
        QCOMPARE(W().Ai().ReadInteger(QStringLiteral("MainForm"), QStringLiteral("Width"), 0), 700);
        QCOMPARE(W().Ai().ReadInteger(QStringLiteral("MainForm"), QStringLiteral("Height"), 0),
                 500);
        QCOMPARE(W().Ai().ReadInteger(QStringLiteral("MainForm"), QStringLiteral("ListView"), -1),
                 0);
        QCOMPARE(W().Ai().ReadSectionValues(QStringLiteral("Istorija")),
                 (QStringList{"AF perziura=2006/", "Ko perziura=", "Su perziura=", "Mi perziura=",
                              "Lg perziura=", "PL perziura="}));
    }

    void planGrid()
    {
        auto plain = NewForm();
        QVERIFY(plain->Button(btnPLFill)->isHidden());
        QCOMPARE(plain->Button(btnParam)->geometry(), QRect(16, 232, 73, 65));
        QCOMPARE(plain->Button(btnLog)->geometry(), QRect(96, 304, 73, 25));

        W().Mi().WriteString(QStringLiteral("Planai"), QStringLiteral("Planas"),
                             QStringLiteral("/p.xlt"));
        auto withPlans = NewForm();
        QVERIFY(!withPlans->Button(btnPLFill)->isHidden());
        QVERIFY(!withPlans->Button(btnPLView)->isHidden());
        const QList<QPair<TButtonId, int>> rows = {{btnAFFill, 16},
                                                   {btnKontrole, 73},
                                                   {btnSuvest, 130},
                                                   {btnPLFill, 187},
                                                   {btnParam, 244}};
        for (const auto& [id, top] : rows) {
            QCOMPARE(withPlans->Button(id)->geometry(), QRect(16, top, 73, 50));
            QCOMPARE(withPlans->Button(TButtonId(id + 1))->y(), top);
        }
        QCOMPARE(withPlans->Button(btnSend)->geometry(), QRect(96, 244, 73, 50));
        QCOMPARE(withPlans->Button(btnLog)->geometry(), QRect(96, 301, 73, 25));
    }

    void configuredCaptions()
    {
        W().Mi().WriteString(QStringLiteral("Button.Captions"), QStringLiteral("AF perziura"),
                             QStringLiteral("Pirma\\nAntra"));
        W().Mi().WriteString(QStringLiteral("Button.Captions"), QStringLiteral("Lg perziura"),
                             QString());
        W().Mi().WriteString(QStringLiteral("Button.Hints"), QStringLiteral("Send perziura"),
                             QStringLiteral("Siųsti\\tį Centrą"));
        auto form = NewForm();
        QCOMPARE(form->Button(btnAFFill)->text(), QStringLiteral("Pirma\nAntra"));
        QCOMPARE(form->Button(btnLog)->text(), QStringLiteral("Išsiųstos AF"));
        QCOMPARE(form->Button(btnSuView)->text(), QStringLiteral("Suvestinių\nAF peržiūra"));
        QCOMPARE(form->Button(btnSend)->toolTip(), QStringLiteral("Siųsti\tį Centrą"));
        QCOMPARE(form->VersionButton()->text(), QStringLiteral("1.4"));
    }

    void versionButton()
    {
        W().Touch(QStringLiteral("versija.txt"), "2.0\r\nPakeitimai\r\n");
        auto form = NewForm();
        QCOMPARE(form->VersionButton()->text(), QStringLiteral("2.0"));
        QVERIFY(form->VersionButton()->toolTip().endsWith(QStringLiteral("(netikrinta)")));
    }

    void openSelectedFiles()
    {
        const QStringList files = {W().Touch(QStringLiteral("AF/AF1.xls")),
                                   W().Touch(QStringLiteral("AF/AF2.XLS")),
                                   W().Touch(QStringLiteral("AF/AF3.xls"))};
        QDir().mkpath(W().Folder(QStringLiteral("AF/AFdir")));
        auto form = NewForm();
        form->Button(btnAFView)->click();
        TExplorerFrame& frame = *form->ExplorerFrame();

        frame.SelectIndexes(RowsOf(frame, files));
        MessageDlgScript::PushAnswer(mrNo);
        form->OpenSelectedFiles();
        QCOMPARE(MessageDlgScript::Asked().size(), 1);
        QCOMPARE(MessageDlgScript::Asked().first().Text,
                 QStringLiteral("Ar tikrai norite atidaryti šias bylas? (bylų skaičius: 3)"));
        QCOMPARE(MessageDlgScript::Asked().first().Type, TMsgDlgType::Confirmation);
        QVERIFY(FShell->Calls.isEmpty());

        MessageDlgScript::PushAnswer(mrYes);
        form->OpenSelectedFiles();
        QCOMPARE(FShell->Calls.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(FShell->Calls.at(i).Verb, QStringLiteral("open"));
            QCOMPARE(FShell->Calls.at(i).File, files.at(i));
        }

        // A folder among the selection: nothing, and no question.
        MessageDlgScript::Reset(true);
        FShell->Calls.clear();
        frame.SelectIndexes(
            RowsOf(frame, {files.at(0), W().Folder(QStringLiteral("AF/AFdir")).chopped(1)}));
        QCOMPARE(frame.SelectedCount(), 2);
        form->OpenSelectedFiles();
        QVERIFY(MessageDlgScript::Asked().isEmpty());
        QVERIFY(FShell->Calls.isEmpty());
    }

    void openTemplateFromFillList()
    {
        const QString path = W().Touch(QStringLiteral("Sablonai/F1.xlt"));
        W().Mi().WriteString(QStringLiteral("AF"), QStringLiteral("Forma 1"), path);
        W().Mi().WriteString(QStringLiteral("AF"), QStringLiteral("Forma 2"),
                             W().Root() + QStringLiteral("/none.xlt"));
        auto form = NewForm();
        form->Button(btnAFFill)->click();
        TExplorerFrame& frame = *form->ExplorerFrame();
        QCOMPARE(frame.Entries().size(), 2);
        QCOMPARE(frame.Entries().at(0).Name, QStringLiteral("Forma 1"));
        frame.SelectIndexes({0});
        form->OpenSelectedFiles();
        // A missing file is passed over without a word.
        frame.SelectIndexes({1});
        form->OpenSelectedFiles();
        QVERIFY(MessageDlgScript::Asked().isEmpty());
        QCOMPARE(FShell->Calls.size(), 1);
        QCOMPARE(FShell->Calls.first().Verb, QStringLiteral("new"));
        QCOMPARE(FShell->Calls.first().File, path);
    }

    void actionButtons_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("verb"); // empty: nothing performed
        QTest::newRow("control missing")
            << int(btnKontrole) << "Kontrole" << false << 0 << "Nerasta šablono byla \"%1\"!"
            << "";
        QTest::newRow("control no") << int(btnKontrole) << "Kontrole" << true << int(mrNo)
                                    << "Ar tikrai norite atidaryti naują kontrolės bylą?"
                                    << "";
        QTest::newRow("control yes") << int(btnKontrole) << "Kontrole" << true << int(mrYes)
                                     << "Ar tikrai norite atidaryti naują kontrolės bylą?"
                                     << "new";
        QTest::newRow("param missing")
            << int(btnParam) << "ParametraiAI" << false << 0 << "Nerasta parametrų byla \"%1\"!"
            << "";
        QTest::newRow("param yes") << int(btnParam) << "ParametraiAI" << true << int(mrYes)
                                   << "Ar tikrai norite atidaryti parametrų bylą?"
                                   << "open";
        QTest::newRow("help") << int(btnHelp) << "Pagalba" << true << 0 << ""
                              << "new";
        QTest::newRow("help missing") << int(btnHelp) << "Pagalba" << false << 0 << ""
                                      << "new";
    }
    void actionButtons()
    {
        QFETCH(int, button);
        QFETCH(QString, key);
        QFETCH(bool, exists);
        QFETCH(int, answer);
        QFETCH(QString, asked);
        QFETCH(QString, verb);
        const QString path = W().Root() + QStringLiteral("/") + key + QStringLiteral(".xlt");
        if (exists)
            W().Touch(key + QStringLiteral(".xlt"));
        W().Mi().WriteString(QStringLiteral("Nustatymai"), key, path);
        auto form = NewForm();
        form->Button(btnAFView)->click();
        const QString rootBefore = form->ExplorerFrame()->RootDir();
        if (answer)
            MessageDlgScript::PushAnswer(answer);
        form->Button(TButtonId(button))->click();
        if (asked.isEmpty()) {
            QVERIFY(MessageDlgScript::Asked().isEmpty());
        } else {
            QCOMPARE(MessageDlgScript::Asked().size(), 1);
            QCOMPARE(MessageDlgScript::Asked().first().Text,
                     asked.contains(u'%') ? asked.arg(path) : asked);
        }
        QCOMPARE(FShell->Calls.size(), verb.isEmpty() ? 0 : 1);
        if (!verb.isEmpty()) {
            QCOMPARE(FShell->Calls.first().Verb, verb);
            QCOMPARE(FShell->Calls.first().File, path);
        }
        // Actions leave the mode alone.
        QCOMPARE(form->ActiveButton(), form->Button(btnAFView));
        QCOMPARE(form->ExplorerFrame()->RootDir(), rootBefore);
    }

    void controlNotConfigured()
    {
        auto form = NewForm();
        form->Button(btnKontrole)->click();
        QCOMPARE(MessageDlgScript::Asked().size(), 1);
        QCOMPARE(MessageDlgScript::Asked().first().Text,
                 QStringLiteral("Nerasta šablono byla \"\"!"));
        QCOMPARE(MessageDlgScript::Asked().first().Type, TMsgDlgType::Warning);
    }

    void historyFileComesBack()
    {
        const QString form1 = W().Touch(QStringLiteral("AF/F1.xls"));
        const QString history =
            W().Touch(QStringLiteral("Lg/2006/Bylos siųstos 2006-12-12.zbx"),
                      QByteArray("2006-12-12 09:05:03 ").leftJustified(20, ' ') + form1.toUtf8() +
                          "\r\n" + QByteArray(20, ' ') + W().Root().toUtf8() + "/AF/gone.xls\r\n");
        W().Ai().WriteString(QStringLiteral("Istorija"), QStringLiteral("Lg perziura"),
                             QStringLiteral("\\2006\\Bylos siųstos 2006-12-12.zbx"));
        auto form = NewForm();
        form->Button(btnLog)->click();
        TExplorerFrame& frame = *form->ExplorerFrame();
        QCOMPARE(frame.SubDir(), QStringLiteral("2006/Bylos siųstos 2006-12-12.zbx"));
        QCOMPARE(frame.Entries().size(), 2);
        QCOMPARE(frame.Entries().at(0).Path, form1);
        QCOMPARE(frame.Entries().at(1).Name, QStringLiteral("gone.xls"));
        // Opening a form from the history opens it as a workbook.
        frame.SelectIndexes({0});
        form->OpenHistoryEntry();
        QCOMPARE(FShell->Calls.size(), 1);
        QCOMPARE(FShell->Calls.first().File, form1);
        form->Button(btnAFView)->click();
        form->Button(btnLog)->click();
        QCOMPARE(frame.Entries().size(), 2);
        QVERIFY(QFile::exists(history));
    }

    // The user opens a history file, then one that it names; the last one on
    // view comes back after a mode switch and a restart, and is forgotten
    // once it is gone.
    void historyPositionFollowsUser()
    {
        W().Mi().WriteString(QStringLiteral("Itraukti"), QStringLiteral("Lg perziura"),
                             QStringLiteral("*.zbx"));
        const QString form1 = W().Touch(QStringLiteral("AF/F1.xls"));
        const QString other = W().Touch(QStringLiteral("Lg/Kitas.zbx"), HistoryLine(form1));
        W().Touch(QStringLiteral("Lg/2006/Bylos.zbx"), HistoryLine(form1) + HistoryLine(other));
        auto form = NewForm();
        TExplorerFrame& frame = *form->ExplorerFrame();
        form->Button(btnLog)->click();
        frame.SetSubDir(QStringLiteral("2006/"));
        frame.SelectIndexes({0});
        frame.ListViewDblClick();
        QCOMPARE(frame.SubDir(), QStringLiteral("2006/Bylos.zbx"));
        QCOMPARE(RowsOf(frame, {form1, other}), (QList<int>{0, 1}));
        frame.SelectIndexes({1});
        frame.ListViewDblClick();
        QCOMPARE(frame.SubDir(), QStringLiteral("Kitas.zbx"));
        QCOMPARE(RowsOf(frame, {form1}), QList<int>{0});

        form->Button(btnAFView)->click();
        form->Button(btnLog)->click();
        QCOMPARE(frame.SubDir(), QStringLiteral("Kitas.zbx"));
        QCOMPARE(RowsOf(frame, {form1}), QList<int>{0});
        form->FormDestroy();
        form.reset();

        auto restarted = NewForm();
        restarted->Button(btnLog)->click();
        QCOMPARE(restarted->ExplorerFrame()->SubDir(), QStringLiteral("Kitas.zbx"));
        QCOMPARE(RowsOf(*restarted->ExplorerFrame(), {form1}), QList<int>{0});
        restarted->FormDestroy();
        restarted.reset();

        QVERIFY(QFile::remove(other));
        auto afterRemoval = NewForm();
        afterRemoval->Button(btnLog)->click();
        QCOMPARE(afterRemoval->ExplorerFrame()->SubDir(), QString());
        QCOMPARE(afterRemoval->ExplorerFrame()->Entries().size(), 1); // the folder 2006
        QVERIFY(MessageDlgScript::Asked().isEmpty());
    }

    void twoHistoryFilesSelectedDoNothing()
    {
        W().Mi().WriteString(QStringLiteral("Itraukti"), QStringLiteral("Lg perziura"),
                             QStringLiteral("*.zbx"));
        const QString form1 = W().Touch(QStringLiteral("AF/F1.xls"));
        W().Touch(QStringLiteral("Lg/A.zbx"), HistoryLine(form1));
        W().Touch(QStringLiteral("Lg/B.zbx"), HistoryLine(form1));
        auto form = NewForm();
        TExplorerFrame& frame = *form->ExplorerFrame();
        form->Button(btnLog)->click();
        const QList<TListEntry> before = frame.Entries();
        QCOMPARE(before.size(), 2);
        frame.SelectIndexes({0, 1});
        frame.ListViewDblClick();
        QCOMPARE(frame.SubDir(), QString());
        QCOMPARE(frame.Entries().size(), 2);
        QCOMPARE(frame.Entries().first().Path, before.first().Path);
        QVERIFY(FShell->Calls.isEmpty());
        QVERIFY(MessageDlgScript::Asked().isEmpty());
    }

    // A remembered history file that cannot be read: the error is shown, the
    // list shows the file's folder, and the program goes on.
    void unreadableHistoryReported()
    {
        W().Mi().WriteString(QStringLiteral("Itraukti"), QStringLiteral("Lg perziura"),
                             QStringLiteral("*.zbx"));
        const QString form1 = W().Touch(QStringLiteral("AF/F1.xls"));
        const QString history = W().Touch(QStringLiteral("Lg/2006/Bylos.zbx"), HistoryLine(form1));
        W().Ai().WriteString(QStringLiteral("Istorija"), QStringLiteral("Lg perziura"),
                             QStringLiteral("2006/Bylos.zbx"));
        QVERIFY(QFile::setPermissions(history, QFileDevice::Permissions()));
        auto form = NewForm();
        TExplorerFrame& frame = *form->ExplorerFrame();
        {
            const TPermissionBitsApply asUser;
            form->Button(btnLog)->click();
        }
        QCOMPARE(MessageDlgScript::Asked().size(), 1);
        QCOMPARE(MessageDlgScript::Asked().first().Type, TMsgDlgType::Error);
        QVERIFY2(MessageDlgScript::Asked().first().Text.startsWith(
                     QStringLiteral("Nepavyko perskaityti išsiuntimų istorijos bylos \"%1\"")
                         .arg(history)),
                 qPrintable(MessageDlgScript::Asked().first().Text));
        QCOMPARE(frame.SubDir(), QStringLiteral("2006/"));
        QCOMPARE(RowsOf(frame, {history}), QList<int>{0});

        QVERIFY(QFile::setPermissions(history, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        frame.SelectIndexes({0});
        frame.ListViewDblClick();
        QCOMPARE(RowsOf(frame, {form1}), QList<int>{0});
    }

    // A send of two forms through the main window to the local mail server
    // writes two lines, and the history workspace lists them.
    void sentFormsListedInHistory()
    {
        TSmtpTestServer server;
        for (const auto& [key, value] :
             QList<QPair<QString, QString>>{{"Host", "127.0.0.1"},
                                            {"Port", QString::number(server.Port())},
                                            {"SSL", "N"},
                                            {"MyMail", "ona@ukis.lt"},
                                            {"MailTo", "af@centras.lt"}})
            W().Ai().WriteString(QStringLiteral("Siuntimas"), key, value);
        W().Mi().WriteString(QStringLiteral("Itraukti"), QStringLiteral("Lg perziura"),
                             QStringLiteral("*.zbx"));
        const QStringList forms = {W().Touch(QStringLiteral("Mi/Mi1.xls"), "1"),
                                   W().Touch(QStringLiteral("Mi/Mi2.xls"), "2")};
        auto form = NewForm();
        TExplorerFrame& frame = *form->ExplorerFrame();
        form->Button(btnSend)->click();
        frame.SelectIndexes(RowsOf(frame, forms));
        bool sent = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<TSendForm*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->cxButtonSend->click();
            sent = !dialog->isVisible();
            if (dialog->isVisible())
                dialog->close();
        });
        form->Button(btnSend)->click();
        QVERIFY(sent);
        QCOMPARE(server.Messages().size(), 1);

        form->Button(btnLog)->click();
        QCOMPARE(frame.Entries().size(), 1);
        QFile history(frame.Entries().first().Path);
        QVERIFY(history.open(QIODevice::ReadOnly));
        QCOMPARE(history.readAll().count("\r\n"), 2);
        frame.SelectIndexes({0});
        frame.ListViewDblClick();
        QCOMPARE(RowsOf(frame, forms), (QList<int>{0, 1}));
        QCOMPARE(frame.Entries().size(), 2);
    }

    void sendButtonPressedTwiceComposes()
    {
        const QString form1 = W().Touch(QStringLiteral("Mi/Mi1.xls"));
        auto form = NewForm();
        form->Button(btnSend)->click();
        QCOMPARE(form->ActiveButton(), form->Button(btnSend));
        TExplorerFrame& frame = *form->ExplorerFrame();
        frame.SelectIndexes(RowsOf(frame, {form1}));
        QString title;
        int attachments = -1;
        QTimer::singleShot(0, this, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            title = dialog->windowTitle();
            attachments = dialog->findChild<QListWidget*>()->count();
            dialog->close();
        });
        form->Button(btnSend)->click();
        QCOMPARE(title, QStringLiteral("Siųsti laišką"));
        QCOMPARE(attachments, 1);
        // The second press composes; it does not switch modes.
        QCOMPARE(form->ActiveButton(), form->Button(btnSend));
        QCOMPARE(frame.RootDir(), W().Folder(QStringLiteral("Mi")));
    }

    void sendingMenuOnSendAndHistoryButtons()
    {
        auto form = NewForm();
        auto* menu = form->findChild<QMenu*>(QStringLiteral("PopupMenuSiuntimai"));
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("AF siuntimų nustatymai"));
        QCOMPARE(form->Button(btnSend)->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(form->Button(btnLog)->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(form->Button(btnAFView)->contextMenuPolicy(), Qt::DefaultContextMenu);
    }

    void restartRejoinsCommandLine()
    {
        auto form = NewForm(
            {QStringLiteral("-i"), QStringLiteral("/kelias su tarpu/k.ini"), QStringLiteral("/x")});
        form->SetRestartOnClose(true);
        form->FormDestroy();
        QCOMPARE(FShell->Calls.size(), 1);
        const TRecordingShell::TCall call = FShell->Calls.first();
        QCOMPARE(call.Verb, QStringLiteral("open"));
        QCOMPARE(call.File, QCoreApplication::applicationFilePath());
        QCOMPARE(call.Params, QStringLiteral("-i \"/kelias su tarpu/k.ini\" /x"));
        QCOMPARE(call.Directory, QDir::currentPath());
        QVERIFY(!call.Hidden);
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
