#pragma once

#include "uExplorerEntry.h"

#include <QAbstractTableModel>
#include <QList>

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

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    TFileIconCache& FIcons;
    QList<TListEntry> FEntries;
};
