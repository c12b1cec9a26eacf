#include "uExplorerModel.h"

#include "uFileIconCache.h"

TExplorerModel::TExplorerModel(TFileIconCache& icons, QObject* parent)
    : QAbstractTableModel(parent), FIcons(icons)
{}

void TExplorerModel::SetEntries(QList<TListEntry> entries)
{
    beginResetModel();
    FEntries = std::move(entries);
    endResetModel();
}

void TExplorerModel::AppendEntries(const QList<TListEntry>& entries)
{
    if (entries.isEmpty())
        return;
    beginInsertRows(QModelIndex(), int(FEntries.size()), int(FEntries.size() + entries.size() - 1));
    FEntries.append(entries);
    endInsertRows();
}

int TExplorerModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(FEntries.size());
}

int TExplorerModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TExplorerModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= FEntries.size())
        return {};
    const TListEntry& entry = FEntries[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case ColumnName:
            return entry.Name;
        case ColumnSize:
            return entry.SizeText;
        case ColumnType:
            return entry.TypeText;
        case ColumnDate:
            return entry.DateText;
        }
        break;
    case Qt::DecorationRole:
        if (index.column() == ColumnName)
            return FIcons.Icon(entry);
        break;
    case Qt::TextAlignmentRole:
        if (index.column() == ColumnSize)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        break;
    }
    return {};
}

QVariant TExplorerModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(section == ColumnSize ? Qt::AlignRight | Qt::AlignVCenter
                                                         : Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case ColumnName:
        return QStringLiteral("Vardas");
    case ColumnSize:
        return QStringLiteral("Dydis");
    case ColumnType:
        return QStringLiteral("Tipas");
    case ColumnDate:
        return QStringLiteral("Data");
    }
    return {};
}
