#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

// The modal "browse for a folder" question: real folders only, a yes/no
// result and the chosen path.
class TFolderPicker : public QObject
{
    Q_OBJECT

public:
    // The owner becomes the dialog's parent window.
    explicit TFolderPicker(QWidget* owner);

    // The dialog's window title.
    QString Caption;
    // Empty before Execute; afterwards the chosen folder, or empty on cancel.
    QString Selection;

    // Shows the dialog; true when a folder was confirmed.
    bool Execute();

private:
    QWidget* FOwner;
};

// Test hook: while answers are queued, Execute shows nothing, records the
// caption asked and takes the next answer (an empty one cancels; a dry queue
// cancels too, so an unexpected question never blocks a test).
namespace FolderPickerScript {
void PushAnswer(const QString& folder);
QStringList Asked();
void Reset(bool scripted = true);
} // namespace FolderPickerScript
