#include "uMainForm.h"

#include "uButtonGrid.h"
#include "uCommandLine.h"
#include "uDesktopShell.h"
#include "uDownloadUpdatesDataModule.h"
#include "uError.h"
#include "uExplorerFrame.h"
#include "uHistoryOpen.h"
#include "uIniFile.h"
#include "uMessageDlg.h"
#include "uOpenForms.h"
#include "uSendController.h"
#include "uSentHistoryReader.h"
#include "uShared.h"
#include "uUpdateStatusDisplay.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace {

constexpr int ButtonWidth = 73;
constexpr int LeftColumn = 16;
constexpr int RightColumn = 96;
constexpr int RowHeight = 65;
constexpr std::array<int, 4> RowTops = {16, 88, 160, 232};
constexpr int LogTop = 304;
constexpr int LogHeight = 25;
constexpr int PlanTop = 336;
constexpr int BottomButtonHeight = 25;
// The version and help buttons keep their distance to the bottom edge.
constexpr int BottomButtonGap = TWindowState::DesignHeight - 460;
constexpr int FrameLeft = 187;
constexpr int FrameTop = 8;
constexpr int FrameRightGap = TWindowState::DesignWidth - FrameLeft - 463;
constexpr int FrameBottomGap = TWindowState::DesignHeight - FrameTop - 497;
constexpr int StatusPanelWidth = 30;

const QString BuiltInVersionCaption = QStringLiteral("1.4");

QString ColorName(const QColor& color)
{
    return color.name(QColor::HexRgb);
}

QStringList ButtonConfigKeys()
{
    QStringList keys;
    for (const TWorkspaceButton& button : WorkspaceButtons)
        keys.append(QLatin1String(button.ConfigKey));
    return keys;
}

} // namespace

TMainForm::TMainForm(TDownloadUpdatesDataModule* updates, const QString& configFileName,
                     const QStringList& params, QWidget* parent)
    : QWidget(parent), FUpdates(updates), FConfigFileName(configFileName), FParams(params)
{
    setWindowTitle(QStringLiteral("KELMIRA"));
    setObjectName(QStringLiteral("MainForm"));
    setMinimumSize(TWindowState::MinWidth, TWindowState::MinHeight);
    // The grid's captions are laid out for a small 8 point face.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    FExplorerFrame = new TExplorerFrame(this);
    FExplorerFrame->setObjectName(QStringLiteral("ExplorerFrame"));
    CreateButtons();

    FConfig = TWorkspaceConfig::Read(GetIniFile(1), GetIniFile(0), ButtonConfigKeys());
    FHistory = FConfig.History;
    if (!FConfig.PlanList.isEmpty())
        ArrangePlanButtons();
    ApplyConfiguredTexts();
    CreateSendingMenu();
    PlaceWindow();
    FExplorerFrame->SetViewStyle(FConfig.Window.ListView);

    FUpdateStatus = new TUpdateStatusDisplay(
        FUpdates, this, FExplorerFrame->StatusBar(), cxButtonVersion, GetVersionFileName(),
        LoadStatusTexts(GetIniFile(1)), [this] { RestartcxButtonClick(); });
    FExplorerFrame->AddStatusPanel(FUpdateStatus->StatusPanel(), StatusPanelWidth);
}

TMainForm::~TMainForm() = default;

TIniFile& TMainForm::GetIniFile(int index)
{
    std::unique_ptr<TIniFile>& slot = FIniFiles.at(static_cast<size_t>(index));
    if (!slot)
        slot = std::make_unique<TIniFile>(GetConfigFileNameWithSuffix(
            FConfigFileName, index == 0 ? QStringLiteral("_AI") : QStringLiteral("_MI")));
    return *slot;
}

