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

void TExplorerModel::RenameEntry(int row, const QString& name, const QString& path)
{
    if (row < 0 || row >= FEntries.size())
        return;
    FEntries[row].Name = name;
    FEntries[row].Path = path;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void TExplorerModel::SetEditHandlers(std::function<bool(int)> canEdit,
                                     std::function<void(int, const QString&)> onEdited)
{
    FCanEdit = std::move(canEdit);
    FOnEdited = std::move(onEdited);
}

Qt::ItemFlags TExplorerModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == ColumnName && FCanEdit && FCanEdit(index.row()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TExplorerModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != ColumnName || !FOnEdited)
        return false;
    FOnEdited(index.row(), value.toString());
    return false;
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
    case Qt::EditRole:
        if (index.column() == ColumnName)
            return entry.Name;
        break;
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
