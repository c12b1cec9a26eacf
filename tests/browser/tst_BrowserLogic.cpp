#include "uBrowserPaths.h"
#include "uBrowserTestFiles.h"
#include "uDateText.h"
#include "uEntryOrder.h"
#include "uError.h"
#include "uFileOperations.h"
#include "uFolderReader.h"
#include "uMaskFilter.h"
#include "uSizeText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>
#include <memory>

class TBrowserLogicTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void maskFilter_data();
    void maskFilter();
    void invalidMask_data();
    void invalidMask();
    void invalidPieceKeepsEarlierMasks();

    void entryOrder_data();
    void entryOrder();

    void fileSizeText_data();
    void fileSizeText();
    void totalSizeText_data();
    void totalSizeText();

    void dateText_data();
    void dateText();

    void readFolder();
    void readFolderFilters();
    void readMissingFolder();
    void readFileList_data();
    void readFileList();

    void parentSubDir_data();
    void parentSubDir();
    void renamedPath_data();
    void renamedPath();
    void canRenamePath_data();
    void canRenamePath();
    void renameNeverReplaces();
    void menuState_data();
    void menuState();
    void deleteQuestion();

private:
    std::unique_ptr<TDateTextFormat> FDates;
};

void TBrowserLogicTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    // A zone with summer time shows whether dates take the offset of their
    // own day.
    qputenv("TZ", "Europe/Vilnius");
    tzset();
    FDates = std::make_unique<TDateTextFormat>(QLocale(QLocale::Lithuanian, QLocale::Lithuania));
}

void TBrowserLogicTest::init()
{
    QLocale::setDefault(QLocale(QLocale::Lithuanian, QLocale::Lithuania));
}

void TBrowserLogicTest::maskFilter_data()
{
    QTest::addColumn<QString>("include");
    QTest::addColumn<QString>("hide");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("passes");
    QTest::addColumn<int>("includeCount");
    QTest::addColumn<int>("hideCount");

    QTest::newRow("no masks") << ""
                              << ""
                              << "any.txt" << true << 0 << 0;
    QTest::newRow("include * is no mask") << "*"
                                          << ""
                                          << "any.txt" << true << 0 << 0;
    QTest::newRow("hide * hides nothing") << ""
                                          << "*"
                                          << "any.txt" << true << 0 << 0;
    QTest::newRow("single characters dropped") << "a;b"
                                               << ""
                                               << "c" << true << 0 << 0;
    QTest::newRow("empty pieces dropped") << ";;*.xls;"
                                          << ""
                                          << "a.xls" << true << 1 << 0;
    QTest::newRow("empty pieces, other name") << ";;*.xls;"
                                              << ""
                                              << "a.xlt" << false << 1 << 0;
    QTest::newRow("second include mask") << "*.xls;*.xlt"
                                         << "~*"
                                         << "t.xlt" << true << 2 << 1;
    QTest::newRow("hidden lock file") << "*.xls;*.xlt"
                                      << "~*"
                                      << "~$a.xls" << false << 2 << 1;
    QTest::newRow("not included") << "*.xls;*.xlt"
                                  << "~*"
                                  << "a.doc" << false << 2 << 1;
    QTest::newRow("Latin letters ignore case") << "*.xls"
                                               << ""
                                               << "AF.XLS" << true << 1 << 0;
    QTest::newRow("other letters keep case") << "ą*"
                                             << ""
                                             << "Ąžuolas.xls" << false << 1 << 0;
    QTest::newRow("same letter with diacritic") << "ą*"
                                                << ""
                                                << "ąžuolas.xls" << true << 1 << 0;
    QTest::newRow("whole name must match") << "*.xls"
                                           << ""
                                           << "a.xlsx" << false << 1 << 0;
    QTest::newRow("star matches none") << "a*b"
                                       << ""
                                       << "ab" << true << 1 << 0;
    QTest::newRow("star backtracks") << "*ab*ab"
                                     << ""
                                     << "xabyabab" << true << 1 << 0;
    QTest::newRow("question mark one") << "a?c"
                                       << ""
                                       << "abc" << true << 1 << 0;
    QTest::newRow("question mark not none") << "a?c"
                                            << ""
                                            << "ac" << false << 1 << 0;
    QTest::newRow("question mark after star adds nothing") << "a*?"
                                                           << ""
                                                           << "a" << true << 1 << 0;
    QTest::newRow("questions after star add nothing") << "*??x"
                                                      << ""
                                                      << "x" << true << 1 << 0;
    QTest::newRow("question before star counts") << "?*"
                                                 << ""
                                                 << "" << false << 1 << 0;
    QTest::newRow("set") << "[abc]1"
                         << ""
                         << "B1" << true << 1 << 0;
    QTest::newRow("set misses") << "[abc]1"
                                << ""
                                << "d1" << false << 1 << 0;
    QTest::newRow("range") << "AF[0-9].xls"
                           << ""
                           << "af5.xls" << true << 1 << 0;
    QTest::newRow("range of letters ignores case") << "[a-c]x"
                                                   << ""
                                                   << "Bx" << true << 1 << 0;
    QTest::newRow("negated set") << "[!0-9]*"
                                 << ""
                                 << "5a" << false << 1 << 0;
    QTest::newRow("negated set passes") << "[!0-9]*"
                                        << ""
                                        << "a5" << true << 1 << 0;
    QTest::newRow("dash before bracket is itself") << "a[x-]"
                                                   << ""
                                                   << "a-" << true << 1 << 0;
    QTest::newRow("bracket alone is itself") << "a]"
                                             << ""
                                             << "a]" << true << 1 << 0;
    QTest::newRow("thirty star runs")
        << QString(QStringLiteral("*a")).repeated(30) << ""
        << QString(QStringLiteral("a")).repeated(30) << true << 1 << 0;
}