void TMainForm::CreateButtons()
{
    for (int id = 0; id < ButtonCount; ++id) {
        const TWorkspaceButton& info = WorkspaceButtons.at(static_cast<size_t>(id));
        auto* button = new QPushButton(ButtonText(QString::fromUtf8(info.Caption)), this);
        button->setObjectName(QLatin1String(info.Name));
        button->setFocusPolicy(Qt::StrongFocus);
        connect(button, &QPushButton::clicked, this, [this, id] { ButtonClick(TButtonId(id)); });
        FButtons.at(static_cast<size_t>(id)) = button;
        PaintButton(button, false);
    }
    const auto place = [this](TButtonId id, int x, int y, int h) {
        Button(id)->setGeometry(x, y, ButtonWidth, h);
    };
    place(btnAFFill, LeftColumn, RowTops[0], RowHeight);
    place(btnAFView, RightColumn, RowTops[0], RowHeight);
    place(btnKontrole, LeftColumn, RowTops[1], RowHeight);
    place(btnKoView, RightColumn, RowTops[1], RowHeight);
    place(btnSuvest, LeftColumn, RowTops[2], RowHeight);
    place(btnSuView, RightColumn, RowTops[2], RowHeight);
    place(btnParam, LeftColumn, RowTops[3], RowHeight);
    place(btnSend, RightColumn, RowTops[3], RowHeight);
    place(btnLog, RightColumn, LogTop, LogHeight);
    place(btnPLFill, LeftColumn, PlanTop, RowHeight);
    place(btnPLView, RightColumn, PlanTop, RowHeight);
    Button(btnPLFill)->hide();
    Button(btnPLView)->hide();

    cxButtonVersion = new QPushButton(BuiltInVersionCaption, this);
    cxButtonVersion->setObjectName(QStringLiteral("cxButtonVersion"));
    cxButtonVersion->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; border: 1px solid #b8975a; "
                       "border-radius: 3px; }")
            .arg(ColorName(palette().color(QPalette::Window))));

    QWidget::setTabOrder(FExplorerFrame, Button(btnAFFill));
    const std::array<TButtonId, ButtonCount> order = {btnAFFill, btnAFView, btnKontrole, btnKoView,
                                                      btnSuvest, btnSuView, btnParam,    btnSend,
                                                      btnLog,    btnHelp,   btnPLFill,   btnPLView};
    QWidget* previous = FExplorerFrame;
    for (TButtonId id : order) {
        if (id == btnHelp) {
            QWidget::setTabOrder(previous, cxButtonVersion);
            previous = cxButtonVersion;
        }
        QWidget::setTabOrder(previous, Button(id));
        previous = Button(id);
    }
    LayOutBottom();
}

void TMainForm::ApplyConfiguredTexts()
{
    for (int id = 0; id < ButtonCount; ++id) {
        const TWorkspaceButton& info = WorkspaceButtons.at(static_cast<size_t>(id));
        const QString key = QLatin1String(info.ConfigKey);
        QPushButton* button = Button(TButtonId(id));
        button->setText(ButtonText(ConfiguredText(FConfig.Captions.value(key), button->text())));
        button->setToolTip(ButtonText(ConfiguredText(FConfig.Hints.value(key), button->toolTip())));
    }
}

void TMainForm::ArrangePlanButtons()
{
    const QRect first = Button(btnAFFill)->geometry();
    const QRect fourth = Button(btnParam)->geometry();
    // Bottom edges as the grid counts them: top plus height.
    const TPlanRows rows =
        ArrangePlanRows(first.top(), first.top() + first.height(), Button(btnKontrole)->y(),
                        fourth.top() + fourth.height());
    const std::array<std::array<TButtonId, 2>, 5> grid = {{{btnAFFill, btnAFView},
                                                           {btnKontrole, btnKoView},
                                                           {btnSuvest, btnSuView},
                                                           {btnPLFill, btnPLView},
                                                           {btnParam, btnSend}}};
    QWidget* previous = FExplorerFrame;
    for (size_t row = 0; row < grid.size(); ++row) {
        for (size_t column = 0; column < 2; ++column) {
            QPushButton* button = Button(grid.at(row).at(column));
            button->setGeometry(column == 0 ? LeftColumn : RightColumn, rows.Top.at(row),
                                ButtonWidth, rows.Height);
            QWidget::setTabOrder(previous, button);
            previous = button;
        }
    }
    QWidget::setTabOrder(previous, Button(btnLog));
    Button(btnLog)->move(RightColumn, rows.LogTop);
    Button(btnPLFill)->show();
    Button(btnPLView)->show();
}

