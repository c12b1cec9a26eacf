// Starts the program on a workspace and saves PNGs of its windows as the user
// meets them: the main window in each of the four list styles and in the
// history view, the send dialog, the progress window and the updates window
// after the automatic check; then closes it.
//   kelmira_screenshot <output folder> -i <workspace>/kelmira.ini
#include "uDownloadUpdatesForm.h"
#include "uExplorerFrame.h"
#include "uMainForm.h"
#include "uProgressForm.h"
#include "uSendForm.h"
#include "uStartup.h"
#include "uUpdateStatusDisplay.h"
#include "uUpdateStatusTexts.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

QString GOutput;

void Save(QWidget* window, const QString& name)
{
    window->grab().save(QStringLiteral("%1/%2.png").arg(GOutput, name));
}

void MainWindow(TMainForm& form)
{
    form.Button(btnAFView)->click();
    const QStringList styles = {QStringLiteral("large-icons"), QStringLiteral("small-icons"),
                                QStringLiteral("list"), QStringLiteral("details")};
    for (int style = 0; style < styles.size(); ++style) {
        form.ExplorerFrame()->SetViewStyle(style);
        Save(&form, QStringLiteral("main-window-") + styles.at(style));
    }
}

// The files of the list that are not folders.
QList<int> FileRows(const TExplorerFrame& frame)
{
    QList<int> rows;
    for (int row = 0; row < frame.Entries().size(); ++row)
        if (frame.Entries().at(row).Kind == QStringLiteral("file"))
            rows.append(row);
    return rows;
}

// The history view with its first history file opened.
void HistoryView(TMainForm& form)
{
    form.Button(btnLog)->click();
    const QList<int> files = FileRows(*form.ExplorerFrame());
    if (!files.isEmpty()) {
        form.ExplorerFrame()->SelectIndexes({files.first()});
        form.ExplorerFrame()->ListViewDblClick();
    }
    Save(&form, QStringLiteral("history-view"));
}

// The send button shows the forms waiting to be sent; with all of them
// selected, the second press opens the dialog, which is cancelled once saved.
void SendDialog(TMainForm& form)
{
    form.Button(btnSend)->click();
    form.ExplorerFrame()->SelectIndexes(FileRows(*form.ExplorerFrame()));
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TSendForm*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->cxMemo->setPlainText(QStringLiteral(
            "Sveiki,\n\nsiunčiame 2026 m. balansą ir pelno ataskaitą.\n\nDemo įmonė"));
        Save(dialog, QStringLiteral("send-dialog"));
        dialog->reject();
    });
    form.Button(btnSend)->click();
}

// A delivery halfway through the message: the texts and the bar as the send
// sets them while the mail server takes the data.
void ProgressWindow(TMainForm& form)
{
    TProgressForm progress(&form);
    progress.cxLabel1->setText(QStringLiteral("Siunčiama..."));
    progress.cxProgressBar1->setValue(45);
    progress.cxLabelStatus->setText(QStringLiteral("354 End data with <CR><LF>.<CR><LF>"));
    progress.show();
    Save(&progress, QStringLiteral("progress-window"));
}

bool CheckEnded(const QString& title)
{
    const TStatusTexts texts = BuiltInStatusTexts();
    for (TUpdateCheckStatus running :
         {TUpdateCheckStatus::NotStarted, TUpdateCheckStatus::InProgress,
          TUpdateCheckStatus::UpdatesFound})
        if (title == StatusTitle(texts.at(static_cast<size_t>(running))))
            return false;
    return true;
}

// The version button opens the window; it is saved once the automatic check
// a few seconds after start has ended (or after a minute), then the program
// closes.
void UpdatesWindow(TMainForm& form)
{
    form.VersionButton()->click();
    TDownloadUpdatesForm* window = form.UpdateStatus()->DownloadUpdatesForm();
    auto* poll = new QTimer(&form);
    QObject::connect(poll, &QTimer::timeout, &form, [&form, window, poll, polls = 0]() mutable {
        if (!CheckEnded(window->StatusEdit()->text()) && ++polls < 300)
            return;
        poll->stop();
        Save(window, QStringLiteral("updates-window"));
        form.close();
    });
    poll->start(200);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder> [-i <config>]\n", argv[0]);
        return 2;
    }
    GOutput = QString::fromLocal8Bit(argv[1]);
    // The program reads its own switches; the output folder is ours.
    argv[1] = argv[0];
    return RunKelmira(argc - 1, argv + 1, [](TMainForm& form) {
        QDir().mkpath(GOutput);
        MainWindow(form);
        HistoryView(form);
        SendDialog(form);
        ProgressWindow(form);
        UpdatesWindow(form);
    });
}
