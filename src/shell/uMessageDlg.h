#pragma once

#include <QList>
#include <QString>

class QWidget;

enum class TMsgDlgType { Warning, Error, Information, Confirmation };

enum TMsgDlgBtn : unsigned { mbYes = 1, mbNo = 2, mbOK = 4 };
using TMsgDlgButtons = unsigned;

enum TModalResult : int { mrNone = 0, mrOk = 1, mrYes = 6, mrNo = 7 };

// Every question and message of the program goes through here, shown as the
// toolkit's standard message box of the given kind.
int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons);

// Test hook: while answers are queued, MessageDlg shows nothing, records the
// text and kind asked and returns the next answer (mrNone when the queue runs
// dry, so an unexpected question never blocks a test).
namespace MessageDlgScript {
void PushAnswer(int answer);
struct TAsked
{
    QString Text;
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
};
QList<TAsked> Asked();
void Reset(bool scripted = true);
bool Active();
} // namespace MessageDlgScript
