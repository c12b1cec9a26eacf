#pragma once

#include "uSelectedItem.h"

#include <QList>
#include <QString>

// What the history workspace's open command does with the list's selection.
enum class THistoryOpen {
    Nothing,
    ShowHistory, // list the files a history file records
    OpenFiles,   // open the selected workbooks as any other workspace does
};

struct THistoryOpenStep
{
    THistoryOpen Action = THistoryOpen::Nothing;
    QString Target; // the history file to show
};

// `onView` is the root folder followed by the sub-path: the folder or the
// history file the list shows now, taken when nothing is selected.
THistoryOpenStep HistoryOpenStep(const QList<TSelectedItem>& selected, const QString& onView);