void TBrowserLogicTest::maskFilter()
{
    QFETCH(QString, include);
    QFETCH(QString, hide);
    QFETCH(QString, name);
    TMaskFilter filter;
    filter.SetIncludeMasks(include);
    filter.SetHideMasks(hide);
    QTEST(filter.Passes(name), "passes");
    QTEST(int(filter.IncludeList().Count()), "includeCount");
    QTEST(int(filter.HideList().Count()), "hideCount");
}

void TBrowserLogicTest::invalidMask_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("position");

    QTest::newRow("set not closed") << "a[bc" << 5;
    QTest::newRow("range not closed") << "[a-" << 4;
    QTest::newRow("empty set") << "a[]" << 3;
    QTest::newRow("empty negated set") << "[!]x" << 3;
    QTest::newRow("reversed range only") << "[z-a]" << 5;
    QTest::newRow("set begins with dash") << "x[-a]" << 3;
    QTest::newRow("negated set begins with dash") << "[!-a]" << 3;
    QTest::newRow("thirty-one star runs") << QString(QStringLiteral("a*")).repeated(31) << 62;
}

void TBrowserLogicTest::invalidMask()
{
    QFETCH(QString, mask);
    QFETCH(int, position);
    try {
        TFileMask compiled(mask);
        QFAIL("the mask was accepted");
    } catch (const EAppError& error) {
        QCOMPARE(error.Message(),
                 QStringLiteral("'%1' is an invalid mask at (%2)").arg(mask).arg(position));
    }
}

void TBrowserLogicTest::invalidPieceKeepsEarlierMasks()
{
    TMaskFilter filter;
    QVERIFY_THROWS_EXCEPTION(EAppError, filter.SetIncludeMasks(QStringLiteral("*.xls;[x;*.xlt")));
    // The text is kept, so setting it again changes (and raises) nothing.
    QCOMPARE(filter.IncludeMasks(), QStringLiteral("*.xls;[x;*.xlt"));
    QCOMPARE(filter.IncludeList().Count(), 1);
    QVERIFY(filter.Passes(QStringLiteral("a.xls")));
    QVERIFY(!filter.Passes(QStringLiteral("a.xlt")));
    QVERIFY(!filter.SetIncludeMasks(QStringLiteral("*.xls;[x;*.xlt")));
}

