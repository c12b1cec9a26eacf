#include "uSentHistoryReader.h"

#include "uCodePage.h"
#include "uError.h"

#include <QFile>
#include <QFileInfo>

namespace {
constexpr qsizetype TimeColumnWidth = 20;
} // namespace

bool IsSentHistoryFile(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("zbx"), Qt::CaseInsensitive) == 0;
}

QStringList ReadSentHistory(const QString& path)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        throw EAppError(QStringLiteral("Nepavyko perskaityti išsiuntimų istorijos bylos \"%1\": %2")
                            .arg(path, QFileInfo(path).isDir() ? QStringLiteral("tai aplankas")
                                                               : file.errorString()));
    QStringList paths;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        // The path column runs to the end of the line: a path longer than its
        // 256 characters of padding is written whole and must be read whole.
        const QString entry = FromCodePage(line.mid(TimeColumnWidth)).trimmed();
        // A short or blank line names no file.
        if (!entry.isEmpty())
            paths.append(entry);
    }
    return paths;
}
