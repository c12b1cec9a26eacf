#include "uSentHistory.h"

#include "uCodePage.h"
#include "uError.h"
#include "uShared.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace {

// True when the file's last line has no line break: a write cut short by a
// crash, or a hand edit.
bool EndsMidLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0 || !file.seek(file.size() - 1))
        return false;
    return file.read(1) != "\n";
}

} // namespace

QString HistoryTimeText(const QDateTime& when)
{
    const QLocale locale = QLocale::system();
    // Qt's long time format carries the time zone, which the history lines
    // never had.
    QString time = locale.timeFormat(QLocale::LongFormat);
    time.remove(QLatin1Char('t'));
    return locale.toString(when, locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ') +
                                     time.trimmed());
}

QString SentHistoryPath(const QString& lgBaseFolder, const QString& pattern, const QDateTime& now)
{
    QString path = lgBaseFolder + NativeSeparators(ExpandArchiveName(pattern, now));
    // Without a base folder a relative name would land wherever the program
    // happens to run; the user is told instead.
    if (!QDir::isAbsolutePath(path))
        throw EAppError(QStringLiteral("Nenurodytas išsiųstų AF aplankas (nustatymas „Lg perziura "
                                       "pirma“ tuščias arba toks aplankas neegzistuoja)."));
    return path;
}

QByteArray SentHistoryLine(const THistoryEntry& entry)
{
    // A line break in a file name would split the entry into two lines that
    // the history reads back as two other files; it is written as "?", as
    // letters the code page lacks are.
    QString path = entry.Path;
    for (QChar& c : path)
        if (c.unicode() < 0x20)
            c = QLatin1Char('?');
    // The columns are counted in bytes, as the reader counts them: a character
    // outside the code page (two UTF-16 units when beyond U+FFFF) is one "?".
    return ToCodePage(entry.Time).leftJustified(20) + ToCodePage(path).leftJustified(256) + "\r\n";
}

void AppendSentHistory(const QString& path, const QList<THistoryEntry>& entries)
{
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder))
        throw EAppError(QStringLiteral("Nepavyko sukurti aplanko %1").arg(folder));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        throw EAppError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    QByteArray lines;
    // Joined to such a line, the first new entry would read as a wrong path.
    if (EndsMidLine(path))
        lines += "\r\n";
    for (const THistoryEntry& entry : entries)
        lines += SentHistoryLine(entry);
    if (file.write(lines) != lines.size() || !file.flush())
        throw EAppError(QStringLiteral("%1: %2").arg(path, file.errorString()));
}
