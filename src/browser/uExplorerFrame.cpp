#include "uExplorerFrame.h"

#include "uBrowserPaths.h"
#include "uDesktopShell.h"
#include "uExplorerModel.h"
#include "uFileIconCache.h"
#include "uFileOperations.h"
#include "uListItemDelegate.h"
#include "uMessageDlg.h"
#include "uShellChangeThread.h"
#include "uSizeText.h"
#include "uViewStyleIcons.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <array>

namespace {

constexpr int TopBarHeight = 24;
constexpr int ToolButtonSide = 23;
constexpr int SizePanelWidth = 60;
constexpr int LargeIconSide = 32;
constexpr int SmallIconSide = 16;

// The hourglass for the time of a fill, put back also when the fill fails.
class TWaitCursor
{
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

// One batch update of the list, ended also when the fill fails.
class TUpdateBatch
{
public:
    explicit TUpdateBatch(TExplorerFrame& frame) : FFrame(frame) { FFrame.BeginUpdate(); }
    ~TUpdateBatch() { FFrame.EndUpdate(); }
    TUpdateBatch(const TUpdateBatch&) = delete;
    TUpdateBatch& operator=(const TUpdateBatch&) = delete;

private:
    TExplorerFrame& FFrame;
};

// The selection stays visible when the list loses the focus.
void KeepSelectionVisible(QAbstractItemView* view)
{
    QPalette palette = view->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    view->setPalette(palette);
}

} // namespace

TExplorerFrame::TExplorerFrame(QWidget* parent)
    : QWidget(parent), FIcons(std::make_unique<TFileIconCache>())
{
    resize(259, 260);
    FModel = new TExplorerModel(*FIcons, this);
    FSelection = new QItemSelectionModel(FModel, this);
    // The edited name arrives while the editor is still closing: the rename,
    // which may ask a question, runs after it, on the entry found again by
    // its path.
    FModel->SetEditHandlers([this](int row) { return ListViewEditing(row); },
                            [this](int row, const QString& name) {
                                const QString path = FModel->Entries().at(row).Path;
                                QMetaObject::invokeMethod(
                                    this,
                                    [this, path, name] {
                                        const int found = RowOfPath(path);
                                        if (found >= 0)
                                            ListViewEdited(found, name);
                                    },
                                    Qt::QueuedConnection);
                            });
    CreateTopBar();
    CreateViews();
    CreatePopupMenu();
    CreateStatusBar();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FButtonUDir->parentWidget());
    layout->addWidget(FViews, 1);
    layout->addWidget(FStatusBar);
    SetViewStyle(0);
}

TExplorerFrame::~TExplorerFrame()
{
    // No change notice may reach a frame that is gone.
    StopWatcher();
}

void TExplorerFrame::CreateTopBar()
{
    auto* panelTop = new QWidget(this);
    panelTop->setObjectName(QStringLiteral("PanelTop"));
    panelTop->setFixedHeight(TopBarHeight);
    auto* layout = new QHBoxLayout(panelTop);
    layout->setContentsMargins(1, 0, 0, 0);
    layout->setSpacing(0);

    FButtonUDir = new QToolButton(panelTop);
    FButtonUDir->setObjectName(QStringLiteral("ButtonUDir"));
    FButtonUDir->setToolTip(QStringLiteral("Aukštyn"));
    FButtonUDir->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    FButtonUDir->setAutoRaise(true);
    FButtonUDir->setFixedSize(ToolButtonSide, ToolButtonSide);
    FButtonUDir->setEnabled(false);
    connect(FButtonUDir, &QToolButton::clicked, this, &TExplorerFrame::ButtonUDirClick);
    layout->addWidget(FButtonUDir);
    layout->addSpacing(7);

    static const char* const names[] = {"ButtonLIco", "ButtonSIco", "ButtonList", "ButtonRprt"};
    const QStringList hints = {QStringLiteral("Didelės piktogramos"),
                               QStringLiteral("Mažos piktogramos"), QStringLiteral("Sąrašas"),
                               QStringLiteral("Išsamiai")};
    auto* group = new QButtonGroup(panelTop);
    for (int style = 0; style < 4; ++style) {
        auto* button = new QToolButton(panelTop);
        button->setObjectName(QLatin1String(names[style]));
        button->setToolTip(hints[style]);
        button->setIcon(ViewStyleIcon(style));
        button->setAutoRaise(true);
        button->setCheckable(true);
        button->setFixedSize(ToolButtonSide, ToolButtonSide);
        group->addButton(button, style);
        layout->addWidget(button);
        FViewButtons.append(button);
    }
    connect(group, &QButtonGroup::idClicked, this, &TExplorerFrame::SetViewStyle);
    layout->addSpacing(3);

    FStaticText = new QLabel(panelTop);
    FStaticText->setObjectName(QStringLiteral("StaticText"));
    // A long path must not make the frame wider.
    FStaticText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(FStaticText, 1);
}

