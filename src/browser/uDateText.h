#pragma once

#include <QHash>
#include <QLocale>
#include <QString>
#include <QTimeZone>

// Date column texts: the time in local time (with the offset that applied on
// that date), the locale's short date, a blank and its short time without
// seconds. A folder's files share few days, minutes and offsets, and each of
// them is looked up or formatted once.
class TDateTextFormat
{
public:
    explicit TDateTextFormat(const QLocale& locale = QLocale());

    // From milliseconds since the epoch (UTC).
    QString Text(qint64 msecsSinceEpoch);

private:
    int OffsetMSecs(qint64 msecsSinceEpoch);

    QLocale FLocale;
    QTimeZone FZone;
    QString FTimeFormat;
    QHash<qint64, QString> FDays;
    QHash<int, QString> FMinutes;
    // The offset between two transitions of the zone: [FFrom, FTo).
    qint64 FFrom = 1, FTo = 0;
    int FOffset = 0;
};
