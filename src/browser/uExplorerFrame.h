#pragma once

#include "uExplorerEntry.h"
#include "uFolderReader.h"
#include "uMaskFilter.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QAbstractItemView;
class QAction;
class QItemSelectionModel;
class QLabel;
class QListView;
class QMenu;
class QStackedWidget;
class QStatusBar;
class QToolButton;
class QTreeView;
class TExplorerModel;
class TFileIconCache;
class TListItemDelegate;
class TShellChangeThread;

// The file list of the main window: one folder (or an explicit list of files)
// with icons, sizes, types and dates in four view styles, an up button, the
// path label and a status bar with the object count and the total size.
class TExplorerFrame : public QWidget
{
    Q_OBJECT
public:
    explicit TExplorerFrame(QWidget* parent = nullptr);
    ~TExplorerFrame() override;

    void SetRootDir(const QString& path);
    void SetSubDir(const QString& path);
    void SetIncludeMasks(const QString& masks);
    void SetHideMasks(const QString& masks);
    void SetOnOpen(std::function<void()> onOpen);
    void AddFileList(const QStringList& lines, bool pairs);
    // Removes every entry (the owner's "clear" before a configured list).
    void Clear();

    // Batches the owner's calls so that the list is redrawn once.
    void BeginUpdate();
    void EndUpdate();

    QString RootDir() const;
    QString SubDir() const;
    QString IncludeMasks() const;
    QString HideMasks() const;

    int ViewStyle() const;
    void SetViewStyle(int style);
    bool Locked() const;
    void SetLocked(bool locked);

    // Entries in list order, and the selection.
    const QList<TListEntry>& Entries() const;
    QList<int> SelectedIndexes() const; // in list order
    QList<TListEntry> SelectedEntries() const;
    int SelectedCount() const;
    void SelectIndexes(const QList<int>& rows);

    QAction* MenuItemOpen() const;
    QStatusBar* StatusBar() const;
    QString StatusText(int panel) const;
    // The owner adds its own panels after the count and the size.
    void AddStatusPanel(QWidget* panel, int width);

    // Up one folder (the up button; the owner may bind a key to it too);
    // nothing at the root or without a root.
    void ButtonUDirClick();
    // The open action (double click, Enter, MenuItemOpen): enters a single
    // selected folder, then runs OnOpen; nothing without a selection.
    void ListViewDblClick();

    // Whether the in-place edit of the entry's name may start (unlocked,
    // workbooks only).
    bool ListViewEditing(int row) const;
    // Finishes an edit: renames the entry's file by the edited name, never
    // over an existing file; a refused rename keeps the old name.
    void ListViewEdited(int row, const QString& name);
    // Sets the entry items of the context menu for the selection.
    void PopupMenuExplorerPopup();
    // Starts editing the selected entry's name.
    void MenuItemRenameClick();
    // Moves the selected entries to the trash after the confirmation.
    void MenuItemDeleteClick();

signals:
    // After every listing (SetSubDir, AddFileList, a refresh).
    void Listed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateTopBar();
    void CreateViews();
    void CreatePopupMenu();
    void CreateStatusBar();
    bool ListViewKeyDown(QAbstractItemView* view, int key);
    QAbstractItemView* CurrentView() const;
    int RowOfPath(const QString& path) const;
    void ReadDir();
    void StartWatcher(const QString& folder);
    void StopWatcher();
    void FolderChanged();
    void ShowStatus(qsizetype count, qint64 total);
    void AdjustStatusPanels();

    QString FRootDir, FSubDir;
    TMaskFilter FMasks;
    TFolderReader FReader;
    std::function<void()> FOnOpen;
    bool FLocked = false;
    int FViewStyle = 0;
    int FUpdateDepth = 0;
    // The watcher deletes itself when it ends; the pointer then clears.
    QPointer<TShellChangeThread> FWatcher;

    std::unique_ptr<TFileIconCache> FIcons;
    TExplorerModel* FModel = nullptr;
    QItemSelectionModel* FSelection = nullptr;
    QToolButton* FButtonUDir = nullptr;
    QList<QToolButton*> FViewButtons;
    QLabel* FStaticText = nullptr;
    QStackedWidget* FViews = nullptr;
    QListView* FListView = nullptr;
    TListItemDelegate* FListDelegate = nullptr;
    QTreeView* FTreeView = nullptr;
    QMenu* FPopupMenuExplorer = nullptr;
    QAction* FMenuItemOpen = nullptr;
    QAction* FMenuItemRename = nullptr;
    QAction* FMenuItemDelete = nullptr;
    QList<QAction*> FViewMenuItems;
    QStatusBar* FStatusBar = nullptr;
    QList<QWidget*> FStatusPanels;
};
