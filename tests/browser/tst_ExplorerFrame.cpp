#include "uBrowserTestFiles.h"
#include "uError.h"
#include "uExplorerFrame.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

namespace {

// A folder tree of the shape the tests need: two files of 0 and 1500 bytes,
// a hidden file and the sub-folders a/ and a/b/ with one file each.
class TFixture
{
public:
    TFixture()
    {
        WriteFile(Path("empty.xls"), 0);
        WriteFile(Path("form.xls"), 1500);
        WriteFile(Path(".lock"), 10);
        QDir(FDir.path()).mkpath(QStringLiteral("a/b"));
        WriteFile(Path("a/in_a.xls"), 1);
        WriteFile(Path("a/b/in_b.xls"), 1);
    }
    QString Root() const { return FDir.path(); }
    QString Path(const char* name) const { return FDir.filePath(QLatin1String(name)); }

private:
    QTemporaryDir FDir;
};

} // namespace

class TExplorerFrameTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void listsFolder();
    void missingFolderEmptiesList();
    void emptyRootShowsNothing();
    void upNavigation();
    void sameMaskTextChangesNothing();
    void invalidMaskRaisesOnce();
    void viewStyleSwitching_data();
    void viewStyleSwitching();
    void selectionSharedByStyles();
    void listStylesShowWholeNames();
    void openAction();
    void openEntersFolder();
    void fileListAppends();
    void ownerStatusPanel();
    void takesWindowColour();
};

void TExplorerFrameTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::Lithuanian, QLocale::Lithuania));
}

void TExplorerFrameTest::listsFolder()
{
    TFixture fixture;
    TExplorerFrame frame;
    QSignalSpy listed(&frame, &TExplorerFrame::Listed);
    frame.SetRootDir(fixture.Root());
    QCOMPARE(frame.RootDir(), fixture.Root() + QLatin1Char('/'));
    QCOMPARE(listed.count(), 0);
    frame.SetSubDir(QString());

    QCOMPARE(listed.count(), 1);
    QCOMPARE(Names(frame.Entries()), QStringList({"a", ".lock", "empty.xls", "form.xls"}));
    QCOMPARE(frame.Entries()[2].SizeText, QStringLiteral("1 KB"));
    QCOMPARE(frame.Entries()[3].SizeText, QStringLiteral("1 KB"));
    QCOMPARE(frame.StatusText(0), QStringLiteral("Objektų: 4"));
    QCOMPARE(frame.StatusText(1), QStringLiteral("1,47 KB"));
    QCOMPARE(frame.findChild<QLabel*>(QStringLiteral("StaticText"))->text(), frame.RootDir());
    QVERIFY(!frame.findChild<QToolButton*>(QStringLiteral("ButtonUDir"))->isEnabled());

    // The masks filter files, never folders, and only from the next read on.
    frame.SetIncludeMasks(QStringLiteral("*.xls"));
    frame.SetHideMasks(QStringLiteral("e*"));
    QCOMPARE(frame.Entries().size(), 4);
    frame.SetSubDir(QString());
    QCOMPARE(Names(frame.Entries()), QStringList({"a", "form.xls"}));
    QCOMPARE(frame.StatusText(0), QStringLiteral("Objektų: 2"));
    QCOMPARE(frame.StatusText(1), QStringLiteral("1,46 KB"));
}

void TExplorerFrameTest::missingFolderEmptiesList()
{
    TFixture fixture;
    TExplorerFrame frame;
    frame.SetRootDir(fixture.Root());
    frame.SetSubDir(QStringLiteral("a/"));
    QCOMPARE(Names(frame.Entries()), QStringList({"b", "in_a.xls"}));

    QVERIFY(QDir(fixture.Path("a")).removeRecursively());
    QSignalSpy listed(&frame, &TExplorerFrame::Listed);
    frame.SetSubDir(QStringLiteral("a/"));
    QCOMPARE(listed.count(), 1);
    QVERIFY(frame.Entries().isEmpty());
    QCOMPARE(frame.StatusText(0), QStringLiteral("Objektų: 0"));
    QCOMPARE(frame.StatusText(1), QStringLiteral("0 B"));
    QCOMPARE(frame.findChild<QLabel*>(QStringLiteral("StaticText"))->text(),
             frame.RootDir() + QStringLiteral("a/"));
    QVERIFY(frame.findChild<QToolButton*>(QStringLiteral("ButtonUDir"))->isEnabled());
}

