#pragma once

#include <QList>
#include <QString>

#include <functional>

// An entry selected in the main window's file list, as sending sees it.
struct TSelectedItem
{
    QString Name; // the caption shown in the list
    QString Kind; // "dir" or "file"
    QString Path; // full path
};

// Read at the moment it is needed, so that a send takes the selection as it
// is when "Siųsti" is pressed.
using TSelectionSource = std::function<QList<TSelectedItem>()>;

// A send is composed only when something is selected and the first selected
// entry is not a folder.
bool CanComposeSend(const QList<TSelectedItem>& selection);
