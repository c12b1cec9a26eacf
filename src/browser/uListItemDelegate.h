#pragma once

#include <QSize>
#include <QStyledItemDelegate>

class TExplorerModel;

// Item size of the list styles: one size for all entries, that of the widest
// name. Measuring every name of a large folder costs more than reading the
// folder, so only the names with the most characters are measured; a shorter
// name of wider letters may lose its last letters to an ellipsis.
class TListItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    TListItemDelegate(const TExplorerModel& model, QObject* parent = nullptr);

    // On: one size for all (list and small icons); off: each entry its own.
    void SetUniform(bool uniform);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    void Invalidate() { FSize = QSize(); }

    const TExplorerModel& FModel;
    bool FUniform = false;
    mutable QSize FSize;
};