void TBrowserLogicTest::entryOrder_data()
{
    QTest::addColumn<QString>("firstKind");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QString>("secondKind");
    QTest::addColumn<QString>("secondName");

    QTest::newRow("folders before files") << "dir"
                                          << "zz"
                                          << "file"
                                          << "aa";
    QTest::newRow("case ignored") << "file"
                                  << "b.xls"
                                  << "file"
                                  << "C.xls";
    QTest::newRow("diacritics after Z") << "file"
                                        << "Zuikis"
                                        << "file"
                                        << "Žemė";
    QTest::newRow("small diacritics after Z") << "file"
                                              << "zuikis"
                                              << "file"
                                              << "ąžuolas";
    QTest::newRow("Ą before Č") << "file"
                                << "ąžuolas"
                                << "file"
                                << "Čiauduly";
}

void TBrowserLogicTest::entryOrder()
{
    QFETCH(QString, firstKind);
    QFETCH(QString, firstName);
    QFETCH(QString, secondKind);
    QFETCH(QString, secondName);
    TListEntry first, second;
    first.Kind = firstKind;
    first.Name = firstName;
    second.Kind = secondKind;
    second.Name = secondName;
    QVERIFY(CompareEntries(first, second) < 0);
    QVERIFY(CompareEntries(second, first) > 0);

    QList<TListEntry> entries{second, first};
    SortEntries(entries);
    QCOMPARE(Names(entries), QStringList({firstName, secondName}));
}

void TBrowserLogicTest::fileSizeText_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << qint64(0) << "1 KB";
    QTest::newRow("below 2 KB") << qint64(2047) << "1 KB";
    QTest::newRow("2 KB") << qint64(2048) << "2 KB";
    QTest::newRow("beyond 2 GiB") << qint64(5) * 1024 * 1024 * 1024 << "5242880 KB";
}

void TBrowserLogicTest::fileSizeText()
{
    QFETCH(qint64, size);
    QTEST(FileSizeText(size), "text");
}

void TBrowserLogicTest::totalSizeText_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");

    const QLocale lt(QLocale::Lithuanian, QLocale::Lithuania);
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("negative") << qint64(-1) << lt << "";
    QTest::newRow("zero") << qint64(0) << lt << "0 B";
    QTest::newRow("bytes") << qint64(1023) << lt << "1023 B";
    QTest::newRow("1 KB") << qint64(1024) << lt << "1 KB";
    QTest::newRow("1500 bytes") << qint64(1500) << lt << "1,46 KB";
    QTest::newRow("1500 bytes, point") << qint64(1500) << en << "1.46 KB";
    QTest::newRow("one and a half") << qint64(1536) << lt << "1,5 KB";
    QTest::newRow("ten") << qint64(10240) << lt << "10 KB";
    QTest::newRow("half rounds up") << qint64(1152) << lt << "1,13 KB";
    QTest::newRow("three integer digits") << qint64(1024) * 999 << lt << "999 KB";
    QTest::newRow("four digits") << qint64(1024) * 1023 << lt << "1,02E03 KB";
    QTest::newRow("four digits, point") << qint64(1024) * 1023 << en << "1.02E03 KB";
    QTest::newRow("rounds to four digits") << qint64(1024) * 9995 / 10 << lt << "1E03 KB";
    QTest::newRow("1 MB") << qint64(1024) * 1024 << lt << "1 MB";
    QTest::newRow("MB") << qint64(1024) * 1024 * 25 / 2 << lt << "12,5 MB";
    QTest::newRow("GB") << qint64(1024) * 1024 * 1024 * 3 << lt << "3 GB";
    QTest::newRow("thousands of GB") << qint64(1024) * 1024 * 1024 * 1500 << lt << "1,5E03 GB";
}

void TBrowserLogicTest::totalSizeText()
{
    QFETCH(qint64, size);
    QFETCH(QLocale, locale);
    QTEST(TotalSizeText(size, locale), "text");
}

void TBrowserLogicTest::dateText_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("text");

    QTest::newRow("winter") << QDateTime(QDate(2010, 1, 2), QTime(3, 4, 59), Qt::UTC)
                            << "2010-01-02 05:04";
    QTest::newRow("summer") << QDateTime(QDate(2010, 7, 1), QTime(22, 30, 0), Qt::UTC)
                            << "2010-07-02 01:30";
    QTest::newRow("same minute, other day")
        << QDateTime(QDate(2010, 1, 3), QTime(3, 4, 0), Qt::UTC) << "2010-01-03 05:04";
}

