#pragma once

#include "uSendSettings.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

// "Siuntimų reikšmės": the mail server and message defaults of section
// "Siuntimas". Closes with mrYes on "Išsaugoti", mrNo on "Atšaukti".
class TSendValuesForm : public QDialog
{
    Q_OBJECT

public:
    explicit TSendValuesForm(QWidget* parent = nullptr);

    void SetValues(const TSendValues& values);
    TSendValues Values() const;
    void ApplyLocks(const TSendLocks& locks);

    QLineEdit* cxEditHost;
    QPushButton* cxButton1;
    QLineEdit* cxEditTime;
    QLineEdit* cxEditPort;
    QCheckBox* cxCheckBoxSMTPSSL;
    QLineEdit* cxEditMyMail;
    QLineEdit* cxEditMailTo;
    QLineEdit* cxEditSubj;
    QGroupBox* cxGroupBoxSMTP;
    QLineEdit* cxEditSMTPUserName;
    QLineEdit* cxEditSMTPPassword;
    QCheckBox* cxCheckBoxBeep;
    QPushButton* cxButtonSave;
    QPushButton* cxButtonCancel;

private:
    void FormCreate();
    void cxButton1Click();
    void SetLocked(QLineEdit* edit, bool locked);
};
