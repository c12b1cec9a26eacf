#include "uBrowserTestFiles.h"
#include "uExplorerFrame.h"
#include "uMessageDlg.h"
#include "uRecordingShell.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList AskedTexts()
{
    QStringList texts;
    for (const MessageDlgScript::TAsked& asked : MessageDlgScript::Asked())
        texts.append(asked.Text);
    return texts;
}

// A folder with a sub-folder holding one file, two workbooks and a template,
// shown in a frame: the list reads "sub", "a.xls", "c.xls", "t.xlt".
class TFixture
{
public:
    explicit TFixture(const QString& folder = QString())
    {
        FFolder = folder.isEmpty() ? FDir.path() : FDir.filePath(folder);
        QDir().mkpath(FFolder + QStringLiteral("/sub"));
        WriteFile(Path("sub/inside.xls"), "inside");
        WriteFile(Path("a.xls"), "a");
        WriteFile(Path("c.xls"), "c");
        WriteFile(Path("t.xlt"), "t");
    }
    QString Path(const QString& name) const { return FFolder + QLatin1Char('/') + name; }
    QString Path(const char* name) const { return Path(QLatin1String(name)); }
    QString Temp() const { return FDir.path(); }

    void Show(TExplorerFrame& frame) const
    {
        frame.SetRootDir(FFolder);
        frame.SetSubDir(QString());
    }

private:
    QTemporaryDir FDir;
    QString FFolder;
};

int RowOf(const TExplorerFrame& frame, const QString& name)
{
    return int(Names(frame.Entries()).indexOf(name));
}

QListView* ListView(TExplorerFrame& frame)
{
    return frame.findChild<QListView*>(QStringLiteral("ListView"));
}

// The name editor open in the list, if any.
QLineEdit* Editor(TExplorerFrame& frame)
{
    auto* editor = ListView(frame)->viewport()->findChild<QLineEdit*>();
    return editor && editor->isVisible() ? editor : nullptr;
}

// Answers the real question box with Yes once something has happened while
// it is open.
void AnswerYesAfter(const std::function<void()>& whileOpen)
{
    QTimer::singleShot(0, [whileOpen] {
        QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
        whileOpen();
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        box->button(QMessageBox::Yes)->click();
    });
}

} // namespace

class TFileOperationsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void renameTable_data();
    void renameTable();
    void notEditable_data();
    void notEditable();
    void renameThroughEditor();
    void f2FollowsLastMenuOpening();
    void menuItems();
    void keys();
    void deleteAsksAndTrashesInListOrder_data();
    void deleteAsksAndTrashesInListOrder();
    void deletePartialFailureListedOnce();
    void deleteFolderToRealTrash();
    void changeDuringRenameQuestion_data();
    void changeDuringRenameQuestion();
    void changeDuringDeleteQuestion();
};

void TFileOperationsTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TFileOperationsTest::init()
{
    MessageDlgScript::Reset();
}

void TFileOperationsTest::renameTable_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("include");
    QTest::addColumn<QString>("hide");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("result"); // the file's name afterwards
    QTest::addColumn<QString>("question");

    const QString hidden = QStringLiteral(
        "Po pervadinimo byla \"~a.xls\" bus nematoma šiame sąraše. Ar tikrai norite suteikti "
        "šį vardą?");
    QTest::newRow("extension kept") << ""
                                    << ""
                                    << ""
                                    << "a.xls"
                                    << "b" << 0 << "b.xls"
                                    << "";
    QTest::newRow("own extension, other case") << ""
                                               << ""
                                               << ""
                                               << "a.xls"
                                               << "b.XLS" << 0 << "b.XLS"
                                               << "";
    QTest::newRow("foreign extension") << ""
                                       << ""
                                       << ""
                                       << "a.xls"
                                       << "b.txt" << 0 << "b.txt.xls"
                                       << "";
    QTest::newRow("existing name") << ""
                                   << ""
                                   << ""
                                   << "a.xls"
                                   << "c" << 0 << "a.xls"
                                   << "";
    QTest::newRow("name with a folder") << ""
                                        << ""
                                        << ""
                                        << "a.xls"
                                        << "sub/a" << 0 << "a.xls"
                                        << "";
    QTest::newRow("hidden, answered No") << ""
                                         << ""
                                         << "~*"
                                         << "a.xls"
                                         << "~a" << int(mrNo) << "a.xls" << hidden;
    QTest::newRow("hidden, answered Yes") << ""
                                          << ""
                                          << "~*"
                                          << "a.xls"
                                          << "~a" << int(mrYes) << "~a.xls" << hidden;
    // The mask sees the file name alone, not the folder it lies in.
    QTest::newRow("include mask, folder not matching") << "Ataskaitos"
                                                       << "AF*.xls"
                                                       << ""
                                                       << "AF1.xls"
                                                       << "AF2.xls" << 0 << "AF2.xls"
                                                       << "";
}

