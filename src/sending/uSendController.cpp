#include "uSendController.h"

#include "uComposedMessage.h"
#include "uError.h"
#include "uIniFile.h"
#include "uMessageDlg.h"
#include "uProgressForm.h"
#include "uSendForm.h"
#include "uSendToFolder.h"
#include "uSendValuesForm.h"
#include "uSentHistory.h"
#include "uSmtpThread.h"
#include "uWindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>

#include <cmath>

TSendController::TSendController(QWidget* mainWindow, TIniFile& aiFile, const QString& lgBaseFolder,
                                 const QString& archivePattern, TSelectionSource selection)
    : FMainWindow(mainWindow), FAiFile(aiFile), FLgBaseFolder(lgBaseFolder),
      FArchiveName(archivePattern), FSelection(std::move(selection)),
      FProgressForm(new TProgressForm(mainWindow))
{}

TSendController::~TSendController() = default;

void TSendController::MenuNustatymaiClick()
{
    TSendValuesForm form(FMainWindow);
    form.SetValues(TSendValues::Read(FAiFile));
    form.ApplyLocks(TSendLocks::Read(FAiFile));
    form.adjustSize();
    CenterFormOverRect(&form, FMainWindow->frameGeometry());
    if (form.exec() == mrYes)
        form.Values().Write(FAiFile);
}

void TSendController::ComposeSend()
{
    const QList<TSelectedItem> selection = FSelection();
    if (!CanComposeSend(selection))
        return;
    TSendForm form;
    FSettings = TSendSettings::Read(FAiFile);
    form.cxTextEditR->setText(FSettings.MailTo);
    form.cxTextEditS->setText(FSettings.Subject);
    form.FSenderAddress = FSettings.MyMail;
    for (const TSelectedItem& item : selection)
        if (QFileInfo(item.Path).isFile())
            form.ListViewFiles->addItem(item.Name);
    QObject::connect(form.cxButtonSend, &QPushButton::clicked, &form,
                     [this, &form] { SendComposedMessage(form); });
    // A copy to a folder takes the list's selection as it is at the click,
    // folders included, and leaves the dialog open.
    QObject::connect(form.cxButtonSave, &QPushButton::clicked, &form, [this, &form] {
        QStringList sources;
        for (const TSelectedItem& item : FSelection())
            sources.append(item.Path);
        SendToFolder(&form, sources);
    });
    CenterFormOverRect(&form, FMainWindow->frameGeometry());
    form.exec();
    FAiFile.WriteString(SendSettings::Section, QStringLiteral("MailTo"), form.cxTextEditR->text());
    FAiFile.WriteString(SendSettings::Section, QStringLiteral("Subject"), form.cxTextEditS->text());
}

// A click handler: its failures are shown here, so that none travels through
// the event loop, and the dialog stays open for another try.
void TSendController::SendComposedMessage(TSendForm& form)
{
    try {
        TComposeInput input;
        input.Recipient = form.cxTextEditR->text();
        input.Subject = form.cxTextEditS->text();
        input.BodyLines = form.cxMemo->toPlainText().split(QLatin1Char('\n'));
        input.CopyToSelf = form.cxCheckBox->isChecked();
        input.Sender = form.FSenderAddress;
        input.Selection = FSelection();
        const TComposedMessage composed = ComposeMessage(input);
        DeliverMessage(*composed.Message, form);
        RecordHistory(composed.History);
        form.done(mrYes);
    } catch (const EAppError& error) {
        MessageDlg(error.Message(), TMsgDlgType::Error, mbOK);
    }
}

void TSendController::DeliverMessage(TMimeMessage& message, const TSendForm& form)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    FMessageSize = message.Size();

    FProgressForm->cxProgressBar1->setValue(0);
    FProgressForm->cxLabel1->setText(QStringLiteral("Siunčiama..."));
    CenterFormOverRect(FProgressForm,
                       QRect(form.cxMemo->mapToGlobal(QPoint(0, 0)), form.cxMemo->size()));

    TSmtpServer server;
    server.Host = FSettings.Host;
    server.Port = FSettings.Port;
    server.UseSsl = FSettings.UseSsl;
    server.Username = FSettings.Username;
    server.Password = FSettings.Password;
    server.TimeoutMs = FSettings.TimeoutMs;
    TSMTPThread thread(server, message);
    QObject::connect(&thread, &TSMTPThread::Progress, FProgressForm, [this](qint64 value) {
        if (value < 0) {
            FProgressForm->cxProgressBar1->setValue(100);
            FProgressForm->cxLabel1->setText(QStringLiteral("Užbaigiama..."));
            FProgressForm->cxLabelStatus->clear();
        } else {
            FProgressForm->cxProgressBar1->setValue(
                int(std::lround(double(value) * 100 / double(qMax<qint64>(1, FMessageSize)))));
        }
    });
    QObject::connect(&thread, &TSMTPThread::Status, FProgressForm->cxLabelStatus, &QLabel::setText);
    QObject::connect(&thread, &TSMTPThread::CloseRequest, FProgressForm,
                     &TProgressForm::CloseRequest);
    thread.start();
    FProgressForm->exec();
    thread.wait();
    if (!thread.ErrorText().isEmpty())
        throw EAppError(thread.ErrorText());
    if (FSettings.Beep)
        QApplication::beep();
    QApplication::alert(FMainWindow);
}

// The mail has gone when this runs: a history that cannot be written is
// reported as such, and the dialog closes all the same, so that nobody sends
// the same mail twice believing the first send failed.
void TSendController::RecordHistory(const QList<THistoryEntry>& history)
{
    try {
        AppendSentHistory(
            SentHistoryPath(FLgBaseFolder, FArchiveName, QDateTime::currentDateTime()), history);
    } catch (const EAppError& error) {
        MessageDlg(QStringLiteral("Laiškas išsiųstas, tačiau siuntimų istorijos įrašyti "
                                  "nepavyko.\r\n(%1)")
                       .arg(error.Message()),
                   TMsgDlgType::Warning, mbOK);
    }
}
