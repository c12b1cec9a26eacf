#pragma once

#include "uSelectedItem.h"
#include "uWorkspaceConfig.h"
#include "uWorkspaceModes.h"

#include <QColor>
#include <QWidget>

#include <array>
#include <memory>

class QPushButton;
class QTimer;
class TExplorerFrame;
class TIniFile;
class TDownloadUpdatesDataModule;
class TSendController;
class TUpdateStatusDisplay;
class QMenu;

// The program's only main window: the grid of workspace buttons on the left,
// the file list on the right.
class TMainForm : public QWidget
{
    Q_OBJECT
public:
    static inline const QColor IdleButtonColor{255, 235, 183};
    static inline const QColor ActiveButtonColor{255, 204, 70};

    // configFileName is the base configuration path the AI and MI files are
    // named after; params the command line, handed on when the program
    // starts itself again.
    TMainForm(TDownloadUpdatesDataModule* updates, const QString& configFileName,
              const QStringList& params, QWidget* parent = nullptr);
    ~TMainForm() override;

    // 0 the AI file, 1 the MI file; opened on first use.
    TIniFile& GetIniFile(int index);

    // The close sequence's last step: stores the active mode's position,
    // writes the window's state to the AI file and, when asked for, starts
    // the program again.
    void FormDestroy();

    // Closes through the close sequence without asking anything: a logout or
    // a termination signal cannot answer a question.
    void CloseWithoutQuestions();

    void SetRestartOnClose(bool restart) { FRestartOnClose = restart; }

    TExplorerFrame* ExplorerFrame() const { return FExplorerFrame; }
    QPushButton* Button(TButtonId id) const { return FButtons.at(id); }
    QPushButton* ActiveButton() const { return FActiveButton; }
    QPushButton* VersionButton() const { return cxButtonVersion; }
    TUpdateStatusDisplay* UpdateStatus() const { return FUpdateStatus; }
    const TWorkspaceConfig& Config() const { return FConfig; }
    const TFamilyTexts& History() const { return FHistory; }

    // The open actions of the modes.
    void OpenSelectedFiles();
    void OpenHistoryEntry();
    void ShowSentHistory(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateButtons();
    void ApplyConfiguredTexts();
    void ArrangePlanButtons();
    void PlaceWindow();
    void LayOutBottom();

    void ButtonClick(TButtonId id);
    void SwitchMode(TButtonId id);
    void SetActiveButton(QPushButton* button);
    void StoreActiveHistory();
    void PaintButton(QPushButton* button, bool active);
    void BindOpenAction(TOpenAction action);

    void cxButtonKontroleClick();
    void cxButtonParamClick();
    void cxButtonHelpClick();
    void ComposeSend();
    void CreateSendingMenu();
    QList<TSelectedItem> SelectedItems() const;

    QString GetVersionFileName() const;
    void RestartcxButtonClick();

    void Restart();

    TDownloadUpdatesDataModule* FUpdates;
    QString FConfigFileName;
    QStringList FParams;
    std::array<std::unique_ptr<TIniFile>, 2> FIniFiles;
    TWorkspaceConfig FConfig;
    TFamilyTexts FHistory;
    TExplorerFrame* FExplorerFrame = nullptr;
    std::array<QPushButton*, ButtonCount> FButtons{};
    QPushButton* cxButtonVersion = nullptr;
    QPushButton* FActiveButton = nullptr;
    bool FRestartOnClose = false;
    bool FAskBeforeClose = true;
    bool FDestroyed = false;
    std::unique_ptr<TSendController> FSend;
    QMenu* PopupMenuSiuntimai = nullptr;
    TUpdateStatusDisplay* FUpdateStatus = nullptr;
};
