#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Programos pakeitimai": the update state in words, the last check, the
// program's version notes, and the buttons to check now and to restart.
// Closing only hides it; its owner keeps the one instance.
class TDownloadUpdatesForm : public QDialog
{
    Q_OBJECT
public:
    explicit TDownloadUpdatesForm(QWidget* owner);

    // Title and description of the current state (CR LF pairs break lines).
    void ShowStatus(const QString& title, const QString& description, const QString& lastCheck,
                    bool restartVisible);
    void SetVersionNotes(const QString& notes);

    QLineEdit* StatusEdit() const { return FStatusEdit; }
    QLabel* LastCheckLabel() const { return FLastCheckLabel; }
    QPlainTextEdit* StatusMemo() const { return FStatusMemo; }
    QPlainTextEdit* VersijaMemo() const { return FVersijaMemo; }
    QPushButton* CheckcxButton() const { return FCheckcxButton; }
    QPushButton* cxButtonCancel() const { return FcxButtonCancel; }
    QPushButton* RestartcxButton() const { return FRestartcxButton; }

signals:
    void CheckcxButtonClick();
    void RestartcxButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* FStatusEdit = nullptr;
    QLabel* FLastCheckLabel = nullptr;
    QPlainTextEdit* FStatusMemo = nullptr;
    QPlainTextEdit* FVersijaMemo = nullptr;
    QPushButton* FCheckcxButton = nullptr;
    QPushButton* FcxButtonCancel = nullptr;
    QPushButton* FRestartcxButton = nullptr;
};
