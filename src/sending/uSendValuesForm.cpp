#include "uSendValuesForm.h"

#include "uMessageDlg.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

const QColor Background(255, 241, 206);

QLineEdit* DigitsEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), edit));
    return edit;
}

} // namespace

TSendValuesForm::TSendValuesForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Siuntimų reikšmės"));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Background);
    setPalette(colours);
    setAutoFillBackground(true);

    cxEditHost = new QLineEdit(this);
    cxButton1 = new QPushButton(QStringLiteral("OE"), this);
    cxButton1->setToolTip(QStringLiteral("Nustatyti parametrus iš Outlook Express"));
    cxButton1->setFixedWidth(32);
    cxEditTime = DigitsEdit(this);
    cxEditPort = DigitsEdit(this);
    cxEditPort->setFocusPolicy(Qt::ClickFocus); // out of the Tab order
    cxCheckBoxSMTPSSL = new QCheckBox(QStringLiteral("Jungtis saugiu ryšiu (SSL)"), this);
    cxEditMyMail = new QLineEdit(this);
    cxEditMailTo = new QLineEdit(this);
    cxEditSubj = new QLineEdit(this);
    cxGroupBoxSMTP = new QGroupBox(QStringLiteral(" SMTP prisijungimas "), this);
    cxEditSMTPUserName = new QLineEdit(cxGroupBoxSMTP);
    cxEditSMTPPassword = new QLineEdit(cxGroupBoxSMTP);
    const QString loginHint = QStringLiteral(
        "Jeigu netuščias, šiuo vardu bus registruojamasi į siunčiamų laiškų (SMTP) serverį");
    cxEditSMTPUserName->setToolTip(loginHint);
    cxEditSMTPPassword->setToolTip(loginHint);
    cxCheckBoxBeep = new QCheckBox(QStringLiteral("Baigus siųsti, įspėti garsu"), this);
    cxButtonSave = new QPushButton(QStringLiteral("Išsaugoti"), this);
    cxButtonCancel = new QPushButton(QStringLiteral("Atšaukti"), this);

    auto* hostRow = new QHBoxLayout;
    hostRow->addWidget(cxEditHost);
    hostRow->addWidget(cxButton1);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(cxEditTime);
    timeRow->addWidget(new QLabel(QStringLiteral("Prievadas:"), this));
    timeRow->addWidget(cxEditPort);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Siunčiamas paštas (SMTP):"), hostRow);
    form->addRow(QStringLiteral("Skirtasis laikas (ms):"), timeRow);
    form->addRow(QString(), cxCheckBoxSMTPSSL);
    form->addRow(QStringLiteral("Siųsti nuo ko:"), cxEditMyMail);
    form->addRow(QStringLiteral("Siųsti kam:"), cxEditMailTo);
    form->addRow(QStringLiteral("Tema:"), cxEditSubj);
    auto* login = new QFormLayout(cxGroupBoxSMTP);
    login->addRow(QStringLiteral("Naudotojo vardas:"), cxEditSMTPUserName);
    login->addRow(QStringLiteral("Slaptažodis:"), cxEditSMTPPassword);
    login->addRow(QString(),
                  new QLabel(QStringLiteral("Bus įrašytas jūsų ini faile!"), cxGroupBoxSMTP));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cxButtonSave);
    buttons->addWidget(cxButtonCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(cxGroupBoxSMTP);
    layout->addWidget(cxCheckBoxBeep);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // fixed dialog border

    const QList<QWidget*> tabOrder{cxEditHost,        cxButton1,          cxEditTime,
                                   cxCheckBoxSMTPSSL, cxEditMyMail,       cxEditMailTo,
                                   cxEditSubj,        cxEditSMTPUserName, cxEditSMTPPassword,
                                   cxCheckBoxBeep,    cxButtonSave,       cxButtonCancel};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(cxButtonSave, &QPushButton::clicked, this, [this] { done(mrYes); });
    connect(cxButtonCancel, &QPushButton::clicked, this, [this] { done(mrNo); });
    connect(cxButton1, &QPushButton::clicked, this, &TSendValuesForm::cxButton1Click);
    FormCreate();
}

void TSendValuesForm::FormCreate()
{
    cxEditSMTPPassword->setEchoMode(QLineEdit::Password);
    cxEditSMTPPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
}

// There is no Outlook Express on this platform to take the values from.
void TSendValuesForm::cxButton1Click()
{
    MessageDlg(QStringLiteral("Nepavyko nuskaityti parametrų iš Outlook Express"),
               TMsgDlgType::Error, mbOK);
}

void TSendValuesForm::SetValues(const TSendValues& values)
{
    cxEditHost->setText(values.Host);
    cxEditPort->setText(values.Port);
    cxEditTime->setText(values.Timeout);
    cxEditMailTo->setText(values.MailTo);
    cxEditMyMail->setText(values.MyMail);
    cxEditSubj->setText(values.Subject);
    cxEditSMTPUserName->setText(values.Username);
    cxEditSMTPPassword->setText(values.Password);
    cxCheckBoxSMTPSSL->setChecked(values.Ssl);
    cxCheckBoxBeep->setChecked(values.Beep);
}

TSendValues TSendValuesForm::Values() const
{
    return {cxEditHost->text(),         cxEditPort->text(),         cxEditTime->text(),
            cxEditMailTo->text(),       cxEditMyMail->text(),       cxEditSubj->text(),
            cxEditSMTPUserName->text(), cxEditSMTPPassword->text(), cxCheckBoxSMTPSSL->isChecked(),
            cxCheckBoxBeep->isChecked()};
}

void TSendValuesForm::SetLocked(QLineEdit* edit, bool locked)
{
    edit->setReadOnly(locked);
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, locked ? Background : palette().color(QPalette::Base));
    edit->setPalette(colours);
}

void TSendValuesForm::ApplyLocks(const TSendLocks& locks)
{
    SetLocked(cxEditHost, locks.Host);
    SetLocked(cxEditPort, locks.Port);
    SetLocked(cxEditTime, locks.Timeout);
    SetLocked(cxEditMailTo, locks.MailTo);
    SetLocked(cxEditSMTPUserName, locks.Username);
    cxCheckBoxSMTPSSL->setEnabled(!locks.Ssl);
}
