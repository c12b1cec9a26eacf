// Starts the program on a workspace, shows the AF view and saves a PNG of the
// main window in each of the four list styles, then closes it.
//   kelmira_screenshot <output folder> -i <workspace>/kelmira.ini
#include "uExplorerFrame.h"
#include "uMainForm.h"
#include "uStartup.h"

#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder> [-i <config>]\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    // The program reads its own switches; the output folder is ours.
    argv[1] = argv[0];
    return RunKelmira(argc - 1, argv + 1, [output](TMainForm& form) {
        QDir().mkpath(output);
        form.Button(btnAFView)->click();
        const QStringList styles = {QStringLiteral("large-icons"), QStringLiteral("small-icons"),
                                    QStringLiteral("list"), QStringLiteral("details")};
        for (int style = 0; style < styles.size(); ++style) {
            form.ExplorerFrame()->SetViewStyle(style);
            form.grab().save(QStringLiteral("%1/main-window-%2.png").arg(output, styles.at(style)));
        }
        form.close();
    });
}
