#include "uExplorerFrame.h"
#include "uShellChangeThread.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

void WriteFile(const QString& path, qint64 size, QIODevice::OpenMode mode = QIODevice::WriteOnly)
{
    QFile file(path);
    QVERIFY2(file.open(mode), qPrintable(path));
    QCOMPARE(file.write(QByteArray(size, 'x')), size);
}

QStringList Names(const QList<TListEntry>& entries)
{
    QStringList names;
    for (const TListEntry& entry : entries)
        names.append(entry.Name + QLatin1Char(' ') + entry.SizeText);
    return names;
}

enum class TChange { Create, Delete, Rename, Append, CreateFolder };

} // namespace

class TFolderWatcherTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void refreshesOnChange_data();
    void refreshesOnChange();
    void deletedFolderEmptiesList_data();
    void deletedFolderEmptiesList();
    void quickSwitchesLeaveOneWatcher();
    void noNoticeAfterFrameIsGone();
    void fileListHasNoWatcher();
    void unwatchableFolderEndsAtOnce();
};

void TFolderWatcherTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::Lithuanian, QLocale::Lithuania));
}

void TFolderWatcherTest::init()
{
    // Watchers of the previous test end once their frames are gone.
    QTRY_COMPARE(TShellChangeThread::Instances(), 0);
}

void TFolderWatcherTest::refreshesOnChange_data()
{
    QTest::addColumn<TChange>("change");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("create") << TChange::Create
                            << QStringList{"a ", "form.xls 1 KB", "new.xls 1 KB"};
    QTest::newRow("delete") << TChange::Delete << QStringList{"a "};
    QTest::newRow("rename") << TChange::Rename << QStringList{"a ", "renamed.xls 1 KB"};
    QTest::newRow("append") << TChange::Append << QStringList{"a ", "form.xls 2 KB"};
    QTest::newRow("create folder")
        << TChange::CreateFolder << QStringList{"a ", "b ", "form.xls 1 KB"};
}

void TFolderWatcherTest::refreshesOnChange()
{
    QFETCH(TChange, change);
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("form.xls")), 1500);
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("a")));
    TExplorerFrame frame;
    frame.SetRootDir(dir.path());
    frame.SetSubDir(QString());
    QCOMPARE(Names(frame.Entries()), QStringList({"a ", "form.xls 1 KB"}));
    QCOMPARE(TShellChangeThread::Instances(), 1);

    QSignalSpy listed(&frame, &TExplorerFrame::Listed);
    const QString form = dir.filePath(QStringLiteral("form.xls"));
    switch (change) {
    case TChange::Create:
        WriteFile(dir.filePath(QStringLiteral("new.xls")), 10);
        break;
    case TChange::Delete:
        QVERIFY(QFile::remove(form));
        break;
    case TChange::Rename:
        QVERIFY(QFile::rename(form, dir.filePath(QStringLiteral("renamed.xls"))));
        break;
    case TChange::Append:
        WriteFile(form, 1000, QIODevice::Append);
        break;
    case TChange::CreateFolder:
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("b")));
        break;
    }
    QVERIFY(listed.wait());
    // One change may come as several notices; the last listing counts.
    QFETCH(QStringList, names);
    QTRY_COMPARE(Names(frame.Entries()), names);
    // Each notice replaced the watcher; one is left.
    QTRY_COMPARE(TShellChangeThread::Instances(), 1);
}

void TFolderWatcherTest::deletedFolderEmptiesList_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("deleted") << "delete";
    QTest::newRow("renamed away") << "rename";
    QTest::newRow("replaced by a file") << "file";
    QTest::newRow("its parent deleted") << "parent";
}

// The list empties, the watcher ends, and the frame shows and watches the
// folder again once it is back.
void TFolderWatcherTest::deletedFolderEmptiesList()
{
    QFETCH(QString, how);
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("root"));
    const QString folder = root + QStringLiteral("/a");
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/b")));
    TExplorerFrame frame;
    frame.SetRootDir(root);
    frame.SetSubDir(QStringLiteral("a/"));
    QCOMPARE(frame.Entries().size(), 1);

    QSignalSpy listed(&frame, &TExplorerFrame::Listed);
    if (how == QLatin1String("rename")) {
        QVERIFY(QDir(root).rename(QStringLiteral("a"), QStringLiteral("z")));
    } else {
        QVERIFY(QDir(how == QLatin1String("parent") ? root : folder).removeRecursively());
        if (how == QLatin1String("file"))
            WriteFile(folder, 10);
    }
    QVERIFY(listed.wait());
    QTRY_VERIFY(frame.Entries().isEmpty());
    QCOMPARE(frame.StatusText(0), QStringLiteral("Objektų: 0"));
    // A folder that is gone has no watcher.
    QTRY_COMPARE(TShellChangeThread::Instances(), 0);

    QFile::remove(folder);
    QVERIFY(QDir().mkpath(folder));
    WriteFile(folder + QStringLiteral("/x.xls"), 5);
    frame.SetSubDir(QStringLiteral("a/"));
    QCOMPARE(frame.Entries().size(), 1);
    QTRY_COMPARE(TShellChangeThread::Instances(), 1);
    WriteFile(folder + QStringLiteral("/y.xls"), 5);
    QTRY_COMPARE(frame.Entries().size(), 2);
}

void TFolderWatcherTest::quickSwitchesLeaveOneWatcher()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("a")));
    TExplorerFrame frame;
    frame.SetRootDir(dir.path());
    for (int i = 0; i < 200; ++i)
        frame.SetSubDir(i % 2 ? QStringLiteral("a/") : QString());
    QTRY_COMPARE(TShellChangeThread::Instances(), 1);

    // The one left watches the folder on view.
    QSignalSpy listed(&frame, &TExplorerFrame::Listed);
    WriteFile(dir.filePath(QStringLiteral("a/new.xls")), 1);
    QVERIFY(listed.wait());
    QTRY_COMPARE(frame.Entries().size(), 1);
}

void TFolderWatcherTest::noNoticeAfterFrameIsGone()
{
    QTemporaryDir dir;
    auto frame = std::make_unique<TExplorerFrame>();
    frame->SetRootDir(dir.path());
    frame->SetSubDir(QString());
    // The watcher reports this change and waits for the GUI thread, which
    // destroys the frame before it looks at its events.
    WriteFile(dir.filePath(QStringLiteral("new.xls")), 1);
    frame.reset();
    QTRY_COMPARE(TShellChangeThread::Instances(), 0);
}

void TFolderWatcherTest::fileListHasNoWatcher()
{
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("f.xls")), 1);
    TExplorerFrame frame;
    frame.SetRootDir(dir.path());
    frame.SetSubDir(QString());
    QCOMPARE(TShellChangeThread::Instances(), 1);
    frame.Clear();
    frame.SetRootDir(QString());
    frame.SetSubDir(QString());
    frame.AddFileList({dir.filePath(QStringLiteral("f.xls"))}, false);
    QTRY_COMPARE(TShellChangeThread::Instances(), 0);
}

void TFolderWatcherTest::unwatchableFolderEndsAtOnce()
{
    QTemporaryDir dir;
    QObject receiver;
    int reports = 0;
    new TShellChangeThread(dir.filePath(QStringLiteral("missing")), &receiver,
                           [&reports] { ++reports; });
    QTRY_COMPARE(TShellChangeThread::Instances(), 0);
    QCOMPARE(reports, 0);
}

QTEST_MAIN(TFolderWatcherTest)
#include "tst_FolderWatcher.moc"
