#include "uDateText.h"

#include <QDateTime>
#include <QRegularExpression>

#include <limits>

namespace {

constexpr qint64 MSecsPerDay = 24 * 3600 * 1000;
constexpr qint64 JulianDayOfEpoch = 2440588;

} // namespace

TDateTextFormat::TDateTextFormat(const QLocale& locale)
    : FLocale(locale), FZone(QTimeZone::systemTimeZone()),
      FTimeFormat(locale.timeFormat(QLocale::ShortFormat))
{
    // Some locales put seconds even into the short time.
    static const QRegularExpression seconds(QStringLiteral("[^hHmMaApP]?s+"));
    FTimeFormat.remove(seconds);
}

int TDateTextFormat::OffsetMSecs(qint64 msecsSinceEpoch)
{
    // The zone's own table gives the offset; converting through the C library
    // would look at the zone file once per file.
    if (msecsSinceEpoch < FFrom || msecsSinceEpoch >= FTo) {
        const QDateTime utc = QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch, Qt::UTC);
        FOffset = FZone.offsetFromUtc(utc) * 1000;
        const QTimeZone::OffsetData previous = FZone.previousTransition(utc.addMSecs(1));
        const QTimeZone::OffsetData next = FZone.nextTransition(utc);
        FFrom = previous.atUtc.isValid() ? previous.atUtc.toMSecsSinceEpoch()
                                         : std::numeric_limits<qint64>::min();
        FTo = next.atUtc.isValid() ? next.atUtc.toMSecsSinceEpoch()
                                   : std::numeric_limits<qint64>::max();
    }
    return FOffset;
}

QString TDateTextFormat::Text(qint64 msecsSinceEpoch)
{
    const qint64 local = msecsSinceEpoch + OffsetMSecs(msecsSinceEpoch);
    const qint64 day = local >= 0 ? local / MSecsPerDay : (local + 1) / MSecsPerDay - 1;
    const int minute = int((local - day * MSecsPerDay) / 60000);
    auto date = FDays.constFind(day);
    if (date == FDays.cend())
        date = FDays.insert(day, FLocale.toString(QDate::fromJulianDay(day + JulianDayOfEpoch),
                                                  QLocale::ShortFormat));
    auto time = FMinutes.constFind(minute);
    if (time == FMinutes.cend())
        time =
            FMinutes.insert(minute, FLocale.toString(QTime(minute / 60, minute % 60), FTimeFormat));
    return *date + QLatin1Char(' ') + *time;
}