void TBrowserLogicTest::dateText()
{
    QFETCH(QDateTime, time);
    // One format for all rows, so that later rows meet the texts it keeps.
    QTEST(FDates->Text(time.toMSecsSinceEpoch()), "text");
}

void TBrowserLogicTest::readFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = dir.path() + QLatin1Char('/');
    WriteFile(root + QStringLiteral("empty.xls"), 0);
    WriteFile(root + QStringLiteral("C.xls"), 1500);
    {
        QFile written(root + QStringLiteral("C.xls"));
        QVERIFY(written.open(QIODevice::ReadWrite));
        QVERIFY(written.setFileTime(QDateTime(QDate(2010, 1, 2), QTime(3, 4, 5), Qt::UTC),
                                    QFileDevice::FileModificationTime));
    }
    WriteFile(root + QStringLiteral("b.xls"), 0);
    WriteFile(root + QStringLiteral("Žemė.xls"), 0);
    WriteFile(root + QStringLiteral("Zuikis.xls"), 0);
    WriteFile(root + QStringLiteral(".hidden"), 0);
    QVERIFY(QDir(root).mkdir(QStringLiteral("zfolder")));
    QVERIFY(QDir(root).mkdir(QStringLiteral("Afolder")));
    QVERIFY(QFile::link(root + QStringLiteral("Afolder"), root + QStringLiteral("link")));
    QVERIFY(QFile::link(root + QStringLiteral("gone"), root + QStringLiteral("broken")));

    TFolderReader reader;
    const TListing listing = reader.ReadFolder(root, TMaskFilter());
    QCOMPARE(Names(listing.Entries),
             QStringList({"Afolder", "link", "zfolder", ".hidden", "b.xls", "broken", "C.xls",
                          "empty.xls", "Zuikis.xls", "Žemė.xls"}));
    QCOMPARE(listing.Total, qint64(1500));
    QCOMPARE(TotalSizeText(listing.Total), QStringLiteral("1,46 KB"));

    const TListEntry& folder = listing.Entries[0];
    QCOMPARE(folder.Kind, QStringLiteral("dir"));
    QCOMPARE(folder.SizeText, QString());
    QCOMPARE(folder.Size, qint64(0));
    QCOMPARE(folder.Path, root + QStringLiteral("Afolder"));
    QVERIFY(!folder.TypeText.isEmpty());

    QCOMPARE(listing.Entries[1].Kind, QStringLiteral("dir"));
    QCOMPARE(listing.Entries[5].Kind, QStringLiteral("file"));
    QCOMPARE(listing.Entries[5].Size, qint64(0));

    const TListEntry& file = listing.Entries[6];
    QCOMPARE(file.Kind, QStringLiteral("file"));
    QCOMPARE(file.Size, qint64(1500));
    QCOMPARE(file.SizeText, QStringLiteral("1 KB"));
    QCOMPARE(listing.Entries[7].SizeText, QStringLiteral("1 KB"));
    QCOMPARE(file.Path, root + QStringLiteral("C.xls"));
    QVERIFY(!file.TypeText.isEmpty());
    QVERIFY(file.TypeText != folder.TypeText);
    QCOMPARE(file.DateText, QStringLiteral("2010-01-02 05:04"));

    // A sub-folder remembered without its final "/" lists the same paths.
    const TListing again = reader.ReadFolder(dir.path(), TMaskFilter());
    QCOMPARE(again.Entries[6].Path, file.Path);
}

void TBrowserLogicTest::readFolderFilters()
{
    QTemporaryDir dir;
    const QString root = dir.path() + QLatin1Char('/');
    for (const char* name : {"a.xls", "~$a.xls", "t.xlt", "notes.txt"})
        WriteFile(root + QLatin1String(name), 10);
    QVERIFY(QDir(root).mkdir(QStringLiteral("folder.txt")));
    TMaskFilter filter;
    filter.SetIncludeMasks(QStringLiteral("*.xls;*.xlt"));
    filter.SetHideMasks(QStringLiteral("~*"));
    const TListing listing = TFolderReader().ReadFolder(root, filter);
    QCOMPARE(Names(listing.Entries), QStringList({"folder.txt", "a.xls", "t.xlt"}));
    QCOMPARE(listing.Total, qint64(20));
}