void TExplorerFrame::CreateViews()
{
    FViews = new QStackedWidget(this);
    FListView = new QListView(FViews);
    FListView->setObjectName(QStringLiteral("ListView"));
    FListView->setMovement(QListView::Static);
    FListView->setResizeMode(QListView::Adjust);
    FListView->setUniformItemSizes(true);
    FListDelegate = new TListItemDelegate(*FModel, FListView);
    FListView->setItemDelegate(FListDelegate);

    FTreeView = new QTreeView(FViews);
    FTreeView->setObjectName(QStringLiteral("ListViewReport"));
    FTreeView->setRootIsDecorated(false);
    FTreeView->setItemsExpandable(false);
    FTreeView->setUniformRowHeights(true);
    FTreeView->setAllColumnsShowFocus(true);
    FTreeView->setSelectionBehavior(QAbstractItemView::SelectRows);

    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(FListView), static_cast<QAbstractItemView*>(FTreeView)}) {
        view->setModel(FModel);
        // Both views share one selection, so a style change keeps it.
        QItemSelectionModel* own = view->selectionModel();
        view->setSelectionModel(FSelection);
        delete own;
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        // A slow second click on a selected entry edits its name; F2 is the
        // frame's own key.
        view->setEditTriggers(QAbstractItemView::SelectedClicked);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        view->installEventFilter(this);
        KeepSelectionVisible(view);
        connect(view, &QAbstractItemView::doubleClicked, this, &TExplorerFrame::ListViewDblClick);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
            FPopupMenuExplorer->popup(view->viewport()->mapToGlobal(pos));
        });
        FViews->addWidget(view);
    }

    // Each column at least as wide as its caption; the names and type names
    // get room to be read without the user widening them first. The last
    // column fills the rest.
    QHeaderView* header = FTreeView->header();
    header->setStretchLastSection(true);
    const std::array<int, TExplorerModel::ColumnCount> readable = {200, 0, 110, 0};
    for (int column = 0; column < TExplorerModel::ColumnCount; ++column)
        header->resizeSection(column, qMax(header->sectionSizeHint(column),
                                           readable.at(static_cast<size_t>(column))));
}

