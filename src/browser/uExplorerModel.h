#pragma once

#include "uExplorerEntry.h"

#include <QAbstractTableModel>
#include <QList>

#include <functional>

class TFileIconCache;

// The entries of the file list as the views show them: the columns "Vardas",
// "Dydis", "Tipas" and "Data" (the kind and the path are never shown).
class TExplorerModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum TColumn { ColumnName, ColumnSize, ColumnType, ColumnDate, ColumnCount };

    TExplorerModel(TFileIconCache& icons, QObject* parent = nullptr);

    const QList<TListEntry>& Entries() const { return FEntries; }
    void SetEntries(QList<TListEntry> entries);
    void AppendEntries(const QList<TListEntry>& entries);
    // A renamed entry's new name and path.
    void RenameEntry(int row, const QString& name, const QString& path);

    // Names are edited in place when canEdit allows it for the row; the
    // edited text goes to onEdited, which renames the entry itself.
    void SetEditHandlers(std::function<bool(int)> canEdit,
                         std::function<void(int, const QString&)> onEdited);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    TFileIconCache& FIcons;
    QList<TListEntry> FEntries;
    std::function<bool(int)> FCanEdit;
    std::function<void(int, const QString&)> FOnEdited;
};
