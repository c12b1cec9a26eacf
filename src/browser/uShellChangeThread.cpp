#include "uShellChangeThread.h"

#include <QFile>

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

// Entries created, deleted, renamed, changed in size or content or in their
// attributes; the folder itself deleted or moved away.
constexpr uint32_t WatchedChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                    IN_ATTRIB | IN_MODIFY | IN_DELETE_SELF | IN_MOVE_SELF |
                                    IN_ONLYDIR;

// Reads whatever a non-blocking descriptor holds, so that one report covers
// every change that came together.
void Drain(int fd)
{
    alignas(inotify_event) char buffer[4096];
    while (read(fd, buffer, sizeof buffer) > 0) {
    }
}

} // namespace

std::atomic<int> TShellChangeThread::FInstances{0};

TShellChangeThread::TShellChangeThread(const QString& folder, QObject* receiver,
                                       std::function<void()> handler)
{
    ++FInstances;
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    connect(this, &TShellChangeThread::Changed, receiver, std::move(handler),
            Qt::BlockingQueuedConnection);
    FWake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    FNotify = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (FNotify >= 0 &&
        inotify_add_watch(FNotify, QFile::encodeName(folder).constData(), WatchedChanges) < 0) {
        close(FNotify);
        FNotify = -1;
    }
    start();
}

TShellChangeThread::~TShellChangeThread()
{
    if (FNotify >= 0)
        close(FNotify);
    if (FWake >= 0)
        close(FWake);
    --FInstances;
}

int TShellChangeThread::Instances()
{
    return FInstances;
}

void TShellChangeThread::Stop()
{
    FStopped = true;
    if (FWake >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(FWake, &one, sizeof one);
    }
}

void TShellChangeThread::run()
{
    if (FNotify < 0)
        return;
    Watch();
    // The system allows few watches per user; while the owner switches
    // folders quickly, ended watchers must not keep theirs until they are
    // deleted.
    close(FNotify);
    FNotify = -1;
}

void TShellChangeThread::Watch()
{
    if (FWake < 0)
        return;
    while (!FStopped) {
        pollfd waits[2] = {{FNotify, POLLIN, 0}, {FWake, POLLIN, 0}};
        if (poll(waits, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (waits[1].revents != 0) {
            Drain(FWake);
            continue;
        }
        if (waits[0].revents & (POLLERR | POLLHUP | POLLNVAL))
            return;
        Drain(FNotify);
        emit Changed();
    }
}
