#include "uMessageDlg.h"

#include <QApplication>
#include <QMessageBox>

namespace {

struct TScript
{
    bool Active = false;
    QList<int> Answers;
    QList<MessageDlgScript::TAsked> Asked;
};

// Questions are asked on the GUI thread only.
TScript& Script()
{
    static TScript script;
    return script;
}

QMessageBox::Icon IconOf(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::Warning:
        return QMessageBox::Warning;
    case TMsgDlgType::Error:
        return QMessageBox::Critical;
    case TMsgDlgType::Information:
        return QMessageBox::Information;
    case TMsgDlgType::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    TScript& script = Script();
    if (script.Active) {
        script.Asked.append({text, type, buttons});
        return script.Answers.isEmpty() ? mrNone : script.Answers.takeFirst();
    }
    // The program names itself "KELMIRA" at start.
    QMessageBox box(IconOf(type), QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::NoButton, QApplication::activeWindow());
    if (buttons & mbYes)
        box.addButton(QMessageBox::Yes);
    if (buttons & mbNo)
        box.addButton(QMessageBox::No);
    if ((buttons & mbOK) || !(buttons & (mbYes | mbNo)))
        box.addButton(QMessageBox::Ok);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    case QMessageBox::Ok:
        return mrOk;
    default:
        return mrNone;
    }
}

namespace MessageDlgScript {

void PushAnswer(int answer)
{
    Script().Answers.append(answer);
}

QList<TAsked> Asked()
{
    return Script().Asked;
}

void Reset(bool scripted)
{
    Script() = TScript();
    Script().Active = scripted;
}

bool Active()
{
    return Script().Active;
}

} // namespace MessageDlgScript