void TBrowserLogicTest::readMissingFolder()
{
    QTemporaryDir dir;
    const TListing listing =
        TFolderReader().ReadFolder(dir.path() + QStringLiteral("/gone/"), TMaskFilter());
    QVERIFY(listing.Entries.isEmpty());
    QCOMPARE(listing.Total, qint64(0));
}

void TBrowserLogicTest::readFileList_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("pairs");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<qint64>("total");

    // "@" stands for the fixture folder; f1.xls has 1500 bytes, sub/ is a folder.
    QTest::newRow("pair of an existing file")
        << QStringList{"Forma 1=@/f1.xls"} << true << QStringList{"Forma 1"}
        << QStringList{"@/f1.xls"} << QStringList{"file"} << qint64(1500);
    QTest::newRow("pair of a missing file")
        << QStringList{"Forma 2=@/AF/f2.xls"} << true << QStringList{"f2.xls"}
        << QStringList{"@/AF/f2.xls"} << QStringList{"file"} << qint64(0);
    QTest::newRow("a name twice takes its first path")
        << QStringList{"Forma=@/f1.xls", "Kita=@/sub", "forma=@/none.xls"} << true
        << QStringList{"Forma", "Kita", "forma"} << QStringList{"@/f1.xls", "@/sub", "@/f1.xls"}
        << QStringList{"file", "dir", "file"} << qint64(3000);
    QTest::newRow("plain paths keep their order")
        << QStringList{"@/sub", "@/missing.xls", "@/f1.xls"} << false
        << QStringList{"sub", "missing.xls", "f1.xls"}
        << QStringList{"@/sub", "@/missing.xls", "@/f1.xls"} << QStringList{"dir", "file", "file"}
        << qint64(1500);
    QTest::newRow("dot folders and empty lines left out")
        << QStringList{"@/.", "@/sub/..", "", "@/f1.xls"} << false << QStringList{"f1.xls"}
        << QStringList{"@/f1.xls"} << QStringList{"file"} << qint64(1500);
    QTest::newRow("pair without a path left out")
        << QStringList{"Tuščia=", "Be lygybės"} << true << QStringList{} << QStringList{}
        << QStringList{} << qint64(0);
}

void TBrowserLogicTest::readFileList()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, pairs);
    QFETCH(QStringList, paths);
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("f1.xls")), 1500);
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    lines.replaceInStrings(QStringLiteral("@"), dir.path());
    paths.replaceInStrings(QStringLiteral("@"), dir.path());

    const TListing listing = TFolderReader().ReadFileList(lines, pairs);
    QTEST(Names(listing.Entries), "names");
    QStringList gotPaths, kinds;
    for (const TListEntry& entry : listing.Entries) {
        gotPaths.append(entry.Path);
        kinds.append(entry.Kind);
        // A missing file shows nothing but its name, with the generic icon.
        if (!QFileInfo::exists(entry.Path)) {
            QVERIFY(entry.SizeText.isEmpty() && entry.TypeText.isEmpty() &&
                    entry.DateText.isEmpty() && entry.IconKey.isEmpty());
        } else {
            QVERIFY(!entry.TypeText.isEmpty() && !entry.DateText.isEmpty());
        }
    }
    QCOMPARE(gotPaths, paths);
    QTEST(kinds, "kinds");
    QTEST(listing.Total, "total");
}

void TBrowserLogicTest::parentSubDir_data()
{
    QTest::addColumn<QString>("subDir");
    QTest::addColumn<QString>("parent");

    QTest::newRow("two levels") << "2010/Sausis/"
                                << "2010/";
    QTest::newRow("one level") << "2010/"
                               << "";
    QTest::newRow("history file in the root") << "Bylos siųstos 10-01-02.zbx"
                                              << "";
    QTest::newRow("history file in a folder") << "2010/Bylos.zbx"
                                              << "2010/";
    QTest::newRow("without final delimiter") << "a/b"
                                             << "a/";
}

void TBrowserLogicTest::parentSubDir()
{
    QFETCH(QString, subDir);
    QTEST(ParentSubDir(subDir), "parent");
}

