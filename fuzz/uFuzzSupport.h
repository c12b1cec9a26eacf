#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

// The next field of the input, as UTF-8 text.
inline QString NextText(FuzzedDataProvider& input)
{
    return QString::fromStdString(input.ConsumeRandomLengthString());
}

inline QString RestText(FuzzedDataProvider& input)
{
    return QString::fromStdString(input.ConsumeRemainingBytesAsString());
}

// A broken promise of the code under test: reported like a crash, so the
// fuzzer keeps the input.
inline void Expect(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "Broken: %s\n", what);
    std::abort();
}

// A folder of this process's own, on tmpfs when there is one so that the
// writes' fsync costs little; removed when the process ends normally.
inline QString ScratchFolder()
{
    static const QTemporaryDir folder((QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                           ? QStringLiteral("/dev/shm")
                                           : QDir::tempPath()) +
                                      QStringLiteral("/kelmira-fuzz-XXXXXX"));
    if (!folder.isValid()) {
        std::fprintf(stderr, "No scratch folder\n");
        std::abort();
    }
    return folder.path();
}
