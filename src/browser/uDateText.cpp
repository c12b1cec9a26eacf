#include "uDateText.h"

#include <QRegularExpression>

TDateTextFormat::TDateTextFormat(const QLocale& locale)
    : FLocale(locale), FTimeFormat(locale.timeFormat(QLocale::ShortFormat))
{
    // Some locales put seconds even into the short time.
    static const QRegularExpression seconds(QStringLiteral("[^hHmMaApP]?s+"));
    FTimeFormat.remove(seconds);
}

QString TDateTextFormat::Text(const QDateTime& time)
{
    if (!time.isValid())
        return {};
    const QDateTime local = time.toLocalTime();
    const QDate date = local.date();
    auto day = FDays.find(date.toJulianDay());
    if (day == FDays.end())
        day = FDays.insert(date.toJulianDay(), FLocale.toString(date, QLocale::ShortFormat));
    const QTime clock = local.time();
    const int minute = clock.hour() * 60 + clock.minute();
    auto text = FMinutes.find(minute);
    if (text == FMinutes.end())
        text = FMinutes.insert(minute,
                               FLocale.toString(QTime(clock.hour(), clock.minute()), FTimeFormat));
    return *day + QLatin1Char(' ') + *text;
}