void TFileOperationsTest::renameTable()
{
    QFETCH(QString, folder);
    QFETCH(QString, include);
    QFETCH(QString, hide);
    QFETCH(QString, file);
    QFETCH(QString, edited);
    QFETCH(int, answer);
    QFETCH(QString, result);
    QFETCH(QString, question);

    TFixture fixture(folder);
    WriteFile(fixture.Path("AF1.xls"), "af");
    TExplorerFrame frame;
    frame.SetIncludeMasks(include);
    frame.SetHideMasks(hide);
    fixture.Show(frame);
    if (answer)
        MessageDlgScript::PushAnswer(answer);
    const int row = RowOf(frame, file);
    QVERIFY(row >= 0);
    QVERIFY(frame.ListViewEditing(row));
    frame.ListViewEdited(row, edited);

    QCOMPARE(AskedTexts(), question.isEmpty() ? QStringList() : QStringList{question});
    QVERIFY(QFile::exists(fixture.Path(result)));
    QCOMPARE(ReadAll(fixture.Path(result)), file == "a.xls" ? QByteArray("a") : "af");
    QCOMPARE(ReadAll(fixture.Path("c.xls")), QByteArray("c"));
    // The entry shows the resulting name and path and is the one selected.
    QCOMPARE(frame.Entries().at(row).Name, result);
    QCOMPARE(frame.Entries().at(row).Path, fixture.Path(result));
    QCOMPARE(frame.SelectedIndexes(), QList<int>{row});
}

void TFileOperationsTest::notEditable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("locked");
    QTest::newRow("folder") << "sub" << false;
    QTest::newRow("template") << "t.xlt" << false;
    QTest::newRow("workbook while locked") << "a.xls" << true;
}

void TFileOperationsTest::notEditable()
{
    QFETCH(QString, name);
    QFETCH(bool, locked);
    TFixture fixture;
    TExplorerFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    fixture.Show(frame);
    frame.SetLocked(locked);
    const int row = RowOf(frame, name);
    QVERIFY(!frame.ListViewEditing(row));
    frame.SelectIndexes({row});
    frame.MenuItemRenameClick();
    ListView(frame)->setFocus();
    QTest::keyClick(ListView(frame), Qt::Key_F2);
    QVERIFY(!Editor(frame));
    // Even a rename that arrives is refused for a folder.
    if (name == "sub") {
        frame.ListViewEdited(row, QStringLiteral("other"));
        QVERIFY(QFileInfo(fixture.Path("sub")).isDir());
        QCOMPARE(frame.Entries().at(row).Name, name);
    }
}

void TFileOperationsTest::renameThroughEditor()
{
    TFixture fixture;
    TExplorerFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    fixture.Show(frame);
    QListView* view = ListView(frame);
    view->setFocus();
    frame.SelectIndexes({RowOf(frame, "a.xls")});
    QTest::keyClick(view, Qt::Key_F2);
    QLineEdit* editor = Editor(frame);
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("a.xls"));
    // Keys the list would act on belong to the editor now.
    QTest::keyClick(editor, Qt::Key_F5);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QCOMPARE(editor->text(), QString());
    editor->setText(QStringLiteral("b"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(QFile::exists(fixture.Path("b.xls")));
    QVERIFY(!QFile::exists(fixture.Path("a.xls")));
    // The watcher reads the folder again: the entry is at its sorted place.
    QTRY_COMPARE(Names(frame.Entries()), QStringList({"sub", "b.xls", "c.xls", "t.xlt"}));
}

void TFileOperationsTest::f2FollowsLastMenuOpening()
{
    TFixture fixture;
    TExplorerFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    fixture.Show(frame);
    QListView* view = ListView(frame);
    view->setFocus();

    frame.SelectIndexes({RowOf(frame, "sub")});
    frame.PopupMenuExplorerPopup();
    frame.SelectIndexes({RowOf(frame, "a.xls")});
    QTest::keyClick(view, Qt::Key_F2);
    QVERIFY(!Editor(frame));

    frame.PopupMenuExplorerPopup();
    QTest::keyClick(view, Qt::Key_F2);
    QVERIFY(Editor(frame));
    QTest::keyClick(Editor(frame), Qt::Key_Escape);
    QTRY_VERIFY(!Editor(frame));
    QVERIFY(QFile::exists(fixture.Path("a.xls")));
}

void TFileOperationsTest::menuItems()
{
    TFixture fixture;
    TExplorerFrame frame;
    fixture.Show(frame);
    auto* menu = frame.findChild<QMenu*>(QStringLiteral("PopupMenuExplorer"));
    QStringList names;
    for (QAction* item : menu->actions())
        names.append(item->objectName());
    QCOMPARE(names, QStringList({"MenuItemOpen", "MenuItemRename", "MenuItemDelete", "MenuItemSep",
                                 "MenuItemLIco", "MenuItemSIco", "MenuItemList", "MenuItemRprt"}));
    QCOMPARE(menu->defaultAction(), frame.MenuItemOpen());
    QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("P&ervadinti"));
    QCOMPARE(menu->actions().at(2)->text(), QStringLiteral("Naikin&ti"));

    // Opening the menu sets the items; no selection hides the entry items.
    menu->popup(QPoint(0, 0));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(!menu->actions().at(0)->isVisible());
    QVERIFY(menu->actions().at(4)->isVisible());
    menu->hide();
    frame.SetLocked(true);
    frame.SelectIndexes({RowOf(frame, "a.xls")});
    menu->popup(QPoint(0, 0));
    QTRY_VERIFY(menu->isVisible());
    menu->hide();
    QVERIFY(menu->actions().at(2)->isVisible());
    QVERIFY(frame.MenuItemOpen()->isEnabled());
    QVERIFY(!menu->actions().at(1)->isEnabled());
    QVERIFY(!menu->actions().at(2)->isEnabled());
}

