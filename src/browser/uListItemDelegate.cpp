#include "uListItemDelegate.h"

#include "uExplorerModel.h"

#include <algorithm>
#include <vector>

namespace {

constexpr size_t MeasuredNames = 32;

} // namespace

TListItemDelegate::TListItemDelegate(const TExplorerModel& model, QObject* parent)
    : QStyledItemDelegate(parent), FModel(model)
{
    connect(&model, &QAbstractItemModel::modelReset, this, &TListItemDelegate::Invalidate);
    connect(&model, &QAbstractItemModel::rowsInserted, this, &TListItemDelegate::Invalidate);
}

void TListItemDelegate::SetCellSize(const QSize& size)
{
    FCell = size;
    Invalidate();
}

QSize TListItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    if (FCell.isValid())
        return FCell;
    if (!FSize.isValid()) {
        const QList<TListEntry>& entries = FModel.Entries();
        std::vector<int> rows(size_t(entries.size()));
        for (size_t row = 0; row < rows.size(); ++row)
            rows[row] = int(row);
        const auto longer = [&entries](int a, int b) {
            return entries[a].Name.size() > entries[b].Name.size();
        };
        const size_t measured = std::min(MeasuredNames, rows.size());
        std::partial_sort(rows.begin(), rows.begin() + ptrdiff_t(measured), rows.end(), longer);
        FSize = QSize(0, 0);
        for (size_t i = 0; i < measured; ++i)
            FSize = FSize.expandedTo(
                QStyledItemDelegate::sizeHint(option, FModel.index(rows[i], index.column())));
    }
    return FSize;
}
