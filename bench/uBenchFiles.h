#pragma once

#include <QString>
#include <QtGlobal>

// A file of random bytes for a bench to move around; false when it cannot be
// written whole.
bool MakeRandomFile(const QString& path, qint64 size);