void TFileOperationsTest::keys()
{
    TFixture fixture;
    TRecordingShell shell;
    TExplorerFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QListView* view = ListView(frame);
    view->setFocus();
    QSignalSpy listed(&frame, &TExplorerFrame::Listed);

    // No root: F5 reads nothing.
    QTest::keyClick(view, Qt::Key_F5);
    QCOMPARE(listed.count(), 0);

    fixture.Show(frame);
    listed.clear();
    // At the root Backspace does nothing.
    QTest::keyClick(view, Qt::Key_Backspace);
    QCOMPARE(listed.count(), 0);
    QCOMPARE(frame.SubDir(), QString());

    // F5 reads the folder again.
    WriteFile(fixture.Path("new.xls"), "n");
    QTest::keyClick(view, Qt::Key_F5);
    QVERIFY(listed.count() >= 1);
    QVERIFY(Names(frame.Entries()).contains("new.xls"));

    // The Delete key deletes nothing and asks nothing.
    frame.SelectIndexes({RowOf(frame, "a.xls")});
    QTest::keyClick(view, Qt::Key_Delete);
    QVERIFY(MessageDlgScript::Asked().isEmpty());
    QVERIFY(shell.Trashed.isEmpty());

    // Backspace goes up from a sub-folder.
    frame.SetSubDir(QStringLiteral("sub/"));
    QTest::keyClick(view, Qt::Key_Backspace);
    QCOMPARE(frame.SubDir(), QString());
}

void TFileOperationsTest::deleteAsksAndTrashesInListOrder_data()
{
    QTest::addColumn<QStringList>("selected"); // in the order they are selected
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question");    // %1 stands for the folder
    QTest::addColumn<QStringList>("trashed"); // in list order

    QTest::newRow("one file") << QStringList{"c.xls"} << int(mrYes)
                              << "Ar tikrai norite ištrinti bylą \"%1/c.xls\"?"
                              << QStringList{"c.xls"};
    QTest::newRow("three entries with a folder")
        << QStringList{"t.xlt", "sub", "a.xls"} << int(mrYes)
        << "Ar tikrai norite ištrinti šias 3 bylas?" << QStringList{"sub", "a.xls", "t.xlt"};
    QTest::newRow("answered No") << QStringList{"a.xls"} << int(mrNo)
                                 << "Ar tikrai norite ištrinti bylą \"%1/a.xls\"?" << QStringList();
}

void TFileOperationsTest::deleteAsksAndTrashesInListOrder()
{
    QFETCH(QStringList, selected);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(QStringList, trashed);
    TFixture fixture;
    TRecordingShell shell;
    TExplorerFrame frame;
    fixture.Show(frame);
    QList<int> rows;
    for (const QString& name : selected)
        rows.append(RowOf(frame, name));
    frame.SelectIndexes(rows);
    MessageDlgScript::PushAnswer(answer);
    QSignalSpy listed(&frame, &TExplorerFrame::Listed);
    frame.MenuItemDeleteClick();

    const QString folder = fixture.Path(QString()).chopped(1);
    QCOMPARE(AskedTexts(), QStringList{question.contains("%1") ? question.arg(folder) : question});
    QCOMPARE(MessageDlgScript::Asked().first().Type, TMsgDlgType::Confirmation);
    QCOMPARE(MessageDlgScript::Asked().first().Buttons, TMsgDlgButtons(mbYes | mbNo));
    if (trashed.isEmpty()) {
        QVERIFY(shell.Trashed.isEmpty());
        QCOMPARE(listed.count(), 0);
        return;
    }
    QStringList paths;
    for (const QString& name : trashed)
        paths.append(fixture.Path(name));
    QCOMPARE(shell.Trashed, QList<QStringList>{paths});
    QCOMPARE(listed.count(), 1);
}

