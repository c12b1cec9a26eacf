#include "uUpdateStatusDisplay.h"

#include "uCodePage.h"
#include "uDownloadUpdatesForm.h"
#include "uStatusIconPanel.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolTip>

namespace {

std::chrono::milliseconds GCheckDelay{5000};

} // namespace

void TUpdateStatusDisplay::SetCheckDelay(std::chrono::milliseconds delay)
{
    GCheckDelay = delay;
}

std::chrono::milliseconds TUpdateStatusDisplay::CheckDelay()
{
    return GCheckDelay;
}

TUpdateStatusDisplay::TUpdateStatusDisplay(TDownloadUpdatesDataModule* engine, QWidget* mainWindow,
                                           QStatusBar* statusBar, QPushButton* versionButton,
                                           const QString& versionFileName,
                                           const TStatusTexts& texts, std::function<void()> restart)
    : QObject(mainWindow), FEngine(engine), FMainWindow(mainWindow), FStatusBar(statusBar),
      FVersionButton(versionButton), FVersionFileName(versionFileName), FStatusTexts(texts),
      FRestart(std::move(restart)),
      FPanel(
          new TStatusIconPanel([this] { return StatusImageIndex(FEngine->Status()); }, statusBar)),
      FVersionCheckTimer(new QTimer(this))
{
    FVersionCheckTimer->setObjectName(QStringLiteral("VersionCheckTimer"));
    FVersionCheckTimer->setInterval(GCheckDelay);
    connect(FVersionCheckTimer, &QTimer::timeout, this,
            &TUpdateStatusDisplay::VersionCheckTimerTimer);
    connect(FEngine, &TDownloadUpdatesDataModule::OnStatusChange, this,
            &TUpdateStatusDisplay::UpdateStatusChanged);
    connect(FVersionButton, &QPushButton::clicked, this, [this] { ShowUpdateStatus(true); });

    // The hint and the double click are decided over the whole bar, the
    // panels included.
    FStatusBar->setMouseTracking(true);
    FStatusBar->installEventFilter(this);

    RefreshVersionButton();
    FVersionCheckTimer->start();
}

TUpdateStatusDisplay::~TUpdateStatusDisplay() = default;

QWidget* TUpdateStatusDisplay::StatusPanel() const
{
    return FPanel;
}

void TUpdateStatusDisplay::VersionCheckTimerTimer()
{
    // The check that ended in an installation reports before its thread has
    // ended; the next check waits for it rather than being lost.
    if (FEngine->IsDownloading() && IsCheckAllowed(FEngine->Status(), false))
        return;
    CheckForUpdates(false);
}

void TUpdateStatusDisplay::CheckForUpdates(bool userAsked)
{
    FVersionCheckTimer->stop();
    FVersionCheckTimer->setInterval(GCheckDelay);
    if (IsCheckAllowed(FEngine->Status(), userAsked))
        FEngine->Start();
    FPanel->update();
    ShowUpdateStatus(false);
}

void TUpdateStatusDisplay::UpdateStatusChanged()
{
    const TUpdateCheckStatus status = FEngine->Status();
    FPanel->update();
    // While any window of the program is in front the user sees the icon
    // change; otherwise the task-bar entry asks for attention.
    if (IsNoteworthy(status) && !QApplication::activeWindow())
        QApplication::alert(FMainWindow);
    if (status == TUpdateCheckStatus::Updated)
        FVersionCheckTimer->start();
    ShowUpdateStatus(false);
    RefreshVersionButton();
}

void TUpdateStatusDisplay::ShowUpdateStatus(bool show)
{
    if (show && !FDownloadUpdatesForm) {
        FDownloadUpdatesForm = new TDownloadUpdatesForm(FMainWindow);
        connect(FDownloadUpdatesForm, &TDownloadUpdatesForm::CheckcxButtonClick, this,
                [this] { CheckForUpdates(true); });
        connect(FDownloadUpdatesForm, &TDownloadUpdatesForm::RestartcxButtonClick, this,
                [this] { FRestart(); });
    }
    if (!FDownloadUpdatesForm || !(show || FDownloadUpdatesForm->isVisible()))
        return;
    const TUpdateCheckStatus status = FEngine->Status();
    const QString text = GetStatusText(status);
    FDownloadUpdatesForm->ShowStatus(StatusTitle(text), StatusDescription(text), GetLastCheckText(),
                                     IsRestartOffered(status));
    QFile file(FVersionFileName);
    if (file.open(QIODevice::ReadOnly))
        FDownloadUpdatesForm->SetVersionNotes(FromCodePage(file.readAll()));
    if (show) {
        FDownloadUpdatesForm->show();
        FDownloadUpdatesForm->raise();
    }
}

void TUpdateStatusDisplay::RefreshVersionButton()
{
    FVersionButton->setToolTip(QStringLiteral("Atidaryti atnaujinimų sarašą\n\n") +
                               GetLastCheckText());
    QFile file(FVersionFileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QByteArray firstLine = file.readLine();
    while (firstLine.endsWith('\n') || firstLine.endsWith('\r'))
        firstLine.chop(1);
    if (!firstLine.isEmpty())
        FVersionButton->setText(FromCodePage(firstLine));
}

QString TUpdateStatusDisplay::GetStatusText(TUpdateCheckStatus status) const
{
    return FStatusTexts.at(static_cast<size_t>(status));
}

QString TUpdateStatusDisplay::GetLastCheckText() const
{
    return LastCheckText(FEngine->LastCheck());
}

int TUpdateStatusDisplay::PanelsWidth() const
{
    return FPanel->x();
}

void TUpdateStatusDisplay::ShowHint(const QPoint& position, const QPoint& globalPosition)
{
    const QString hint =
        position.x() > PanelsWidth() ? StatusTitle(GetStatusText(FEngine->Status())) : QString();
    FStatusBar->setToolTip(hint);
    if (hint.isEmpty())
        QToolTip::hideText();
    else
        // The hint goes as soon as the mouse leaves the icon's part of the bar.
        QToolTip::showText(globalPosition, hint, FStatusBar,
                           QRect(PanelsWidth() + 1, 0, FStatusBar->width(), FStatusBar->height()));
}

bool TUpdateStatusDisplay::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        ShowHint(widget->mapTo(FStatusBar, mouse->position().toPoint()),
                 mouse->globalPosition().toPoint());
        return false;
    }
    case QEvent::ToolTip: {
        // The file list's own hint of the bar gives way to this rule.
        const auto* help = static_cast<QHelpEvent*>(event);
        ShowHint(widget->mapTo(FStatusBar, help->pos()), help->globalPos());
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = widget->mapTo(FStatusBar, mouse->position().toPoint());
        if (at.x() >= PanelsWidth() && at.x() < FStatusBar->width()) {
            ShowUpdateStatus(true);
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}
