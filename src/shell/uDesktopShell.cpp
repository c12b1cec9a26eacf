#include "uDesktopShell.h"

#include "uLinuxDesktopShell.h"

#include <atomic>

namespace {

std::atomic<IDesktopShell*> ShellInPlace{nullptr};

} // namespace

IDesktopShell& DesktopShell()
{
    static TLinuxDesktopShell linuxShell;
    IDesktopShell* shell = ShellInPlace.load();
    return shell ? *shell : linuxShell;
}

void SetDesktopShell(IDesktopShell* shell)
{
    ShellInPlace.store(shell);
}
