#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "Siųsti laišką": recipient, subject, blind copy to self, the files that go
// with the message, and its text. What "Siųsti" does is bound by the caller.
class TSendForm : public QDialog
{
    Q_OBJECT

public:
    explicit TSendForm(QWidget* parent = nullptr);

    QPlainTextEdit* cxMemo;
    QPushButton* cxButtonSend;
    QPushButton* cxButtonCancel;
    QLineEdit* cxTextEditR;
    QCheckBox* cxCheckBox;
    QListWidget* ListViewFiles;
    QLineEdit* cxTextEditS;
    QPushButton* cxButtonSave;

    // The sender ("MyMail") of the message being composed.
    QString FSenderAddress;

    // Escape and the close box answer No, as "Atšaukti" does.
    void reject() override;
};
