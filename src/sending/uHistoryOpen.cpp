#include "uHistoryOpen.h"

#include "uSentHistoryReader.h"

#include <QFileInfo>

THistoryOpenStep HistoryOpenStep(const QList<TSelectedItem>& selected, const QString& onView)
{
    const QString file = QStringLiteral("file");
    if (selected.size() > 1) {
        // Several workbooks open together; a folder or a history file among
        // them makes the command do nothing.
        for (const TSelectedItem& item : selected)
            if (item.Kind != file || IsSentHistoryFile(item.Path))
                return {};
        return {THistoryOpen::OpenFiles, {}};
    }
    QString target;
    if (selected.isEmpty())
        target = onView;
    else if (selected.first().Kind == file)
        target = selected.first().Path;
    if (target.isEmpty() || !QFileInfo(target).isFile())
        return {};
    if (IsSentHistoryFile(target))
        return {THistoryOpen::ShowHistory, target};
    return {THistoryOpen::OpenFiles, {}};
}
