#include "uCheckMd5.h"
#include "uDownloadExceptions.h"
#include "uFtpTestServer.h"
#include "uInstructionParser.h"
#include "uRecordingShell.h"
#include "uSavedTask.h"
#include "uTaskDescription.h"
#include "uTestTaskOwner.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const QByteArray NewContent = "new content of the form\r\n";
const QByteArray Script = "#!/bin/sh\necho started\n";
const QByteArray AiText = "[Atnaujinimai]\r\nVersija=1.0\r\nLog=N\r\n[Nustatymai]\r\n"
                          "Pirmas=1\r\nKontrole=old.xlt\r\n";
const QByteArray MiText = "[Nustatymai]\r\nAF perziura pirma=/x\r\n[Button.Captions]\r\n"
                          "AF perziura=AF\r\nLg perziura=Istorija\r\n";

QString Md5Of(const QByteArray& data)
{
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex());
}

void WriteFile(const QString& path, const QByteArray& content, int mode = 0644)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode)), 0);
}

int ModeOf(const QString& path)
{
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return -1;
    return static_cast<int>(status.st_mode & 07777);
}

// Every file under a folder with its content and permission bits.
QMap<QString, QPair<QByteArray, int>> Snapshot(const QString& folder)
{
    QMap<QString, QPair<QByteArray, int>> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files.insert(path, {file.readAll(), ModeOf(path)});
    }
    return files;
}

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TDownloadTasksTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FRoot; // served by the FTP server
    QTemporaryDir FWork; // configuration and forms
    QTemporaryDir FTemp; // the temporary folder of the tasks
    std::unique_ptr<TFtpTestServer> FServer;
    std::shared_ptr<IDownloadTaskStore> FStore;
    std::unique_ptr<TTestTaskOwner> FOwner;

    QString Form() const { return FWork.filePath(QStringLiteral("forms/a.xls")); }

    // The line with {work}, {new} and {sh} filled in.
    QByteArray Line(QString line) const
    {
        line.replace(QStringLiteral("{work}"), FWork.path());
        line.replace(QStringLiteral("{new}"), Md5Of(NewContent).toUpper());
        line.replace(QStringLiteral("{sh}"), Md5Of(Script).toUpper());
        return line.toUtf8();
    }

    std::unique_ptr<TDownloadTask> Parse(const QString& line, IDownloadTaskOwner& owner)
    {
        TDownloadTaskList tasks;
        ParseInstructions(Line(line), owner, tasks);
        if (tasks.size() != 1)
            return nullptr;
        return std::move(tasks.front().Task);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(FRoot.isValid() && FWork.isValid() && FTemp.isValid());
        qputenv("TMPDIR", QFile::encodeName(FTemp.path()));
        WriteFile(FRoot.filePath(QStringLiteral("files/new.xls")), NewContent);
        WriteFile(FRoot.filePath(QStringLiteral("files/setup.sh")), Script);
        FServer = std::make_unique<TFtpTestServer>(TFtpTestServer::TOptions{FRoot.path()});
        QVERIFY2(FServer->Error().isEmpty(), qPrintable(FServer->Error()));
    }

    void init()
    {
        for (const QString& name : FilesIn(FTemp.path()))
            QFile::remove(FTemp.filePath(name));
        WriteFile(Form(), "old content of the form\r\n", 0754);
        WriteFile(FWork.filePath(QStringLiteral("k_AI.ini")), AiText);
        WriteFile(FWork.filePath(QStringLiteral("k_MI.ini")), MiText);
        FStore = std::make_shared<TDownloadTaskStore>(FWork.filePath(QStringLiteral("k_AI.ini")),
                                                      FWork.filePath(QStringLiteral("k_MI.ini")));
        FOwner = std::make_unique<TTestTaskOwner>(FStore);
        FOwner->Client.Port = FServer->Port();
        FOwner->Client.UserName = FServer->Options().User;
        FOwner->Client.Password = FServer->Options().Password;
    }

    void checkMd5()
    {
        QBuffer empty;
        empty.open(QIODevice::ReadOnly);
        QCOMPARE(Md5Hex(empty), QStringLiteral("D41D8CD98F00B204E9800998ECF8427E"));

        QByteArray abc("abc");
        QBuffer buffer(&abc);
        buffer.open(QIODevice::ReadOnly);
        buffer.seek(2);
        CheckMd5(buffer, QStringLiteral("900150983CD24FB0D6963F7D28E17F72"), QStringLiteral("x"));
        QCOMPARE(buffer.pos(), 2); // the position is put back
        QVERIFY_THROWS_EXCEPTION(EDownloadFileException,
                                 CheckMd5(buffer,
                                          QStringLiteral("900150983cd24fb0d6963f7d28e17f72"),
                                          QStringLiteral("x")));
        QCOMPARE(buffer.pos(), 2);
    }

    // Install changes the files; Rollback gives back both configuration files
    // and every form byte for byte, permission bits included.
    void installThenRollbackRestoresFiles_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("changesFiles");

        QTest::newRow("SET-VERSION") << "SET-VERSION 2.0" << true;
        QTest::newRow("FILE-DELETE") << "FILE-DELETE {work}/forms/a.xls" << true;
        QTest::newRow("FILE-UPDATE")
            << "FILE-UPDATE files/new.xls {new} {work}/forms/a.xls" << true;
        QTest::newRow("RUN") << "RUN files/setup.sh {sh} -q" << false;
        QTest::newRow("INI-UPDATE of a key") << "INI-UPDATE Nustatymai Kontrole new.xlt" << true;
        QTest::newRow("INI-UPDATE of an absent key")
            << "INI-UPDATE [MI]Nustatymai Naujas x" << true;
        QTest::newRow("INI-DELETE of a key") << "INI-DELETE Nustatymai Kontrole" << true;
        QTest::newRow("INI-DELETE of an absent key") << "INI-DELETE [mi]Nustatymai Nera" << false;
        QTest::newRow("INI-DELETE of a section") << "INI-DELETE [MI]Button.Captions" << true;
    }

    void installThenRollbackRestoresFiles()
    {
        QFETCH(QString, line);
        QFETCH(bool, changesFiles);
        TRecordingShell shell;
        auto task = Parse(line, *FOwner);
        QVERIFY(task);
        task->Download();
        const auto before = Snapshot(FWork.path());

        task->Install();
        QCOMPARE(Snapshot(FWork.path()) != before, changesFiles);
        task->Rollback();
        QCOMPARE(Snapshot(FWork.path()), before);

        // Nothing but a downloaded file (kept after a rollback) stays behind.
        const auto* download = dynamic_cast<const TDownloadTaskDownloadFile*>(task.get());
        const QStringList kept =
            download ? QStringList{QFileInfo(download->TempFile()).fileName()} : QStringList{};
        task.reset();
        QCOMPARE(FilesIn(FTemp.path()), kept);
    }

    // With the temporary folder on another file system a move is a copy and
    // a delete; the file must still come back whole with its permission bits.
    void fileDeleteAcrossFileSystems()
    {
        struct stat work
        {
        };
        struct stat shm
        {
        };
        if (::stat("/dev/shm", &shm) != 0 ||
            ::stat(QFile::encodeName(FWork.path()).constData(), &work) != 0 ||
            work.st_dev == shm.st_dev)
            QSKIP("no second file system at /dev/shm");
        QTemporaryDir otherTemp(QStringLiteral("/dev/shm/kelmira-XXXXXX"));
        QVERIFY(otherTemp.isValid());
        qputenv("TMPDIR", QFile::encodeName(otherTemp.path()));
        const auto restore =
            qScopeGuard([this] { qputenv("TMPDIR", QFile::encodeName(FTemp.path())); });

        const auto before = Snapshot(FWork.path());
        auto task = Parse(QStringLiteral("FILE-DELETE {work}/forms/a.xls"), *FOwner);
        task->Install();
        QVERIFY(!QFile::exists(Form()));
        task->Rollback();
        QCOMPARE(Snapshot(FWork.path()), before);
        task.reset();
        QCOMPARE(FilesIn(otherTemp.path()), QStringList{});
    }

    void installCommitDestroyDeletesTempFiles_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("FILE-UPDATE") << "FILE-UPDATE files/new.xls {new} {work}/forms/a.xls";
        QTest::newRow("RUN") << "RUN files/setup.sh {sh}";
        QTest::newRow("FILE-DELETE") << "FILE-DELETE {work}/forms/a.xls";
    }

    void installCommitDestroyDeletesTempFiles()
    {
        QFETCH(QString, line);
        TRecordingShell shell;
        auto task = Parse(line, *FOwner);
        QVERIFY(task);
        task->Download();
        task->Install();
        task->Commit();
        QVERIFY(!FilesIn(FTemp.path()).isEmpty());
        task.reset();
        QCOMPARE(FilesIn(FTemp.path()), QStringList{});
    }

    void fileUpdateKeepsPermissionBits_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("rwxr-xr-x") << 0755;
        QTest::newRow("rwxr-x---") << 0750;
        QTest::newRow("rw-r-----") << 0640;
    }

    void fileUpdateKeepsPermissionBits()
    {
        QFETCH(int, mode);
        WriteFile(Form(), "old", mode);
        auto task =
            Parse(QStringLiteral("FILE-UPDATE files/new.xls {new} {work}/forms/a.xls"), *FOwner);
        task->Download();
        task->Install();
        QFile form(Form());
        QVERIFY(form.open(QIODevice::ReadOnly));
        QCOMPARE(form.readAll(), NewContent);
        QCOMPARE(ModeOf(Form()), mode);
        QCOMPARE(FilesIn(FWork.path() + QStringLiteral("/forms")), QStringList{"a.xls"});
    }

    // The rename over the target works while the old program runs, which the
    // installation of the program's own executable relies on.
    void fileUpdateReplacesRunningProgram()
    {
        const QString program = FWork.filePath(QStringLiteral("forms/prog"));
        QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), program));
        QVERIFY(QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner));
        const int mode = ModeOf(program);
        QProcess running;
        running.start(program, {QStringLiteral("300")});
        QVERIFY(running.waitForStarted());
        const auto stop = qScopeGuard([&] {
            running.kill();
            running.waitForFinished();
        });

        auto task = Parse(QStringLiteral("FILE-UPDATE files/new.xls {new} ") + program, *FOwner);
        QVERIFY(task->NeedsRestart());
        task->Download();
        task->Install();
        QFile replaced(program);
        QVERIFY(replaced.open(QIODevice::ReadOnly));
        QCOMPARE(replaced.readAll(), NewContent);
        QCOMPARE(ModeOf(program), mode);
        QCOMPARE(running.state(), QProcess::Running);
    }

    // A saved task comes back from its section in a new store, ready without
    // the network.
    void saveThenLoadReproducesTask_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("loadedChange");
        QTest::newRow("SET-VERSION") << "SET-VERSION 2.0"
                                     << "";
        QTest::newRow("FILE-DELETE") << "FILE-DELETE \"{work}/forms/a b.xls\""
                                     << "";
        QTest::newRow("FILE-UPDATE") << "FILE-UPDATE files/new.xls {new} {work}/forms/a.xls"
                                     << "";
        // Configuration values are read trimmed: the blank before the
        // parameters, which the started program never sees, stays behind.
        QTest::newRow("RUN") << "RUN files/setup.sh {sh}  -q \"a b\""
                             << "<  ";
        QTest::newRow("INI-UPDATE") << "INI-UPDATE [MI]Nustatymai Archyvas \"x %y.zbx\""
                                    << "";
        QTest::newRow("INI-DELETE") << "INI-DELETE Nustatymai Kontrole"
                                    << "";
    }

    void saveThenLoadReproducesTask()
    {
        QFETCH(QString, line);
        QFETCH(QString, loadedChange);
        auto task = Parse(line, *FOwner);
        QVERIFY(task);
        task->Download();
        task->Save(task->Command() + QStringLiteral(".0"));
        QString description = DescribeTask(*task);
        if (!loadedChange.isEmpty())
            description.replace(loadedChange, QStringLiteral("<"));
        const auto* download = dynamic_cast<const TDownloadTaskDownloadFile*>(task.get());
        const QString tempFile = download ? download->TempFile() : QString();
        task.reset();
        if (!tempFile.isEmpty())
            QVERIFY(QFile::exists(tempFile)); // a saved task's file waits for the next start

        TRefusingPort nowhere;
        TTestTaskOwner offline(
            std::make_shared<TDownloadTaskStore>(FWork.filePath(QStringLiteral("k_AI.ini")),
                                                 FWork.filePath(QStringLiteral("k_MI.ini"))));
        offline.Client.Port = nowhere.Port();
        const QString command = line.section(QLatin1Char(' '), 0, 0);
        auto loaded = LoadSavedTask(command, offline, command + QStringLiteral(".0"));
        QVERIFY(loaded);
        QCOMPARE(DescribeTask(*loaded), description);
        QVERIFY(loaded->IsReady());
        loaded->Download();
        QCOMPARE(offline.Downloads, 0);
        if (auto* loadedDownload = dynamic_cast<const TDownloadTaskDownloadFile*>(loaded.get())) {
            QCOMPARE(loadedDownload->TempFile(), tempFile);
            QVERIFY(loadedDownload->KeepTempFile());
        }
    }

    // The temporary folder is shared: a download with the right content
    // counts only when it is our own private regular file, never through a
    // link or while someone else may change it before it is run.
    void downloadNotOursIsNotTrusted_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("ready");
        QTest::newRow("untouched") << "none" << true;
        QTest::newRow("replaced by a link to the same content") << "link" << false;
        QTest::newRow("writable by the group") << "group" << false;
        QTest::newRow("writable by everyone") << "others" << false;
    }

    void downloadNotOursIsNotTrusted()
    {
        QFETCH(QString, change);
        QFETCH(bool, ready);
        auto task = Parse(QStringLiteral("RUN files/setup.sh {sh}"), *FOwner);
        auto* download = dynamic_cast<TDownloadTaskDownloadFile*>(task.get());
        QVERIFY(download);
        download->Download();
        const QString path = download->TempFile();
        QCOMPARE(ModeOf(path), 0600);
        if (change == QLatin1String("link")) {
            const QString elsewhere = FWork.filePath(QStringLiteral("planted.sh"));
            QVERIFY(QFile::rename(path, elsewhere));
            QVERIFY(QFile::link(elsewhere, path));
        } else if (change != QLatin1String("none")) {
            const mode_t extra = change == QLatin1String("group") ? S_IWGRP : S_IWOTH;
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0600 | extra), 0);
        }
        QCOMPARE(download->IsReady(), ready);
    }

    void lowerCaseDigestNeverBecomesReady()
    {
        auto task = Parse(QStringLiteral("FILE-UPDATE files/new.xls ") + Md5Of(NewContent) +
                              QStringLiteral(" {work}/forms/a.xls"),
                          *FOwner);
        auto* download = dynamic_cast<TDownloadTaskDownloadFile*>(task.get());
        QVERIFY(download);
        for (int attempt = 1; attempt <= 2; ++attempt) {
            QString message;
            try {
                download->Download();
            } catch (const EDownloadFileException& error) {
                message = error.Message();
            }
            QCOMPARE(message, QStringLiteral("Download of file 'files/new.xls'\u00A0failed"));
            QVERIFY(!download->IsReady());
            QCOMPARE(FOwner->Downloads, attempt); // never ready, so fetched again
        }
    }

    void needsRestart_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("lockedElsewhere");
        QTest::addColumn<bool>("expected");
        QTest::newRow("ordinary writable file") << "{work}/forms/a.xls" << false << false;
        QTest::newRow("missing file") << "{work}/forms/none.xls" << false << true;
        QTest::newRow("locked by another process") << "{work}/forms/a.xls" << true << true;
        QTest::newRow("the running executable")
            << QCoreApplication::applicationFilePath() << false << true;
        QTest::newRow("the running executable, relative")
            << QDir::current().relativeFilePath(QCoreApplication::applicationFilePath()) << false
            << true;
    }

    void needsRestart()
    {
        QFETCH(QString, file);
        QFETCH(bool, lockedElsewhere);
        QFETCH(bool, expected);
        // An office suite holds a lock on the document it has open.
        QProcess locker;
        if (lockedElsewhere) {
            locker.start(
                QStringLiteral("/usr/bin/python3"),
                {QStringLiteral("-c"),
                 QStringLiteral("import fcntl,sys\nf=open(sys.argv[1],'r+')\n"
                                "fcntl.lockf(f,fcntl.LOCK_EX)\nprint('locked',flush=True)\n"
                                "sys.stdin.read()"),
                 Form()});
            QVERIFY(locker.waitForReadyRead(30000));
        }
        auto task =
            Parse(QStringLiteral("FILE-UPDATE files/new.xls {new} \"%1\"").arg(file), *FOwner);
        QVERIFY(task);
        QCOMPARE(task->NeedsRestart(), expected);
        if (lockedElsewhere) {
            locker.closeWriteChannel();
            QVERIFY(locker.waitForFinished());
        }
    }

    // The backup of a missing file fails; the rollback must not leave an
    // empty file in its place.
    void fileUpdateOfMissingFileFailsCleanly()
    {
        const QString missing = FWork.filePath(QStringLiteral("forms/none.xls"));
        auto task = Parse(QStringLiteral("FILE-UPDATE files/new.xls {new} ") + missing, *FOwner);
        task->Download();
        QVERIFY_THROWS_EXCEPTION(EAppError, task->Install());
        task->Rollback();
        QVERIFY(!QFile::exists(missing));
    }

    void runStartsDownloadedFileThroughShell()
    {
        TRecordingShell shell;
        auto task = Parse(QStringLiteral("RUN files/setup.sh {sh} -q \"a b\""), *FOwner);
        auto* run = dynamic_cast<TDownloadTaskFileRun*>(task.get());
        QVERIFY(run);
        run->Download();
        QVERIFY(run->TempFile().endsWith(QStringLiteral(".sh")));
        run->Install();
        QCOMPARE(shell.Calls.size(), 1);
        QCOMPARE(shell.Calls[0].Verb, QStringLiteral("open"));
        QCOMPARE(shell.Calls[0].File, run->TempFile());
        QCOMPARE(shell.Calls[0].Params, QStringLiteral(" -q \"a b\""));
        QCOMPARE(shell.Calls[0].Directory, QString());
        QVERIFY(!shell.Calls[0].Hidden);
        QVERIFY(ModeOf(run->TempFile()) & S_IXUSR); // a script must be runnable
        QVERIFY(run->KeepTempFile());               // the program may still read it

        shell.Result = 2; // the shell could not start it
        QVERIFY_THROWS_EXCEPTION(EAppError, run->Install());
    }

    void urlExtension_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("extension");
        QTest::newRow("plain") << "files/new.xls"
                               << ".xls";
        QTest::newRow("none") << "files/setup"
                              << "";
        QTest::newRow("dot in a folder") << "v1.2/setup"
                                         << "";
        QTest::newRow("backslash after the dot") << "v1.2\\setup"
                                                 << "";
        QTest::newRow("colon after the dot") << "a.b:c"
                                             << "";
        QTest::newRow("last dot counts") << "a.tar.gz"
                                         << ".gz";
    }

    void urlExtension()
    {
        QFETCH(QString, url);
        QFETCH(QString, extension);
        QCOMPARE(UrlExtension(url), extension);
    }
};

QTEST_GUILESS_MAIN(TDownloadTasksTest)
#include "tst_downloadtasks.moc"
