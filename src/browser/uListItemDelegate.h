#pragma once

#include <QSize>
#include <QStyledItemDelegate>

class TExplorerModel;

// Item size of the icon and list styles, one for all entries: the icon
// style's cell, or in the list styles the size of the widest name. Measuring
// every name of a large folder costs more than reading the folder, so only the
// names with the most characters are measured; a shorter name of wider
// letters may lose its last letters to an ellipsis.
class TListItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    TListItemDelegate(const TExplorerModel& model, QObject* parent = nullptr);

    // The cell of the icon style; an invalid size asks for the widest name.
    void SetCellSize(const QSize& size);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    void Invalidate() { FSize = QSize(); }

    const TExplorerModel& FModel;
    QSize FCell;
    mutable QSize FSize;
};
