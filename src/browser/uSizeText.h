#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>

// Sizes are 64-bit byte counts, so files of 2 GiB and more and large folder
// totals show their real size.

// "%d KB" of a file: whole kilobytes rounded down, at least 1.
QString FileSizeText(qint64 size);

// The total of a listing: "0 B" ... "1023 B", then KB, MB and GB with three
// significant digits in the general format ("1,46 KB", "10 KB", "1,02E03 KB")
// and the locale's decimal separator; empty for a negative count.
QString TotalSizeText(qint64 size, const QLocale& locale = QLocale());
