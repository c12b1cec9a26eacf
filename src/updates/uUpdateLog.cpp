#include "uUpdateLog.h"

#include "uCodePage.h"
#include "uDownloadTaskStore.h"

#include <QFileInfo>

#include <unistd.h>

namespace {

// Qt's long time formats carry the time zone; the log's times are local and
// show none.
QString WithoutTimeZone(const QString& format)
{
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result += c;
    }
    return result.trimmed();
}

} // namespace

QString UpdateLogFileName(const QString& baseConfigPath)
{
    const QString suffix = QFileInfo(baseConfigPath).suffix();
    const QString stem =
        suffix.isEmpty() && !QFileInfo(baseConfigPath).fileName().endsWith(QLatin1Char('.'))
            ? baseConfigPath
            : baseConfigPath.left(baseConfigPath.size() - suffix.size() - 1);
    return stem + QStringLiteral(".log");
}

bool LogEnabledValue(const QString& value)
{
    const QString trimmed = value.trimmed();
    return !trimmed.isEmpty() && QStringLiteral("Y1T").contains(trimmed.at(0));
}

QString LogTimestamp(const QDateTime& when, const QLocale& locale)
{
    QString date = locale.toString(when.date(), QLocale::ShortFormat);
    const QTime time = when.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return date;
    return date + QLatin1Char(' ') +
           locale.toString(time, WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

TUpdateLog::TUpdateLog(const QString& fileName) : FFileName(fileName) {}

void TUpdateLog::WriteLog(const IDownloadTaskStore* store, const QString& message)
{
    // One line is one write, and the lock keeps the two threads' lines whole.
    std::lock_guard lock(FLock);
    if (FLogMode == TLogMode::Undecided) {
        bool on = false;
        try {
            on = store && LogEnabledValue(store->ReadString(UpdatesSection, QStringLiteral("Log"),
                                                            QStringLiteral("N")));
        } catch (const std::exception&) {
        }
        FLogMode = on ? TLogMode::On : TLogMode::Off;
        if (on) {
            FLogFile = std::make_unique<QFile>(FFileName);
            if (!FLogFile->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
                FLogFile.reset();
        }
    }
    if (!FLogFile)
        return;
    const QByteArray line = ToCodePage(LogTimestamp(QDateTime::currentDateTime()) +
                                       QLatin1Char(' ') + message + QStringLiteral("\r\n"));
    FLogFile->write(line);
    ::fdatasync(FLogFile->handle());
}