void TFileOperationsTest::deletePartialFailureListedOnce()
{
    TFixture fixture;
    TRecordingShell shell;
    shell.TrashFailures = {fixture.Path("a.xls"), fixture.Path("t.xlt")};
    TExplorerFrame frame;
    fixture.Show(frame);
    frame.SelectIndexes({RowOf(frame, "a.xls"), RowOf(frame, "c.xls"), RowOf(frame, "t.xlt")});
    MessageDlgScript::PushAnswer(mrYes);
    frame.MenuItemDeleteClick();
    const QList<MessageDlgScript::TAsked> asked = MessageDlgScript::Asked();
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked.at(1).Text, QStringLiteral("Šių bylų nepavyko perkelti į šiukšlinę:\n") +
                                   fixture.Path("a.xls") + '\n' + fixture.Path("t.xlt"));
    QCOMPARE(asked.at(1).Buttons, TMsgDlgButtons(mbOK));
}

void TFileOperationsTest::deleteFolderToRealTrash()
{
    // The home with its trash beside the shown folder, on the same file
    // system.
    TFixture fixture(QStringLiteral("work"));
    const QByteArray home = qgetenv("HOME"), dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", QFile::encodeName(fixture.Temp() + "/home"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(fixture.Temp() + "/home/.local/share"));
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", home);
        qputenv("XDG_DATA_HOME", dataHome);
    });
    TExplorerFrame frame;
    fixture.Show(frame);
    frame.SelectIndexes({RowOf(frame, "sub")});
    MessageDlgScript::PushAnswer(mrYes);
    frame.MenuItemDeleteClick();

    QCOMPARE(AskedTexts().size(), 1);
    const QString trash =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash";
    QVERIFY2(trash.startsWith(fixture.Temp()), qPrintable(trash));
    QCOMPARE(ReadAll(trash + "/files/sub/inside.xls"), QByteArray("inside"));
    QVERIFY(ReadAll(trash + "/info/sub.trashinfo").startsWith("[Trash Info]\n"));
    QVERIFY(!QFile::exists(fixture.Path("sub")));
    QCOMPARE(Names(frame.Entries()), QStringList({"a.xls", "c.xls", "t.xlt"}));
}

void TFileOperationsTest::changeDuringRenameQuestion_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("files"); // the workbooks afterwards
    // A new entry moves the renamed one down the list; the entry is found
    // again by its path.
    QTest::newRow("entry created before it")
        << "create" << QStringList({"0.xls", "c.xls", "~a.xls"});
    // The renamed entry is gone: nothing else takes its name.
    QTest::newRow("entry removed") << "remove" << QStringList({"c.xls"});
}

void TFileOperationsTest::changeDuringRenameQuestion()
{
    QFETCH(QString, change);
    QFETCH(QStringList, files);
    MessageDlgScript::Reset(false);
    TFixture fixture;
    TExplorerFrame frame;
    frame.SetHideMasks(QStringLiteral("~*"));
    fixture.Show(frame);
    AnswerYesAfter([&] {
        QSignalSpy listed(&frame, &TExplorerFrame::Listed);
        if (change == "create")
            WriteFile(fixture.Path("0.xls"), "0");
        else
            QVERIFY(QFile::remove(fixture.Path("a.xls")));
        QVERIFY(listed.wait());
    });
    frame.ListViewEdited(RowOf(frame, "a.xls"), QStringLiteral("~a"));
    QCOMPARE(QDir(fixture.Path(QString())).entryList({"*.xls"}, QDir::Files | QDir::Hidden), files);
    if (change == "create")
        QCOMPARE(ReadAll(fixture.Path("~a.xls")), QByteArray("a"));
}

void TFileOperationsTest::changeDuringDeleteQuestion()
{
    MessageDlgScript::Reset(false);
    TFixture fixture;
    TRecordingShell shell;
    TExplorerFrame frame;
    fixture.Show(frame);
    frame.SelectIndexes({RowOf(frame, "c.xls")});
    AnswerYesAfter([&] {
        QSignalSpy listed(&frame, &TExplorerFrame::Listed);
        WriteFile(fixture.Path("0.xls"), "0");
        QVERIFY(listed.wait());
    });
    frame.MenuItemDeleteClick();
    // The re-read ended the selection: nothing is deleted.
    QVERIFY(shell.Trashed.isEmpty());
}

QTEST_MAIN(TFileOperationsTest)
#include "tst_FileOperations.moc"