void TExplorerFrame::CreatePopupMenu()
{
    FPopupMenuExplorer = new QMenu(this);
    FPopupMenuExplorer->setObjectName(QStringLiteral("PopupMenuExplorer"));
    FMenuItemOpen = FPopupMenuExplorer->addAction(QStringLiteral("&Atidaryti"));
    FMenuItemOpen->setObjectName(QStringLiteral("MenuItemOpen"));
    FPopupMenuExplorer->setDefaultAction(FMenuItemOpen);
    connect(FMenuItemOpen, &QAction::triggered, this, &TExplorerFrame::ListViewDblClick);
    FMenuItemRename = FPopupMenuExplorer->addAction(QStringLiteral("P&ervadinti"));
    FMenuItemRename->setObjectName(QStringLiteral("MenuItemRename"));
    connect(FMenuItemRename, &QAction::triggered, this, &TExplorerFrame::MenuItemRenameClick);
    FMenuItemDelete = FPopupMenuExplorer->addAction(QStringLiteral("Naikin&ti"));
    FMenuItemDelete->setObjectName(QStringLiteral("MenuItemDelete"));
    connect(FMenuItemDelete, &QAction::triggered, this, &TExplorerFrame::MenuItemDeleteClick);
    connect(FPopupMenuExplorer, &QMenu::aboutToShow, this, &TExplorerFrame::PopupMenuExplorerPopup);
    FPopupMenuExplorer->addSeparator()->setObjectName(QStringLiteral("MenuItemSep"));

    static const char* const names[] = {"MenuItemLIco", "MenuItemSIco", "MenuItemList",
                                        "MenuItemRprt"};
    const QStringList captions = {QStringLiteral("Didelės piktogramos"),
                                  QStringLiteral("Mažos piktogramos"), QStringLiteral("Sąrašas"),
                                  QStringLiteral("Išsamiau")};
    auto* group = new QActionGroup(FPopupMenuExplorer);
    for (int style = 0; style < 4; ++style) {
        QAction* item = FPopupMenuExplorer->addAction(ViewStyleIcon(style), captions[style]);
        item->setObjectName(QLatin1String(names[style]));
        item->setCheckable(true);
        item->setActionGroup(group);
        connect(item, &QAction::triggered, this, [this, style] { SetViewStyle(style); });
        FViewMenuItems.append(item);
    }
}

void TExplorerFrame::CreateStatusBar()
{
    FStatusBar = new QStatusBar(this);
    FStatusBar->setObjectName(QStringLiteral("StatusBar"));
    FStatusBar->setSizeGripEnabled(false);
    auto* count = new QLabel(FStatusBar);
    auto* size = new QLabel(FStatusBar);
    size->setAlignment(Qt::AlignCenter);
    size->setMinimumWidth(SizePanelWidth);
    FStatusBar->addWidget(count, 1);
    FStatusBar->addWidget(size);
    FStatusPanels = {count, size};
}

void TExplorerFrame::SetRootDir(const QString& path)
{
    // The names of the folder are joined to the root, so it keeps its "/".
    FRootDir = FolderWithDelimiter(path);
}

void TExplorerFrame::SetSubDir(const QString& path)
{
    FSubDir = path;
    StopWatcher();
    const QString folder = FRootDir + FSubDir;
    if (!FRootDir.isEmpty() && QFileInfo(folder).isDir()) {
        ReadDir();
        StartWatcher(folder);
    } else {
        FModel->SetEntries({});
        ShowStatus(0, 0);
    }
    FStaticText->setText(folder);
    FButtonUDir->setEnabled(!FSubDir.isEmpty());
    emit Listed();
}

void TExplorerFrame::ReadDir()
{
    TWaitCursor cursor;
    TUpdateBatch batch(*this);
    TListing listing = FReader.ReadFolder(FRootDir + FSubDir, FMasks);
    FModel->SetEntries(std::move(listing.Entries));
    ShowStatus(FModel->Entries().size(), listing.Total);
}

void TExplorerFrame::StartWatcher(const QString& folder)
{
    StopWatcher();
    if (folder.isEmpty())
        return;
    FWatcher = new TShellChangeThread(folder, this, [this] { FolderChanged(); });
}

void TExplorerFrame::StopWatcher()
{
    if (!FWatcher)
        return;
    // Reports it might still make go nowhere; one already queued only reads
    // the folder once more.
    disconnect(FWatcher, nullptr, this, nullptr);
    FWatcher->Stop();
    FWatcher = nullptr;
}

