#include "uShared.h"

#include "uError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr QChar Delimiter = u'/';

bool IsSwitch(const QString& param, const QString& name, const QString& switchChars,
              Qt::CaseSensitivity cs)
{
    if (param.isEmpty())
        return false;
    if (!switchChars.isEmpty() && !switchChars.contains(param.front()))
        return false;
    return QStringView(param).mid(1).compare(name, cs) == 0;
}

// Position of the extension: the last "." after the last delimiter, or the
// length of the path when there is none.
qsizetype ExtensionPos(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > path.lastIndexOf(Delimiter) ? dot : path.size();
}

QString StripDelimiters(const QString& path)
{
    qsizetype begin = 0;
    qsizetype end = path.size();
    while (begin < end && path.at(begin) == Delimiter)
        ++begin;
    while (end > begin && path.at(end - 1) == Delimiter)
        --end;
    return path.mid(begin, end - begin);
}

// Opens a new file exclusively (0600); -1 with errno when it cannot be made.
int CreateExclusive(const QString& path)
{
    return ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}

[[noreturn]] void RaiseSystemError(int error)
{
    throw EAppError(qt_error_string(error));
}

QString TempFolder()
{
    // Empty when the folder that TMPDIR names does not exist.
    QString folder = QDir::tempPath();
    if (folder.isEmpty())
        RaiseSystemError(ENOENT);
    if (!folder.endsWith(Delimiter))
        folder += Delimiter;
    return folder;
}

// A field of a timestamp text, or -1 when it is missing or not a number.
int TimestampField(const QString& text, qsizetype pos, qsizetype length)
{
    const QStringView field = QStringView(text).mid(pos, length);
    if (field.isEmpty())
        return -1;
    int value = 0;
    for (QChar c : field) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace

QString NativeSeparators(const QString& path)
{
    QString result = path;
    result.replace(u'\\', Delimiter);
    return result;
}

QStringList CommandLineParams()
{
    return QCoreApplication::arguments().mid(1);
}

QString GetConfigFileName(const QStringList& params, const QString& exePath)
{
    for (qsizetype i = 0; i + 1 < params.size(); ++i) {
        if (IsSwitch(params.at(i), QStringLiteral("i"), QStringLiteral("-/"),
                     Qt::CaseInsensitive)) {
            const QString& path = params.at(i + 1);
            return path.isEmpty() ? path : QDir::current().absoluteFilePath(path);
        }
    }
    return exePath.left(ExtensionPos(exePath)) + QStringLiteral(".ini");
}

QString GetConfigFileName()
{
    return GetConfigFileName(CommandLineParams(), QCoreApplication::applicationFilePath());
}

QString GetConfigFileNameWithSuffix(const QString& baseConfigPath, const QString& suffix)
{
    const qsizetype pos = ExtensionPos(baseConfigPath);
    return baseConfigPath.left(pos) + suffix + baseConfigPath.mid(pos);
}

QString GetConfigFileNameWithSuffix(const QString& suffix)
{
    return GetConfigFileNameWithSuffix(GetConfigFileName(), suffix);
}

bool GetFileVersionNumbers(const QString& path, quint16& major, quint16& minor, quint16& release,
                           quint16& build)
{
    const QString file = QFileInfo(path).canonicalFilePath();
    if (file.isEmpty() ||
        file != QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath())
        return false;
    major = KELMIRA_VERSION_MAJOR;
    minor = KELMIRA_VERSION_MINOR;
    release = KELMIRA_VERSION_RELEASE;
    build = KELMIRA_VERSION_BUILD;
    return true;
}

QString CreateTempFileName()
{
    const QString folder = TempFolder();
    // A random start makes a clash with another process's names unlikely; a
    // clash only moves on to the next number.
    quint32 number = QRandomGenerator::global()->generate();
    for (int attempt = 0; attempt < 0x10000; ++attempt, ++number) {
        QString path =
            folder + QStringLiteral("%1.tmp").arg(number, 8, 16, QLatin1Char('0')).toUpper();
        const int fd = CreateExclusive(path);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST)
            RaiseSystemError(errno);
    }
    RaiseSystemError(EEXIST);
}

std::unique_ptr<QFile> CreateUniqueTempFile(const QString& extension, QString& path)
{
    const QString folder = TempFolder();
    // The exclusive create is the existence test, so two callers at once never
    // get the same name.
    for (quint64 counter = 0; counter <= 0xFFFFFFFFu; ++counter) {
        const QString candidate =
            folder + QString::number(counter, 16).toUpper().rightJustified(8, u'0') + extension;
        const int fd = CreateExclusive(candidate);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            RaiseSystemError(errno);
        }
        auto file = std::make_unique<QFile>(candidate);
        if (!file->open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            throw EAppError(file->errorString());
        }
        path = candidate;
        return file;
    }
    RaiseSystemError(EEXIST);
}

