#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the program prints instead of starting when its first parameter is
// "--help" or "--version"; nothing for any other command line.
std::optional<QString> CommandLineInfo(const QStringList& params);