void TExplorerFrame::FolderChanged()
{
    // Read the folder anew; this also replaces the watcher that reported.
    SetSubDir(FSubDir);
}

void TExplorerFrame::AddFileList(const QStringList& lines, bool pairs)
{
    TWaitCursor cursor;
    TUpdateBatch batch(*this);
    const TListing listing = FReader.ReadFileList(lines, pairs);
    FModel->AppendEntries(listing.Entries);
    ShowStatus(FModel->Entries().size(), listing.Total);
    emit Listed();
}

void TExplorerFrame::Clear()
{
    FModel->SetEntries({});
}

void TExplorerFrame::SetIncludeMasks(const QString& masks)
{
    if (FMasks.SetIncludeMasks(masks))
        FStatusBar->setToolTip(FMasks.Hint());
}

void TExplorerFrame::SetHideMasks(const QString& masks)
{
    if (FMasks.SetHideMasks(masks))
        FStatusBar->setToolTip(FMasks.Hint());
}

void TExplorerFrame::SetOnOpen(std::function<void()> onOpen)
{
    FOnOpen = std::move(onOpen);
}

void TExplorerFrame::BeginUpdate()
{
    if (FUpdateDepth++ == 0)
        setUpdatesEnabled(false);
}

void TExplorerFrame::EndUpdate()
{
    if (FUpdateDepth > 0 && --FUpdateDepth == 0)
        setUpdatesEnabled(true);
}

QString TExplorerFrame::RootDir() const
{
    return FRootDir;
}

QString TExplorerFrame::SubDir() const
{
    return FSubDir;
}

QString TExplorerFrame::IncludeMasks() const
{
    return FMasks.IncludeMasks();
}

QString TExplorerFrame::HideMasks() const
{
    return FMasks.HideMasks();
}

int TExplorerFrame::ViewStyle() const
{
    return FViewStyle;
}

