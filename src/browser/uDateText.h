#pragma once

#include <QHash>
#include <QLocale>
#include <QString>
#include <QTimeZone>

// Date column texts: the time in local time (with the offset that applied on
// that date), the locale's short date, a blank and its short time without
// seconds. Texts are kept per day and per minute of the day, since the files
// of one folder share few of either and formatting is slow.
class TDateTextFormat
{
public:
    explicit TDateTextFormat(const QLocale& locale = QLocale());

    // From milliseconds since the epoch (UTC).
    QString Text(qint64 msecsSinceEpoch);

private:
    QLocale FLocale;
    QTimeZone FZone;
    QString FTimeFormat;
    QHash<qint64, QString> FDays;
    QHash<int, QString> FMinutes;
};
