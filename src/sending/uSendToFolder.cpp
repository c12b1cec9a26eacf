#include "uSendToFolder.h"

#include "uCopyToFolder.h"
#include "uFolderPicker.h"
#include "uMessageDlg.h"

#include <QProgressDialog>

namespace {

// Short copies finish before any window appears.
constexpr int ProgressDelayMs = 700;
constexpr int ProgressSteps = 1000;

QString FailureText(const QString& folder, const QList<TCopyFailure>& failures)
{
    QStringList lines;
    for (const TCopyFailure& failure : failures)
        lines.append(QStringLiteral("%1 (%2)").arg(failure.Path, failure.Reason));
    return QStringLiteral("Į aplanką \"%1\" nepavyko nukopijuoti:\r\n%2")
        .arg(folder, lines.join(QStringLiteral("\r\n")));
}

} // namespace

void SendToFolder(QWidget* owner, const QStringList& sources)
{
    TFolderPicker picker(owner);
    picker.Caption = QStringLiteral("Siųsti bylas į aplanką");
    if (!picker.Execute())
        return;
    const QString folder = picker.Selection;

    // No file names: the window says only that copying goes on.
    QProgressDialog progress(QStringLiteral("Kopijuojama..."), QStringLiteral("Atšaukti"), 0,
                             ProgressSteps, owner);
    progress.setWindowTitle(picker.Caption);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(ProgressDelayMs);
    progress.setAutoReset(false);
    progress.setValue(0);
    const TCopyResult result =
        CopyToFolder(sources, folder, [&progress](qint64 done, qint64 total) {
            progress.setValue(total > 0 ? int(done * ProgressSteps / total) : 0);
            return !progress.wasCanceled();
        });
    progress.close();

    if (!result.Failures.isEmpty())
        MessageDlg(FailureText(folder, result.Failures), TMsgDlgType::Error, mbOK);
}
