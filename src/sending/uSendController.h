#pragma once

#include "uSelectedItem.h"
#include "uSendSettings.h"
#include "uSentHistory.h"

#include <QString>

class QWidget;
class TIniFile;
class TMimeMessage;
class TProgressForm;
class TSendForm;

// Everything the main window does for sending, behind two calls: the send
// settings dialog and composing a send of the selected forms. The main window
// supplies its selection as plain entries, read when they are needed.
class TSendController
{
public:
    // `lgBaseFolder` is the history workspace's base folder (ending with "/",
    // or empty), `archivePattern` the history file name pattern ("Archyvas").
    TSendController(QWidget* mainWindow, TIniFile& aiFile, const QString& lgBaseFolder,
                    const QString& archivePattern, TSelectionSource selection);
    ~TSendController();
    TSendController(const TSendController&) = delete;
    TSendController& operator=(const TSendController&) = delete;

    // "AF siuntimų nustatymai".
    void MenuNustatymaiClick();
    // The send workspace's open action and the second press of the send
    // button: the compose dialog over the current selection.
    void ComposeSend();

    // The progress window, created once with the controller.
    TProgressForm* ProgressForm() const { return FProgressForm; }

private:
    void SendComposedMessage(TSendForm& form);
    void DeliverMessage(TMimeMessage& message, const TSendForm& form);
    void RecordHistory(const QList<THistoryEntry>& history);

    QWidget* FMainWindow;
    TIniFile& FAiFile;
    QString FLgBaseFolder;
    QString FArchiveName;
    TSelectionSource FSelection;
    TProgressForm* FProgressForm;
    // The settings of the send being composed, read when the dialog opens.
    TSendSettings FSettings;
    qint64 FMessageSize = 0;
};
