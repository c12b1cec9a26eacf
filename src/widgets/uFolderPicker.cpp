#include "uFolderPicker.h"

#include <QFileDialog>
#include <QStandardPaths>

namespace {

struct TScript
{
    bool Active = false;
    QStringList Answers;
    QStringList Asked;
};

// Folders are asked for on the GUI thread only.
TScript& Script()
{
    static TScript script;
    return script;
}

} // namespace

TFolderPicker::TFolderPicker(QWidget* owner) : QObject(owner), FOwner(owner) {}

bool TFolderPicker::Execute()
{
    TScript& script = Script();
    if (script.Active) {
        script.Asked.append(Caption);
        Selection = script.Answers.isEmpty() ? QString() : script.Answers.takeFirst();
        return !Selection.isEmpty();
    }
    // The browse starts at the desktop, as the user knows it from other
    // programs; only folders of the file system can be confirmed.
    Selection = QFileDialog::getExistingDirectory(
        FOwner, Caption, QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
        QFileDialog::ShowDirsOnly);
    return !Selection.isEmpty();
}

namespace FolderPickerScript {

void PushAnswer(const QString& folder)
{
    Script().Answers.append(folder);
}

QStringList Asked()
{
    return Script().Asked;
}

void Reset(bool scripted)
{
    Script() = TScript();
    Script().Active = scripted;
}

} // namespace FolderPickerScript
