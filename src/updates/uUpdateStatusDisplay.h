#pragma once

#include "uUpdateStatusTexts.h"

#include <QObject>

#include <chrono>
#include <functional>

class QPushButton;
class QStatusBar;
class QTimer;
class QWidget;
class TDownloadUpdatesForm;
class TStatusIconPanel;

// The update engine's face in the main window: the icon in the status bar's
// last panel with its hint, the version button, the updates window, the
// timer of the automatic check and the attention asked for when something
// happened while another program was in front.
class TUpdateStatusDisplay : public QObject
{
    Q_OBJECT
public:
    // The delay of an automatic check after start-up and after an
    // installation; tests shorten it.
    static void SetCheckDelay(std::chrono::milliseconds delay);
    static std::chrono::milliseconds CheckDelay();

    // statusBar gets its hint from here; the owner adds StatusPanel() to it
    // as its last panel. restart closes the main window for a restart.
    TUpdateStatusDisplay(TDownloadUpdatesDataModule* engine, QWidget* mainWindow,
                         QStatusBar* statusBar, QPushButton* versionButton,
                         const QString& versionFileName, const TStatusTexts& texts,
                         std::function<void()> restart);
    ~TUpdateStatusDisplay() override;

    QWidget* StatusPanel() const;
    QTimer* VersionCheckTimer() const { return FVersionCheckTimer; }
    // The updates window, or none before its first showing.
    TDownloadUpdatesForm* DownloadUpdatesForm() const { return FDownloadUpdatesForm; }

    void CheckForUpdates(bool userAsked);
    void UpdateStatusChanged();
    void ShowUpdateStatus(bool show);
    void RefreshVersionButton();
    QString GetStatusText(TUpdateCheckStatus status) const;
    QString GetLastCheckText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void VersionCheckTimerTimer();
    // Status bar x positions right of this one belong to the icon panel.
    int PanelsWidth() const;
    void ShowHint(const QPoint& position, const QPoint& globalPosition);

    TDownloadUpdatesDataModule* FEngine;
    QWidget* FMainWindow;
    QStatusBar* FStatusBar;
    QPushButton* FVersionButton;
    QString FVersionFileName;
    TStatusTexts FStatusTexts;
    std::function<void()> FRestart;
    TStatusIconPanel* FPanel;
    QTimer* FVersionCheckTimer;
    TDownloadUpdatesForm* FDownloadUpdatesForm = nullptr;
};