void TExplorerFrameTest::emptyRootShowsNothing()
{
    TFixture fixture;
    TExplorerFrame frame;
    frame.SetRootDir(fixture.Root());
    frame.SetSubDir(QString());
    QVERIFY(!frame.Entries().isEmpty());

    frame.SetRootDir(QString());
    frame.SetSubDir(QString());
    QVERIFY(frame.Entries().isEmpty());
    QCOMPARE(frame.StatusText(0), QStringLiteral("Objektų: 0"));
    QCOMPARE(frame.StatusText(1), QStringLiteral("0 B"));
    QCOMPARE(frame.findChild<QLabel*>(QStringLiteral("StaticText"))->text(), QString());
}

void TExplorerFrameTest::upNavigation()
{
    TFixture fixture;
    TExplorerFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    auto* up = frame.findChild<QToolButton*>(QStringLiteral("ButtonUDir"));
    frame.SetRootDir(fixture.Root());
    frame.SetSubDir(QStringLiteral("a/b/"));
    QCOMPARE(Names(frame.Entries()), QStringList({"in_b.xls"}));

    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(frame.SubDir(), QStringLiteral("a/"));
    QCOMPARE(Names(frame.Entries()), QStringList({"b", "in_a.xls"}));
    QVERIFY(up->isEnabled());

    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(frame.SubDir(), QString());
    QCOMPARE(frame.Entries().size(), 4);
    QVERIFY(!up->isEnabled());

    QSignalSpy listed(&frame, &TExplorerFrame::Listed);
    frame.ButtonUDirClick();
    QCOMPARE(listed.count(), 0);
    QCOMPARE(frame.SubDir(), QString());
}

void TExplorerFrameTest::sameMaskTextChangesNothing()
{
    TExplorerFrame frame;
    QStatusBar* bar = frame.StatusBar();
    QCOMPARE(bar->toolTip(), QString());
    frame.SetIncludeMasks(QStringLiteral("*.xls;*.xlt"));
    frame.SetHideMasks(QStringLiteral("~*"));
    QCOMPARE(bar->toolTip(), QStringLiteral("Įtraukti: *.xls;*.xlt\nPaslėpti: ~*"));

    // The owner puts its own hint; setting the held texts again keeps it.
    bar->setToolTip(QStringLiteral("owner"));
    frame.SetIncludeMasks(QStringLiteral("*.xls;*.xlt"));
    frame.SetHideMasks(QStringLiteral("~*"));
    QCOMPARE(bar->toolTip(), QStringLiteral("owner"));

    frame.SetIncludeMasks(QString());
    QCOMPARE(bar->toolTip(), QStringLiteral("Įtraukti: \nPaslėpti: ~*"));
    frame.SetHideMasks(QString());
    QCOMPARE(bar->toolTip(), QString());
}

void TExplorerFrameTest::invalidMaskRaisesOnce()
{
    TExplorerFrame frame;
    QVERIFY_THROWS_EXCEPTION(EAppError, frame.SetIncludeMasks(QStringLiteral("*.xls;[a")));
    QCOMPARE(frame.IncludeMasks(), QStringLiteral("*.xls;[a"));
    frame.SetIncludeMasks(QStringLiteral("*.xls;[a"));
}