void TExplorerFrame::SetViewStyle(int style)
{
    if (style < 0 || style > 3)
        return;
    FViewStyle = style;
    const bool hadFocus = FViews->currentWidget() && FViews->currentWidget()->hasFocus();
    if (style == 3) {
        // The list selects single cells, the report whole rows.
        FSelection->select(FSelection->selection(),
                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        FViews->setCurrentWidget(FTreeView);
    } else {
        const bool icons = style == 0;
        const int side = icons ? LargeIconSide : SmallIconSide;
        FListView->setViewMode(icons ? QListView::IconMode : QListView::ListMode);
        FListView->setIconSize(QSize(side, side));
        FListView->setFlow(style == 2 ? QListView::TopToBottom : QListView::LeftToRight);
        FListView->setWrapping(true);
        FListView->setWordWrap(icons);
        // Large icons sit in cells of three icons' width and take two lines of
        // their name.
        const QSize cell(LargeIconSide * 3, LargeIconSide + 3 * fontMetrics().height());
        FListView->setGridSize(icons ? cell : QSize());
        FListDelegate->SetCellSize(icons ? cell - QSize(4, 4) : QSize());
        FListView->setMovement(QListView::Static);
        FViews->setCurrentWidget(FListView);
    }
    if (hadFocus)
        FViews->currentWidget()->setFocus();
    FViewButtons[style]->setChecked(true);
    FViewMenuItems[style]->setChecked(true);
}

bool TExplorerFrame::Locked() const
{
    return FLocked;
}

void TExplorerFrame::SetLocked(bool locked)
{
    FLocked = locked;
}

const QList<TListEntry>& TExplorerFrame::Entries() const
{
    return FModel->Entries();
}

QList<int> TExplorerFrame::SelectedIndexes() const
{
    QList<int> rows;
    const QModelIndexList selected = FSelection->selectedIndexes();
    for (const QModelIndex& index : selected)
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QList<TListEntry> TExplorerFrame::SelectedEntries() const
{
    QList<TListEntry> entries;
    const QList<int> rows = SelectedIndexes();
    for (int row : rows)
        entries.append(FModel->Entries().at(row));
    return entries;
}

int TExplorerFrame::SelectedCount() const
{
    return int(SelectedIndexes().size());
}

void TExplorerFrame::SelectIndexes(const QList<int>& rows)
{
    QItemSelection selection;
    for (int row : rows)
        if (row >= 0 && row < FModel->rowCount())
            selection.select(FModel->index(row, 0), FModel->index(row, 0));
    FSelection->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (!selection.isEmpty())
        FSelection->setCurrentIndex(selection.first().topLeft(), QItemSelectionModel::NoUpdate);
}

QAction* TExplorerFrame::MenuItemOpen() const
{
    return FMenuItemOpen;
}

QStatusBar* TExplorerFrame::StatusBar() const
{
    return FStatusBar;
}

QString TExplorerFrame::StatusText(int panel) const
{
    if (panel < 0 || panel >= FStatusPanels.size())
        return {};
    const auto* label = qobject_cast<const QLabel*>(FStatusPanels[panel]);
    return label ? label->text() : QString();
}

void TExplorerFrame::AddStatusPanel(QWidget* panel, int width)
{
    panel->setFixedWidth(width);
    FStatusBar->addWidget(panel);
    FStatusPanels.append(panel);
}

void TExplorerFrame::ButtonUDirClick()
{
    if (FRootDir.isEmpty() || FSubDir.isEmpty())
        return;
    SetSubDir(ParentSubDir(FSubDir));
}

void TExplorerFrame::ListViewDblClick()
{
    const QList<TListEntry> selected = SelectedEntries();
    if (selected.isEmpty())
        return;
    // No batch update around OnOpen: it may show a dialog, and the list must
    // keep painting behind it. Entering a folder batches its own fill.
    if (selected.size() == 1 &&
        selected.first().Kind.compare(QLatin1String("dir"), Qt::CaseInsensitive) == 0)
        SetSubDir(SubDirOfEntry(selected.first().Path, FRootDir));
    if (FOnOpen)
        FOnOpen();
}

bool TExplorerFrame::ListViewEditing(int row) const
{
    if (row < 0 || row >= FModel->Entries().size())
        return false;
    return CanRenamePath(FModel->Entries().at(row).Path, FLocked);
}

void TExplorerFrame::ListViewEdited(int row, const QString& name)
{
    if (row < 0 || row >= FModel->Entries().size())
        return;
    const TListEntry entry = FModel->Entries().at(row);
    QString shownName = entry.Name;
    const QString newPath = entry.Kind.compare(QLatin1String("dir"), Qt::CaseInsensitive) == 0
                                ? QString()
                                : RenamedPath(entry.Path, name);
    if (!newPath.isEmpty()) {
        const QString newName = newPath.mid(newPath.lastIndexOf(QLatin1Char('/')) + 1);
        bool rename = true;
        if (!FMasks.Passes(newName)) {
            rename = MessageDlg(QStringLiteral("Po pervadinimo byla \"%1\" bus nematoma šiame "
                                               "sąraše. Ar tikrai norite suteikti šį vardą?")
                                    .arg(newName),
                                TMsgDlgType::Confirmation, mbYes | mbNo) == mrYes;
            // The folder may have been read again while the question was
            // open: go on only with the entry found again by its path.
            row = RowOfPath(entry.Path);
            rename = rename && row >= 0;
        }
        if (rename && RenameNoReplace(entry.Path, newPath)) {
            FModel->RenameEntry(row, newName, newPath);
            shownName = newName;
        }
    }
    update();
    const QList<TListEntry>& entries = FModel->Entries();
    for (int i = 0; i < entries.size(); ++i)
        if (entries[i].Name == shownName) {
            SelectIndexes({i});
            break;
        }
}

void TExplorerFrame::PopupMenuExplorerPopup()
{
    const TMenuState state = ExplorerMenuState(FLocked, SelectedEntries());
    for (QAction* item : {FMenuItemOpen, FMenuItemRename, FMenuItemDelete})
        item->setVisible(state.EntryItemsVisible);
    FMenuItemOpen->setEnabled(state.OpenEnabled);
    FMenuItemRename->setEnabled(state.ChangeEnabled);
    FMenuItemDelete->setEnabled(state.ChangeEnabled);
}

void TExplorerFrame::MenuItemRenameClick()
{
    const QList<int> rows = SelectedIndexes();
    if (rows.isEmpty())
        return;
    const QModelIndex current = FSelection->currentIndex();
    const int row = rows.contains(current.row()) ? current.row() : rows.first();
    if (ListViewEditing(row))
        CurrentView()->edit(FModel->index(row, TExplorerModel::ColumnName));
}

void TExplorerFrame::MenuItemDeleteClick()
{
    QList<TListEntry> selected = SelectedEntries();
    if (selected.isEmpty())
        return;
    if (MessageDlg(DeleteQuestion(selected), TMsgDlgType::Confirmation, mbYes | mbNo) != mrYes)
        return;
    // The selection as it is now: a re-read while the question was open
    // replaces the entries and ends the selection.
    selected = SelectedEntries();
    if (selected.isEmpty())
        return;
    QStringList paths;
    for (const TListEntry& entry : selected)
        paths.append(entry.Path);
    const QStringList failed = DesktopShell().MoveToTrash(paths);
    if (!failed.isEmpty())
        MessageDlg(TrashFailureText(failed), TMsgDlgType::Warning, mbOK);
    SetSubDir(FSubDir);
}

QAbstractItemView* TExplorerFrame::CurrentView() const
{
    return static_cast<QAbstractItemView*>(FViews->currentWidget());
}

int TExplorerFrame::RowOfPath(const QString& path) const
{
    const QList<TListEntry>& entries = FModel->Entries();
    for (int row = 0; row < entries.size(); ++row)
        if (entries[row].Path == path)
            return row;
    return -1;
}

bool TExplorerFrame::ListViewKeyDown(QAbstractItemView* view, int key)
{
    // While a name is edited every key belongs to the editor, also those it
    // passes on to the list.
    const QWidget* focus = QApplication::focusWidget();
    if (focus && focus != view && view->isAncestorOf(focus))
        return false;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ListViewDblClick();
        return true;
    case Qt::Key_Backspace:
        // Also when the up button is disabled; at the root it does nothing.
        ButtonUDirClick();
        return true;
    case Qt::Key_F2:
        // The enabled state the context menu set when it last opened.
        if (FMenuItemRename->isEnabled() && SelectedCount() > 0)
            MenuItemRenameClick();
        return true;
    case Qt::Key_F5:
        if (!FRootDir.isEmpty())
            SetSubDir(FSubDir);
        return true;
    default:
        return false;
    }
}

bool TExplorerFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress)
        if (auto* view = qobject_cast<QAbstractItemView*>(watched);
            view && ListViewKeyDown(view, static_cast<QKeyEvent*>(event)->key()))
            return true;
    return QWidget::eventFilter(watched, event);
}

void TExplorerFrame::ShowStatus(qsizetype count, qint64 total)
{
    static_cast<QLabel*>(FStatusPanels[0])->setText(QStringLiteral("Objektų: %1").arg(count));
    static_cast<QLabel*>(FStatusPanels[1])->setText(TotalSizeText(total));
    AdjustStatusPanels();
}

void TExplorerFrame::AdjustStatusPanels()
{
    // The size panel grows to show its whole text; the count panel takes the
    // rest of the bar through its stretch.
    QWidget* size = FStatusPanels[1];
    const int needed = size->sizeHint().width();
    if (needed > size->minimumWidth())
        size->setMinimumWidth(needed);
}
