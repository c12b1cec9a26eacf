// Copying selected forms into a folder: rename on a clash, folders with
// their contents, missing folders created, failures listed, a stopped copy
// leaving no half-written file.
#include "uCopyToFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

void Write(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Every entry below `folder`: "file=content", "folder/".
QStringList Tree(const QString& folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString name = QDir(folder).relativeFilePath(it.filePath());
        if (it.fileInfo().isDir()) {
            entries.append(name + u'/');
        } else {
            QFile file(it.filePath());
            if (!file.open(QIODevice::ReadOnly))
                qFatal("cannot read %s", qPrintable(it.filePath()));
            entries.append(name + u'=' + QString::fromUtf8(file.readAll()));
        }
    }
    entries.sort();
    return entries;
}

} // namespace

class TestCopyToFolder : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> FDir;

    QString Source(const QString& name) const
    {
        return FDir->filePath(QStringLiteral("src/") + name);
    }
    QString Target() const { return FDir->filePath(QStringLiteral("target")); }

private slots:
    void init()
    {
        FDir = std::make_unique<QTemporaryDir>();
        Write(Source(QStringLiteral("a.xls")), "A");
        Write(Source(QStringLiteral("ąžuolas.xls")), "Ą");
        Write(Source(QStringLiteral("Dir/c.xls")), "C");
        Write(Source(QStringLiteral("Dir/.slapta")), "H");
        Write(Source(QStringLiteral("Dir/Sub/d.xls")), "D");
        QDir().mkpath(Source(QStringLiteral("Dir/Tuščias")));
    }

    void copies_data()
    {
        QTest::addColumn<QStringList>("present"); // in the target before: "name=content"
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QString>("into"); // below the target
        QTest::addColumn<QStringList>("created");
        QTest::addColumn<QStringList>("tree"); // of `into` afterwards

        QTest::newRow("empty folder")
            << QStringList() << QStringList{"a.xls", "ąžuolas.xls"} << ""
            << QStringList{"a.xls", "ąžuolas.xls"} << QStringList{"a.xls=A", "ąžuolas.xls=Ą"};
        QTest::newRow("name clash")
            << QStringList{"a.xls=senas"} << QStringList{"a.xls"} << "" << QStringList{"a (2).xls"}
            << QStringList{"a (2).xls=A", "a.xls=senas"};
        QTest::newRow("second clash")
            << QStringList{"a.xls=senas", "a (2).xls=antras"} << QStringList{"a.xls"} << ""
            << QStringList{"a (3).xls"}
            << QStringList{"a (2).xls=antras", "a (3).xls=A", "a.xls=senas"};
        QTest::newRow("folder with sub-folders")
            << QStringList() << QStringList{"Dir"} << "" << QStringList{"Dir"}
            << QStringList{"Dir/",         "Dir/.slapta=H", "Dir/Sub/", "Dir/Sub/d.xls=D",
                           "Dir/Tuščias/", "Dir/c.xls=C"};
        QTest::newRow("folder clash")
            << QStringList{"Dir/c.xls=senas"} << QStringList{"Dir"} << "" << QStringList{"Dir (2)"}
            << QStringList{
                   "Dir (2)/",         "Dir (2)/.slapta=H", "Dir (2)/Sub/", "Dir (2)/Sub/d.xls=D",
                   "Dir (2)/Tuščias/", "Dir (2)/c.xls=C",   "Dir/",         "Dir/c.xls=senas"};
        QTest::newRow("missing folders made")
            << QStringList() << QStringList{"a.xls"} << "naujas/gilus"
            << QStringList{"naujas/gilus/a.xls"} << QStringList{"a.xls=A"};
        QTest::newRow("the same file twice")
            << QStringList() << QStringList{"a.xls", "a.xls"} << ""
            << QStringList{"a.xls", "a (2).xls"} << QStringList{"a (2).xls=A", "a.xls=A"};
    }
    void copies()
    {
        QFETCH(QStringList, present);
        QFETCH(QStringList, selected);
        QFETCH(QString, into);
        QFETCH(QStringList, created);
        QFETCH(QStringList, tree);
        QDir().mkpath(Target());
        for (const QString& entry : present)
            Write(Target() + u'/' + entry.section(u'=', 0, 0), entry.section(u'=', 1).toUtf8());
        QStringList sources;
        for (const QString& name : selected)
            sources.append(Source(name));
        qint64 lastDone = -1;
        qint64 lastTotal = -1;
        const TCopyResult result =
            CopyToFolder(sources, Target() + u'/' + into, [&](qint64 done, qint64 total) {
                lastDone = done;
                lastTotal = total;
                return true;
            });
        QVERIFY(result.Failures.isEmpty());
        QVERIFY(!result.Cancelled);
        QStringList createdNames;
        for (const QString& path : result.Created)
            createdNames.append(QDir(Target()).relativeFilePath(path));
        QCOMPARE(createdNames, created);
        QCOMPARE(Tree(Target() + u'/' + into), tree);
        QCOMPARE(lastDone, lastTotal);
    }

    void collisionName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("renamed");
        QTest::newRow("extension") << "a.xls"
                                   << "a (2).xls";
        QTest::newRow("two dots") << "ataskaita.2006.xls"
                                  << "ataskaita.2006 (2).xls";
        QTest::newRow("none") << "README"
                              << "README (2)";
        QTest::newRow("leading dot") << ".profile"
                                     << ".profile (2)";
    }
    void collisionName()
    {
        QFETCH(QString, name);
        QFETCH(QString, renamed);
        QCOMPARE(CollisionName(name, 2), renamed);
    }

    // What cannot be copied is listed; the rest is copied all the same.
    void failuresListed()
    {
        const QString gone = Source(QStringLiteral("gone.xls"));
        const QString dir = Source(QStringLiteral("Dir"));
        const TCopyResult intoItself = CopyToFolder({dir}, dir + QStringLiteral("/Sub"), {});
        QCOMPARE(intoItself.Failures.size(), 1);
        QCOMPARE(intoItself.Failures.first().Path, dir);
        QCOMPARE(Tree(dir + QStringLiteral("/Sub")), QStringList{"d.xls=D"});

        const TCopyResult result =
            CopyToFolder({gone, Source(QStringLiteral("a.xls"))}, Target(), {});
        QCOMPARE(result.Failures.size(), 1);
        QCOMPARE(result.Failures.first().Path, gone);
        QCOMPARE(result.Failures.first().Reason, QStringLiteral("byla nerasta"));
        QCOMPARE(Tree(Target()), QStringList{"a.xls=A"});

        // A pipe among the forms is named, not waited on.
        const QString pipe = Source(QStringLiteral("kanalas"));
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const TCopyResult withPipe = CopyToFolder({pipe}, Target(), {});
        QCOMPARE(withPipe.Failures.size(), 1);
        QCOMPARE(withPipe.Failures.first().Path, pipe);
        QCOMPARE(Tree(Target()), QStringList{"a.xls=A"});

        // A file where the target folder should be.
        Write(FDir->filePath(QStringLiteral("byla")), "x");
        const TCopyResult noFolder = CopyToFolder(
            {Source(QStringLiteral("a.xls"))}, FDir->filePath(QStringLiteral("byla/aplankas")), {});
        QCOMPARE(noFolder.Failures.size(), 1);
        QVERIFY(noFolder.Created.isEmpty());
    }

    // Stopped in the middle of a large file: the files finished stay, the
    // one being written goes, and nothing after it is started.
    void stoppedCopyLeavesNoPartialFile()
    {
        const QByteArray big(3 * 1024 * 1024 + 5, 'x');
        Write(Source(QStringLiteral("didelis.bin")), big);
        const QStringList sources = {Source(QStringLiteral("a.xls")),
                                     Source(QStringLiteral("didelis.bin")),
                                     Source(QStringLiteral("Dir"))};
        QList<qint64> reports;
        QList<qint64> totals;
        const TCopyResult result = CopyToFolder(sources, Target(), [&](qint64 done, qint64 total) {
            reports.append(done);
            totals.append(total);
            return done < 1024 * 1024;
        });
        QCOMPARE(totals.first(), qint64(big.size()) + 4);
        QVERIFY(result.Cancelled);
        QVERIFY(result.Failures.isEmpty());
        QCOMPARE(Tree(Target()), QStringList{"a.xls=A"});
        QCOMPARE(reports.first(), 1);
        QVERIFY(reports.last() < big.size());
    }
};

QTEST_GUILESS_MAIN(TestCopyToFolder)
#include "tst_copytofolder.moc"
