#include "uTerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int SignalPipe[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the socket wakes the GUI
// thread.
void Notify(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(SignalPipe[0], &byte, 1);
}

} // namespace

void OnTerminationSignal(std::function<void()> handler)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, SignalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(SignalPipe[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [handler = std::move(handler)] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(SignalPipe[1], &byte, 1);
        handler();
    });
    struct sigaction action = {};
    action.sa_handler = Notify;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}
