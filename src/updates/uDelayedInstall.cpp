#include "uDelayedInstall.h"

#include "uCommandLine.h"
#include "uError.h"
#include "uShared.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

const QString SwitchInstallDelayedUpdates = QStringLiteral("INSTALL_DELAYED_UPDATES");
const QString SwitchRemoveTempExe = QStringLiteral("REMOVE_TEMP_EXE");
const QString KeyInstallAttempts = QStringLiteral("Bandyta instaliuoti");

namespace {

QString Quoted(const QString& path)
{
    QString inner = path;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

[[noreturn]] void Fail(const QString& what, int error)
{
    throw EAppError(
        QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(error))));
}

// The folder exists as a real folder of ours that nobody else may enter; a
// folder someone else made or a link in its place is refused.
void PreparePrivateFolder(const QString& folder)
{
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        Fail(folder, errno);
    struct stat status
    {
    };
    if (::lstat(name.constData(), &status) != 0)
        Fail(folder, errno);
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::getuid())
        Fail(folder, EPERM);
    if ((status.st_mode & 0777) != 0700 && ::chmod(name.constData(), 0700) != 0)
        Fail(folder, errno);
}

} // namespace

QString IniArgument(const QStringList& params, const QString& exePath)
{
    if (FindSwitch(params, QStringLiteral("I")) >= 0)
        return QString();
    return QStringLiteral("-i ") + Quoted(GetConfigFileName({}, exePath));
}

QString InstallCopyParams(const QString& exePath, const QStringList& params)
{
    return QStringLiteral("/%1 %2 %3 %4")
        .arg(SwitchInstallDelayedUpdates, Quoted(exePath), JoinParams(params, 0),
             IniArgument(params, exePath));
}

QString RelaunchParams(const QString& copyPath, const QStringList& params, int switchIndex)
{
    return QStringLiteral("/%1 %2 %3")
        .arg(SwitchRemoveTempExe, Quoted(copyPath), JoinParams(params, switchIndex + 2));
}

QString InstallCopyFolder(const QString& exePath)
{
    return QFileInfo(exePath).absolutePath() + QStringLiteral("/.kelmira-install");
}

QString MakeInstallCopy(const QString& exePath)
{
    const QString folder = InstallCopyFolder(exePath);
    PreparePrivateFolder(folder);
    QFile source(exePath);
    if (!source.open(QIODevice::ReadOnly))
        throw EAppError(QStringLiteral("%1: %2").arg(exePath, source.errorString()));
    // Created exclusively under a new name, readable only by us.
    QTemporaryFile copy(folder + u'/' + QFileInfo(exePath).fileName() + QStringLiteral("-XXXXXX"));
    if (!copy.open())
        throw EAppError(QStringLiteral("%1: %2").arg(folder, copy.errorString()));
    while (!source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        if (block.isEmpty() || copy.write(block) != block.size())
            throw EAppError(QStringLiteral("%1: %2").arg(copy.fileName(), copy.errorString()));
    }
    if (!copy.flush() || !copy.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner))
        throw EAppError(QStringLiteral("%1: %2").arg(copy.fileName(), copy.errorString()));
    copy.close();
    copy.setAutoRemove(false);
    return copy.fileName();
}

bool IsInstallCopy(const QString& path, const QString& exePath)
{
    const QString folder = QFileInfo(InstallCopyFolder(exePath)).canonicalFilePath();
    return !folder.isEmpty() &&
           QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath() == folder;
}
