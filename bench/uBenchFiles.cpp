#include "uBenchFiles.h"

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>

bool MakeRandomFile(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 written = 0; written < size; written += block.size()) {
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()),
                                              block.size() / 4);
        if (file.write(block) != block.size())
            return false;
    }
    return true;
}