void TExplorerFrameTest::viewStyleSwitching_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("item");
    QTest::newRow("large icons") << 0 << "ButtonLIco"
                                 << "MenuItemLIco";
    QTest::newRow("small icons") << 1 << "ButtonSIco"
                                 << "MenuItemSIco";
    QTest::newRow("list") << 2 << "ButtonList"
                          << "MenuItemList";
    QTest::newRow("details") << 3 << "ButtonRprt"
                             << "MenuItemRprt";
}

void TExplorerFrameTest::viewStyleSwitching()
{
    QFETCH(int, style);
    QFETCH(QString, button);
    QFETCH(QString, item);
    TExplorerFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    auto* pressed = frame.findChild<QToolButton*>(button);
    auto* checked = frame.findChild<QAction*>(item);
    QVERIFY(pressed && checked);
    auto* details = frame.findChild<QTreeView*>(QStringLiteral("ListViewReport"));
    const auto checkStyle = [&] {
        QCOMPARE(frame.ViewStyle(), style);
        QVERIFY(pressed && pressed->isChecked());
        QVERIFY(checked && checked->isChecked());
        QCOMPARE(details->isVisible(), style == 3);
        const auto buttons = frame.findChildren<QToolButton*>();
        for (const QToolButton* other : buttons)
            QVERIFY(other == pressed || !other->isChecked());
    };

    // Start away from the style under test, then reach it three ways.
    frame.SetViewStyle((style + 1) % 4);
    QTest::mouseClick(pressed, Qt::LeftButton);
    checkStyle();

    frame.SetViewStyle((style + 1) % 4);
    checked->trigger();
    checkStyle();

    frame.SetViewStyle((style + 1) % 4);
    frame.SetViewStyle(style);
    checkStyle();
}

void TExplorerFrameTest::selectionSharedByStyles()
{
    TFixture fixture;
    TExplorerFrame frame;
    frame.SetRootDir(fixture.Root());
    frame.SetSubDir(QString());
    frame.SelectIndexes({1, 3});
    frame.SetViewStyle(3);
    QCOMPARE(frame.SelectedIndexes(), QList<int>({1, 3}));
    frame.SetViewStyle(2);
    QCOMPARE(frame.SelectedCount(), 2);
    QCOMPARE(Names(frame.SelectedEntries()), QStringList({".lock", "form.xls"}));
}

void TExplorerFrameTest::listStylesShowWholeNames()
{
    // All entries share one item size, which must hold the widest name.
    TFixture fixture;
    WriteFile(fixture.Path("Ataskaita apie pajamas 2010 metų sausio mėnesį.xls"), 1);
    TExplorerFrame frame;
    frame.resize(600, 400);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.SetRootDir(fixture.Root());
    frame.SetSubDir(QString());
    auto* view = frame.findChild<QListView*>(QStringLiteral("ListView"));
    for (int style : {1, 2}) {
        frame.SetViewStyle(style);
        QApplication::processEvents();
        for (int row = 0; row < frame.Entries().size(); ++row) {
            const QRect item = view->visualRect(view->model()->index(row, 0));
            QVERIFY2(item.width() >
                         view->fontMetrics().horizontalAdvance(frame.Entries()[row].Name) +
                             view->iconSize().width(),
                     qPrintable(frame.Entries()[row].Name));
        }
    }
}

void TExplorerFrameTest::openAction()
{
    TFixture fixture;
    TExplorerFrame frame;
    frame.resize(400, 300);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    int opened = 0;
    QStringList openedPaths;
    frame.SetOnOpen([&] {
        ++opened;
        for (const TListEntry& entry : frame.SelectedEntries())
            openedPaths.append(entry.Path);
    });
    frame.SetRootDir(fixture.Root());
    frame.SetSubDir(QString());
    auto* view = frame.findChild<QListView*>(QStringLiteral("ListView"));

    // Nothing selected: nothing opens.
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(opened, 0);

    frame.SelectIndexes({3});
    const QRect item = view->visualRect(view->model()->index(3, 0));
    QVERIFY(item.isValid());
    // A double click arrives after the press and release of its first click.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QCOMPARE(opened, 1);
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(opened, 2);
    frame.MenuItemOpen()->trigger();
    QCOMPARE(opened, 3);
    QCOMPARE(openedPaths, QStringList(3, fixture.Path("form.xls")));
    QCOMPARE(frame.SubDir(), QString());
}