void TBrowserLogicTest::renamedPath_data()
{
    QTest::addColumn<QString>("oldPath");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<QString>("newPath");
    QTest::newRow("extension kept") << "/d/a.xls"
                                    << "b"
                                    << "/d/b.xls";
    QTest::newRow("own extension in other case") << "/d/a.xls"
                                                 << "b.XLS"
                                                 << "/d/b.XLS";
    QTest::newRow("foreign extension is part of the name") << "/d/a.xls"
                                                           << "b.txt"
                                                           << "/d/b.txt.xls";
    QTest::newRow("dot in the folder only") << "/d.x/a"
                                            << "b"
                                            << "/d.x/b";
    QTest::newRow("empty name refused") << "/d/a.xls"
                                        << ""
                                        << "";
    QTest::newRow("slash would leave the folder") << "/d/a.xls"
                                                  << "../b"
                                                  << "";
    QTest::newRow("dot dot refused") << "/d/a.xls"
                                     << ".."
                                     << "";
}

void TBrowserLogicTest::renamedPath()
{
    QFETCH(QString, oldPath);
    QFETCH(QString, edited);
    QTEST(RenamedPath(oldPath, edited), "newPath");
}

void TBrowserLogicTest::canRenamePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("workbook") << "/d/a.xls" << false << true;
    QTest::newRow("workbook upper case") << "/d/A.XLS" << false << true;
    QTest::newRow("workbook locked") << "/d/a.xls" << true << false;
    QTest::newRow("template") << "/d/a.xlt" << false << false;
    QTest::newRow("other file") << "/d/a.xlsx" << false << false;
    QTest::newRow("no extension, dot in folder") << "/d.xls/a" << false << false;
}

void TBrowserLogicTest::canRenamePath()
{
    QFETCH(QString, path);
    QFETCH(bool, locked);
    QTEST(CanRenamePath(path, locked), "allowed");
}

void TBrowserLogicTest::renameNeverReplaces()
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.xls"));
    const QString b = dir.filePath(QStringLiteral("b.xls"));
    WriteFile(a, 1);
    WriteFile(b, 2);
    QVERIFY(!RenameNoReplace(a, b));
    QCOMPARE(QFileInfo(a).size(), 1);
    QCOMPARE(QFileInfo(b).size(), 2);
    const QString c = dir.filePath(QStringLiteral("c.xls"));
    QVERIFY(RenameNoReplace(a, c));
    QVERIFY(!QFile::exists(a));
    QCOMPARE(QFileInfo(c).size(), 1);
    QVERIFY(!RenameNoReplace(a, dir.filePath(QStringLiteral("d.xls"))));
}

void TBrowserLogicTest::menuState_data()
{
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("change");
    QTest::newRow("nothing selected") << false << QStringList() << false << false;
    QTest::newRow("file") << false << QStringList{"file"} << true << true;
    QTest::newRow("file, kind in upper case") << false << QStringList{"FILE"} << true << true;
    QTest::newRow("file locked") << true << QStringList{"file"} << true << false;
    QTest::newRow("folder") << false << QStringList{"dir"} << true << false;
    QTest::newRow("folder first, then a file")
        << false << QStringList{"dir", "file"} << true << false;
    QTest::newRow("file first, then a folder")
        << false << QStringList{"file", "dir"} << true << true;
}

void TBrowserLogicTest::menuState()
{
    QFETCH(bool, locked);
    QFETCH(QStringList, kinds);
    QList<TListEntry> selected;
    for (const QString& kind : kinds) {
        TListEntry entry;
        entry.Kind = kind;
        selected.append(entry);
    }
    const TMenuState state = ExplorerMenuState(locked, selected);
    QTEST(state.EntryItemsVisible, "visible");
    QCOMPARE(state.OpenEnabled, state.EntryItemsVisible);
    QTEST(state.ChangeEnabled, "change");
}

void TBrowserLogicTest::deleteQuestion()
{
    TListEntry one;
    one.Kind = QStringLiteral("file");
    one.Path = QStringLiteral("/d/AF 1.xls");
    QCOMPARE(DeleteQuestion({one}),
             QStringLiteral("Ar tikrai norite ištrinti bylą \"/d/AF 1.xls\"?"));
    QCOMPARE(DeleteQuestion({one, one, one}),
             QStringLiteral("Ar tikrai norite ištrinti šias 3 bylas?"));
}

QTEST_GUILESS_MAIN(TBrowserLogicTest)
#include "tst_BrowserLogic.moc"
