#pragma once

#include <QString>
#include <QStringList>

// A parameter as it must be written into a command line so that it comes
// back as one word: enclosed in double quotes, inner quotes doubled, when it
// holds a blank; otherwise unchanged.
QString QuoteIfBlank(const QString& param);

// Parameters from position n (0-based) to the last, each through
// QuoteIfBlank, separated by one blank; empty when n is past the last.
QString JoinParams(const QStringList& params, int n);