void TExplorerFrameTest::openEntersFolder()
{
    TFixture fixture;
    TExplorerFrame frame;
    int opened = 0, selectedWhenOpened = -1;
    frame.SetOnOpen([&] {
        ++opened;
        selectedWhenOpened = frame.SelectedCount();
    });
    frame.SetRootDir(fixture.Root());
    frame.SetSubDir(QString());
    frame.SelectIndexes({0});
    frame.MenuItemOpen()->trigger();
    QCOMPARE(frame.SubDir(), QStringLiteral("a/"));
    QCOMPARE(Names(frame.Entries()), QStringList({"b", "in_a.xls"}));
    QCOMPARE(opened, 1);
    QCOMPARE(selectedWhenOpened, 0);

    // With a file selected too, the folder is not entered.
    frame.SelectIndexes({0, 1});
    frame.MenuItemOpen()->trigger();
    QCOMPARE(frame.SubDir(), QStringLiteral("a/"));
    QCOMPARE(opened, 2);
    QCOMPARE(selectedWhenOpened, 2);
}

void TExplorerFrameTest::fileListAppends()
{
    TFixture fixture;
    TExplorerFrame frame;
    QSignalSpy listed(&frame, &TExplorerFrame::Listed);
    frame.SetRootDir(fixture.Root());
    frame.SetSubDir(QString());
    frame.Clear();
    frame.SetRootDir(QString());
    frame.SetSubDir(QString());
    frame.AddFileList({QStringLiteral("Forma 1=") + fixture.Path("form.xls"),
                       QStringLiteral("Forma 2=") + fixture.Path("AF/f2.xls")},
                      true);
    QCOMPARE(listed.count(), 3);
    QCOMPARE(Names(frame.Entries()), QStringList({"Forma 1", "f2.xls"}));
    QCOMPARE(frame.Entries()[1].Path, fixture.Path("AF/f2.xls"));
    QCOMPARE(frame.StatusText(0), QStringLiteral("Objektų: 2"));
    QCOMPARE(frame.StatusText(1), QStringLiteral("1,46 KB"));

    // A second call keeps the entries; the size is that of the files it added.
    frame.AddFileList({fixture.Path("a/in_a.xls")}, false);
    QCOMPARE(Names(frame.Entries()), QStringList({"Forma 1", "f2.xls", "in_a.xls"}));
    QCOMPARE(frame.StatusText(0), QStringLiteral("Objektų: 3"));
    QCOMPARE(frame.StatusText(1), QStringLiteral("1 B"));
    QVERIFY(!frame.findChild<QToolButton*>(QStringLiteral("ButtonUDir"))->isEnabled());
}

void TExplorerFrameTest::ownerStatusPanel()
{
    TFixture fixture;
    TExplorerFrame frame;
    auto* panel = new QLabel(QStringLiteral("v"));
    frame.AddStatusPanel(panel, 30);
    frame.SetRootDir(fixture.Root());
    frame.SetSubDir(QString());
    QCOMPARE(frame.StatusText(2), QStringLiteral("v"));
    QCOMPARE(panel->parentWidget(), frame.StatusBar());
    QCOMPARE(panel->width(), 30);
}

void TExplorerFrameTest::takesWindowColour()
{
    QWidget window;
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(255, 241, 206));
    window.setPalette(palette);
    auto* frame = new TExplorerFrame(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<QWidget*> parts = {frame, frame->StatusBar(),
                                   frame->findChild<QWidget*>(QStringLiteral("PanelTop"))};
    for (QWidget* part : parts)
        QCOMPARE(part->palette().color(QPalette::Window), QColor(255, 241, 206));
}

QTEST_MAIN(TExplorerFrameTest)
#include "tst_ExplorerFrame.moc"
