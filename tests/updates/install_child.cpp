// The program's start-up step on its own, for the install journal test: runs
// ApplicationStartup over the given configuration, as the installing copy
// with "install", as a plain start with "start", and kills itself with
// SIGKILL at a chosen point:
//   install_child AI MI LOG EXE install|start [WRITE [FOLDER COPY]]
// WRITE: before the WRITE-th change to the configuration (0: never);
// FOLDER COPY: when the COPY-th new file written into FOLDER (every file copy
// there writes one) is complete but not yet renamed over its target.
#include "uDelayedInstall.h"
#include "uDownloadTaskStore.h"
#include "uDownloadUpdatesDataModule.h"
#include "uRecordingShell.h"

#include <QCoreApplication>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <dlfcn.h>
#include <unistd.h>

namespace {

// The store of the program, dying before its n-th write.
class TKillingStore : public TDownloadTaskStore
{
public:
    TKillingStore(const QString& ai, const QString& mi, int killAt)
        : TDownloadTaskStore(ai, mi), FKillAt(killAt)
    {}

    void WriteString(const QString& section, const QString& key, const QString& value) override
    {
        Count();
        TDownloadTaskStore::WriteString(section, key, value);
    }
    void WriteInteger(const QString& section, const QString& key, int value) override
    {
        Count();
        TDownloadTaskStore::WriteInteger(section, key, value);
    }
    void EraseSection(const QString& section) override
    {
        Count();
        TDownloadTaskStore::EraseSection(section);
    }
    void DeleteKey(const QString& section, const QString& key) override
    {
        Count();
        TDownloadTaskStore::DeleteKey(section, key);
    }
    void SetVersion(const QString& version) override
    {
        Count();
        TDownloadTaskStore::SetVersion(version);
    }

private:
    void Count()
    {
        if (++FWrites == FKillAt)
            ::raise(SIGKILL);
    }

    int FKillAt;
    int FWrites = 0;
};

// The copy to die in: the n-th file synced in the folder (a copy's new
// file, unnamed or hidden, before it is renamed over its target).
struct TCopyKill
{
    QByteArray Folder;
    int Copy = 0;
    int Seen = 0;
    QByteArray Last;
} CopyKill;

// Before a file is synced: the chosen copy is written but not yet in place
// of its target, and the process dies there.
void BeforeSync(int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[4096];
    const ssize_t length = ::readlink(link, target, sizeof target - 1);
    if (length <= 0)
        return;
    const QByteArray path(target, length);
    const qsizetype slash = path.lastIndexOf('/');
    if (path.left(slash) != CopyKill.Folder)
        return;
    if (path != CopyKill.Last) {
        CopyKill.Last = path;
        ++CopyKill.Seen;
    }
    if (CopyKill.Seen == CopyKill.Copy)
        ::raise(SIGKILL);
}

} // namespace

// Takes the place of the C library's fsync() for the program, so that the
// copy is cut at a chosen file.
extern "C" int fsync(int fd)
{
    using TSync = int (*)(int);
    static const auto real = reinterpret_cast<TSync>(::dlsym(RTLD_NEXT, "fsync"));
    if (CopyKill.Copy > 0)
        BeforeSync(fd);
    return real(fd);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 6)
        return 2;
    const QString& exe = args.at(4);
    if (args.size() > 8) {
        CopyKill.Folder = QFile::encodeName(args.at(7));
        CopyKill.Copy = args.at(8).toInt();
    }
    TRecordingShell shell; // the program started again is only recorded
    TDownloadUpdatesDataModule engine(args.at(3));
    engine.SetStore(std::make_shared<TKillingStore>(args.at(1), args.at(2),
                                                    args.size() > 6 ? args.at(6).toInt() : 0));
    engine.SetProcess(exe, args.at(5) == QLatin1String("install")
                               ? QStringList{u'/' + SwitchInstallDelayedUpdates, exe}
                               : QStringList{});
    engine.ApplicationStartup();
    return 0;
}
