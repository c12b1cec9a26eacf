#include "uSizeText.h"

#include <cmath>

namespace {

constexpr qint64 KB = 1024;

// Three significant digits of a value of at least 1, rounded half away from
// zero, in the general format: plain up to three integer digits, else the
// scientific form "d,ddEnn".
QString GeneralText(double value, const QString& separator)
{
    int exponent = 0;
    double power = 1;
    while (value >= power * 10) {
        power *= 10;
        ++exponent;
    }
    // value / 10^(exponent - 2), computed so that small exponents stay exact.
    const double scaled =
        exponent <= 2 ? value * std::pow(10.0, 2 - exponent) : value / std::pow(10.0, exponent - 2);
    qint64 digits = qint64(std::floor(scaled + 0.5));
    if (digits >= 1000) {
        digits /= 10;
        ++exponent;
    }
    const QString text = QString::number(digits);
    if (exponent >= 3) {
        QString fraction = text.mid(1);
        while (fraction.endsWith(QLatin1Char('0')))
            fraction.chop(1);
        return text.left(1) + (fraction.isEmpty() ? QString() : separator + fraction) +
               QLatin1Char('E') + QStringLiteral("%1").arg(exponent, 2, 10, QLatin1Char('0'));
    }
    QString fraction = text.mid(exponent + 1);
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    return text.left(exponent + 1) + (fraction.isEmpty() ? QString() : separator + fraction);
}

} // namespace

QString FileSizeText(qint64 size)
{
    return QString::number(qMax(size, KB) / KB) + QStringLiteral(" KB");
}

QString TotalSizeText(qint64 size, const QLocale& locale)
{
    if (size < 0)
        return {};
    if (size < KB)
        return QStringLiteral("%1 B").arg(size);
    const QString separator = locale.decimalPoint();
    if (size < KB * KB)
        return GeneralText(double(size) / double(KB), separator) + QStringLiteral(" KB");
    if (size < KB * KB * KB)
        return GeneralText(double(size) / double(KB * KB), separator) + QStringLiteral(" MB");
    return GeneralText(double(size) / double(KB * KB * KB), separator) + QStringLiteral(" GB");
}