void TMainForm::PlaceWindow()
{
    const TWindowState& window = FConfig.Window;
    resize(window.Width, window.Height);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->availableVirtualGeometry() : QRect();
    if (window.HasStoredPosition) {
        // The stored position decides, as long as the window's top left
        // corner is on the desktop; a position from a since removed monitor
        // falls back to centring.
        const QPoint stored(window.Left, window.Top);
        if (desktop.isEmpty() || desktop.contains(stored)) {
            move(stored);
            return;
        }
    }
    if (!desktop.isEmpty())
        move(qMax(desktop.left(), desktop.left() + (desktop.width() - window.Width) / 2),
             qMax(desktop.top(), desktop.top() + (desktop.height() - window.Height) / 2));
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutBottom();
}

void TMainForm::LayOutBottom()
{
    FExplorerFrame->setGeometry(FrameLeft, FrameTop, width() - FrameLeft - FrameRightGap,
                                height() - FrameTop - FrameBottomGap);
    const int bottomTop = height() - BottomButtonGap;
    cxButtonVersion->setGeometry(LeftColumn, bottomTop, ButtonWidth, BottomButtonHeight);
    Button(btnHelp)->setGeometry(RightColumn, bottomTop, ButtonWidth, BottomButtonHeight);
}

void TMainForm::PaintButton(QPushButton* button, bool active)
{
    const QString normal = ColorName(active ? ActiveButtonColor : IdleButtonColor);
    const QString pressed = ColorName(ActiveButtonColor);
    // An active button keeps its colour under the mouse too; an idle one
    // lightens there as the toolkit's own buttons do.
    const QString hover = active ? normal : ColorName(IdleButtonColor.lighter(104));
    button->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; border: 1px solid #b8975a;"
                       " border-radius: 3px; padding: 1px; }"
                       "QPushButton:hover { background-color: %2; }"
                       "QPushButton:pressed { background-color: %3; }")
            .arg(normal, hover, pressed));
    button->setProperty("active", active);
}

void TMainForm::ButtonClick(TButtonId id)
{
    switch (id) {
    case btnKontrole:
        cxButtonKontroleClick();
        return;
    case btnParam:
        cxButtonParamClick();
        return;
    case btnHelp:
        cxButtonHelpClick();
        return;
    case btnSend:
        // Pressed again while active: the selection is sent.
        if (FActiveButton == Button(btnSend)) {
            ComposeSend();
            return;
        }
        break;
    default:
        break;
    }
    SwitchMode(id);
}

void TMainForm::SwitchMode(TButtonId id)
{
    const TWorkspaceButton& mode = WorkspaceButtons.at(static_cast<size_t>(id));
    TExplorerFrame& frame = *FExplorerFrame;
    frame.BeginUpdate();
    SetActiveButton(Button(id));
    frame.SetLocked(mode.Locked);
    frame.MenuItemOpen()->setText(mode.Family == TViewFamily::Mi &&
                                          mode.Kind == TButtonKind::FolderView
                                      ? QStringLiteral("&Siųsti")
                                      : QStringLiteral("&Atidaryti"));
    BindOpenAction(mode.Open);
    if (mode.Kind == TButtonKind::FolderView) {
        const size_t family = FamilyIndex(mode.Family);
        frame.SetIncludeMasks(FConfig.IncludeMask.at(family));
        frame.SetHideMasks(FConfig.ExcludeMask.at(family));
        frame.SetRootDir(FConfig.BaseFolder.at(family));
        frame.SetSubDir(FHistory.at(family));
    } else {
        frame.Clear();
        frame.SetRootDir({});
        frame.SetSubDir({});
        const QStringList& list = mode.List == TFillList::Forms       ? FConfig.FormList
                                  : mode.List == TFillList::Summaries ? FConfig.SummaryList
                                                                      : FConfig.PlanList;
        frame.AddFileList(list, true);
    }
    if (id == btnLog)
        OpenHistoryEntry();
    frame.EndUpdate();
}

