#include "uDateText.h"

#include <QDateTime>
#include <QRegularExpression>

TDateTextFormat::TDateTextFormat(const QLocale& locale)
    : FLocale(locale), FZone(QTimeZone::systemTimeZone()),
      FTimeFormat(locale.timeFormat(QLocale::ShortFormat))
{
    // Some locales put seconds even into the short time.
    static const QRegularExpression seconds(QStringLiteral("[^hHmMaApP]?s+"));
    FTimeFormat.remove(seconds);
}

QString TDateTextFormat::Text(qint64 msecsSinceEpoch)
{
    // The zone's own table gives the offset; converting through the C library
    // would look at the zone file once per file.
    const QDateTime utc = QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch, Qt::UTC);
    const QDateTime local = utc.addSecs(FZone.offsetFromUtc(utc));
    const QDate date = local.date();
    auto day = FDays.constFind(date.toJulianDay());
    if (day == FDays.cend())
        day = FDays.insert(date.toJulianDay(), FLocale.toString(date, QLocale::ShortFormat));
    const QTime clock = local.time();
    const int minute = clock.hour() * 60 + clock.minute();
    auto text = FMinutes.constFind(minute);
    if (text == FMinutes.cend())
        text = FMinutes.insert(minute,
                               FLocale.toString(QTime(clock.hour(), clock.minute()), FTimeFormat));
    return *day + QLatin1Char(' ') + *text;
}
