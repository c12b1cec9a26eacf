#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class TAnimationPlayer;

// The small borderless window shown while a message goes out: animation,
// caption, bar (0 to 100) and one status line. The caller sets the texts and
// the bar, places it, runs it modally and ends it with CloseRequest; the user
// cannot close it.
class TProgressForm : public QDialog
{
    Q_OBJECT

public:
    explicit TProgressForm(QWidget* parent = nullptr);

    TAnimationPlayer* AnimateProgress;
    QLabel* cxLabel1;
    QProgressBar* cxProgressBar1;
    QLabel* cxLabelStatus;

public slots:
    // Ends the modal run; safe to reach through a queued connection.
    void CloseRequest();
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