QString ReadCommandWord(const QString& text, qsizetype& pos)
{
    const qsizetype length = text.size();
    const QChar quote = u'"';
    // A NUL ends the text, as it always did for these command strings.
    auto at = [&](qsizetype i) { return i < length ? text.at(i).unicode() : char16_t(0); };
    for (;;) {
        if (at(pos) >= 1 && at(pos) <= 32)
            ++pos;
        else if (at(pos) == quote && at(pos + 1) == quote)
            pos += 2;
        else
            break;
    }
    QString word;
    while (at(pos) > 32) {
        if (at(pos) == quote) {
            ++pos;
            while (at(pos) != 0 && at(pos) != quote)
                word += text.at(pos++);
            if (at(pos) == quote)
                ++pos;
        } else {
            word += text.at(pos++);
        }
    }
    return word;
}

QString GetCommandWord(const QString& text, int n)
{
    qsizetype pos = 0;
    QString word = ReadCommandWord(text, pos);
    for (int i = 2; i <= n; ++i)
        word = ReadCommandWord(text, pos);
    return word;
}

QString GetCommandTail(const QString& text, int n)
{
    qsizetype pos = 0;
    for (int i = 2; i <= n; ++i)
        ReadCommandWord(text, pos);
    return text.mid(pos);
}

int FindSwitchIndex(const QStringList& params, const QString& name, const QString& switchChars,
                    bool ignoreCase)
{
    const Qt::CaseSensitivity cs = ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (qsizetype i = 0; i < params.size(); ++i)
        if (IsSwitch(params.at(i), name, switchChars, cs))
            return int(i);
    return -1;
}

int FindSwitchIndex(const QString& name, const QString& switchChars, bool ignoreCase)
{
    return FindSwitchIndex(CommandLineParams(), name, switchChars, ignoreCase);
}

int FindSwitch(const QStringList& params, const QString& name)
{
    return FindSwitchIndex(params, name, QStringLiteral("-/"), true);
}

int FindSwitch(const QString& name)
{
    return FindSwitch(CommandLineParams(), name);
}

QDateTime StrToTimestamp(const QString& text, const QDateTime& defaultValue)
{
    const int year = TimestampField(text, 0, 4);
    const int month = TimestampField(text, 4, 2);
    const int day = TimestampField(text, 6, 2);
    const int hour = TimestampField(text, 8, 2);
    const int minute = TimestampField(text, 10, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0)
        return defaultValue;
    const QDate date(year, month, day);
    const QTime time(hour, minute, qMax(TimestampField(text, 12, 2), 0),
                     qMax(TimestampField(text, 14, 3), 0));
    if (!date.isValid() || !time.isValid())
        return defaultValue;
    return QDateTime(date, time);
}

QString TimestampToStr(const QDateTime& value)
{
    const QDate date = value.date();
    const QTime time = value.time();
    return QString::asprintf("%4.4d%2.2d%2.2d%2.2d%2.2d%2.2d%3.3d", date.year(), date.month(),
                             date.day(), time.hour(), time.minute(), time.second(), time.msec());
}

QString ExpandArchiveName(const QString& pattern, const QDateTime& now)
{
    const QDate date = now.date();
    const QTime time = now.time();
    auto two = [](int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    QString name = pattern;
    name.replace(QStringLiteral("%Y"),
                 QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0')),
                 Qt::CaseInsensitive);
    name.replace(QStringLiteral("%M"), two(date.month()), Qt::CaseInsensitive);
    name.replace(QStringLiteral("%D"), two(date.day()), Qt::CaseInsensitive);
    name.replace(QStringLiteral("%H"), two(time.hour()), Qt::CaseInsensitive);
    name.replace(QStringLiteral("%N"), two(time.minute()), Qt::CaseInsensitive);
    name.replace(QStringLiteral("%S"), two(time.second()), Qt::CaseInsensitive);
    return name;
}

QString ExpandArchiveName(const QString& pattern)
{
    return ExpandArchiveName(pattern, QDateTime::currentDateTime());
}

QString NormalizeFolderPath(const QString& path, bool addTrailing)
{
    QString result = StripDelimiters(NativeSeparators(path));
    if (addTrailing && !result.isEmpty())
        result += Delimiter;
    return result;
}

QString NormalizeBaseFolder(const QString& path)
{
    const QString native = NativeSeparators(path);
    if (!native.startsWith(Delimiter))
        return NormalizeFolderPath(native, true);
    // Cutting the leading "/" would turn an absolute folder into one relative
    // to wherever the program happens to run.
    const QString inner = StripDelimiters(native);
    return inner.isEmpty() ? QString(Delimiter) : Delimiter + inner + Delimiter;
}

QString CheckFileMask(const QString& value, const QString& fallback)
{
    for (QChar c : value)
        if (QStringView(u"\"/:<>\\|").contains(c))
            return fallback;
    return value;
}

QString ExpandEscapes(const QString& text)
{
    QString result = text;
    result.replace(QStringLiteral("\\t"), QStringLiteral("\t"), Qt::CaseInsensitive);
    result.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"), Qt::CaseInsensitive);
    return result;
}

QString ConfiguredText(const QString& value, const QString& current)
{
    return value.isEmpty() ? current : ExpandEscapes(value);
}

QString ExpandStatusEscapes(const QString& text)
{
    QString result = text;
    result.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
    result.replace(QStringLiteral("\\t"), QStringLiteral("\t"));
    result.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    return result;
}