void TMainForm::SetActiveButton(QPushButton* button)
{
    if (FActiveButton) {
        PaintButton(FActiveButton, false);
        StoreActiveHistory();
    }
    PaintButton(button, true);
    FActiveButton = button;
}

void TMainForm::StoreActiveHistory()
{
    for (int id = 0; id < ButtonCount; ++id) {
        const TWorkspaceButton& mode = WorkspaceButtons.at(static_cast<size_t>(id));
        if (Button(TButtonId(id)) == FActiveButton && mode.Kind == TButtonKind::FolderView)
            FHistory.at(FamilyIndex(mode.Family)) = FExplorerFrame->SubDir();
    }
}

void TMainForm::BindOpenAction(TOpenAction action)
{
    switch (action) {
    case TOpenAction::OpenSelectedFiles:
        FExplorerFrame->SetOnOpen([this] { OpenSelectedFiles(); });
        break;
    case TOpenAction::ComposeSend:
        FExplorerFrame->SetOnOpen([this] { ComposeSend(); });
        break;
    case TOpenAction::OpenHistoryEntry:
        FExplorerFrame->SetOnOpen([this] { OpenHistoryEntry(); });
        break;
    case TOpenAction::None:
        FExplorerFrame->SetOnOpen({});
        break;
    }
}

void TMainForm::OpenSelectedFiles()
{
    const QList<TListEntry> selected = FExplorerFrame->SelectedEntries();
    if (selected.isEmpty())
        return;
    QStringList paths = FilesToOpen(selected);
    if (paths.size() > 1 &&
        MessageDlg(QStringLiteral("Ar tikrai norite atidaryti šias bylas? (bylų skaičius: %1)")
                       .arg(paths.size()),
                   TMsgDlgType::Confirmation, mbYes | mbNo) != mrYes)
        return;
    for (const QString& path : paths) {
        const QString verb = VerbForFile(path);
        // A file gone since the listing, or of another type, is passed over.
        if (!verb.isEmpty() && QFileInfo(path).isFile())
            DesktopShell().ShellExecute(verb, path, {}, {}, false);
    }
}

void TMainForm::OpenHistoryEntry()
{
    TExplorerFrame& frame = *FExplorerFrame;
    const THistoryOpenStep step =
        HistoryOpenStep(SelectedItems(), frame.RootDir() + frame.SubDir());
    if (step.Action == THistoryOpen::OpenFiles)
        OpenSelectedFiles();
    if (step.Action != THistoryOpen::ShowHistory)
        return;
    try {
        ShowSentHistory(step.Target);
    } catch (const EAppError& error) {
        // A history file that cannot be read is reported and the program goes
        // on; a view that was to show it shows its folder instead of an empty
        // list named after the file.
        const QString sub = frame.SubDir();
        if (frame.RootDir() + sub == step.Target)
            frame.SetSubDir(sub.left(sub.lastIndexOf(u'/') + 1));
        MessageDlg(error.Message(), TMsgDlgType::Error, mbOK);
    }
}

void TMainForm::ShowSentHistory(const QString& path)
{
    const QStringList paths = ReadSentHistory(path);
    TExplorerFrame& frame = *FExplorerFrame;
    frame.BeginUpdate();
    // The history file's own path stands as the sub-folder: the list finds no
    // folder there, shows the file's path as its title and goes up to its
    // folder. A history file outside the root (named by another history
    // file) keeps a path that leads to it, rather than a cut that names some
    // other file.
    const QString root = frame.RootDir();
    frame.SetSubDir(path.startsWith(root) ? path.mid(root.size())
                                          : QDir(root).relativeFilePath(path));
    frame.AddFileList(paths, false);
    frame.EndUpdate();
}

QList<TSelectedItem> TMainForm::SelectedItems() const
{
    QList<TSelectedItem> items;
    for (const TListEntry& entry : FExplorerFrame->SelectedEntries())
        items.append({entry.Name, entry.Kind, entry.Path});
    return items;
}

void TMainForm::ComposeSend()
{
    FSend->ComposeSend();
}

void TMainForm::CreateSendingMenu()
{
    FSend = std::make_unique<TSendController>(
        this, GetIniFile(0), FConfig.BaseFolder.at(FamilyIndex(TViewFamily::Lg)),
        FConfig.ArchiveName, [this] { return SelectedItems(); });
    PopupMenuSiuntimai = new QMenu(this);
    PopupMenuSiuntimai->setObjectName(QStringLiteral("PopupMenuSiuntimai"));
    QAction* menuNustatymai =
        PopupMenuSiuntimai->addAction(QStringLiteral("AF siuntimų nustatymai"));
    menuNustatymai->setObjectName(QStringLiteral("MenuNustatymai"));
    connect(menuNustatymai, &QAction::triggered, this, [this] { FSend->MenuNustatymaiClick(); });
    for (TButtonId id : {btnSend, btnLog}) {
        QPushButton* button = Button(id);
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this,
                [this, button](const QPoint& at) {
                    PopupMenuSiuntimai->popup(button->mapToGlobal(at));
                });
    }
}

void TMainForm::cxButtonKontroleClick()
{
    if (!QFileInfo(FConfig.ControlTemplate).isFile()) {
        MessageDlg(QStringLiteral("Nerasta šablono byla \"%1\"!").arg(FConfig.ControlTemplate),
                   TMsgDlgType::Warning, mbOK);
        return;
    }
    if (MessageDlg(QStringLiteral("Ar tikrai norite atidaryti naują kontrolės bylą?"),
                   TMsgDlgType::Confirmation, mbYes | mbNo) == mrYes)
        DesktopShell().ShellExecute(QStringLiteral("new"), FConfig.ControlTemplate, {}, {}, false);
}

void TMainForm::cxButtonParamClick()
{
    if (!QFileInfo(FConfig.ParamFile).isFile()) {
        MessageDlg(QStringLiteral("Nerasta parametrų byla \"%1\"!").arg(FConfig.ParamFile),
                   TMsgDlgType::Warning, mbOK);
        return;
    }
    if (MessageDlg(QStringLiteral("Ar tikrai norite atidaryti parametrų bylą?"),
                   TMsgDlgType::Confirmation, mbYes | mbNo) == mrYes)
        DesktopShell().ShellExecute(QStringLiteral("open"), FConfig.ParamFile, {}, {}, false);
}

void TMainForm::cxButtonHelpClick()
{
    DesktopShell().ShellExecute(QStringLiteral("new"), FConfig.HelpFile, {}, {}, false);
}

QString TMainForm::GetVersionFileName() const
{
    return QFileInfo(FConfigFileName).absolutePath() + QStringLiteral("/versija.txt");
}

void TMainForm::RestartcxButtonClick()
{
    // The close sequence ends the program and starts it again, which
    // installs the pending updates.
    FRestartOnClose = true;
    close();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (FAskBeforeClose && FUpdates->IsDownloading() &&
        MessageDlg(
            QStringLiteral("Šiuo metu siunčiami atnaujinimai, ar norite nutraukti siuntimą?"),
            TMsgDlgType::Confirmation, mbYes | mbNo) != mrYes) {
        event->ignore();
        return;
    }
    FUpdates->Stop();
    event->accept();
}

void TMainForm::CloseWithoutQuestions()
{
    FAskBeforeClose = false;
    close();
}

void TMainForm::FormDestroy()
{
    if (FDestroyed)
        return;
    FDestroyed = true;
    StoreActiveHistory();
    TWindowState window = FConfig.Window;
    window.Top = y();
    window.Left = x();
    window.Width = width();
    window.Height = height();
    window.ListView = FExplorerFrame->ViewStyle();
    WriteWorkspaceState(GetIniFile(0), window, FHistory);
    FIniFiles = {};
    if (FRestartOnClose)
        Restart();
}

void TMainForm::Restart()
{
    DesktopShell().ShellExecute(QStringLiteral("open"), QCoreApplication::applicationFilePath(),
                                JoinParams(FParams, 0), QDir::currentPath(), false);
}
