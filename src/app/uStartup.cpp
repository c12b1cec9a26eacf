#include "uStartup.h"

#include "uCommandLineInfo.h"
#include "uDownloadTaskStore.h"
#include "uDownloadUpdatesDataModule.h"
#include "uError.h"
#include "uKelmiraApplication.h"
#include "uMainForm.h"
#include "uMessageDlg.h"
#include "uShared.h"
#include "uTerminationSignals.h"

#include <QTimer>

#include <cstdio>
#include <memory>

int RunKelmira(int argc, char** argv, const std::function<void(TMainForm&)>& onShown)
{
    // Answered before the application object exists: no display is needed.
    QStringList params;
    for (int i = 1; i < argc; ++i)
        params.append(QString::fromLocal8Bit(argv[i]));
    if (const auto info = CommandLineInfo(params)) {
        std::fputs(info->toLocal8Bit().constData(), stdout);
        return 0;
    }

    TKelmiraApplication app(argc, argv);

    const QString configFileName = GetConfigFileName();
    auto updates = std::make_unique<TDownloadUpdatesDataModule>();
    updates->SetStore(std::make_shared<TDownloadTaskStore>(
        GetConfigFileNameWithSuffix(configFileName, QStringLiteral("_AI")),
        GetConfigFileNameWithSuffix(configFileName, QStringLiteral("_MI"))));
    // Pending updates may be installed by another process that this one has
    // just started; then no window is shown here.
    if (updates->ApplicationStartup())
        return 0;

    int exitCode = 0;
    {
        TMainForm mainForm(updates.get(), configFileName, CommandLineParams());
        OnTerminationSignal([&mainForm] { mainForm.CloseWithoutQuestions(); });
        mainForm.show();
        if (onShown)
            QTimer::singleShot(0, &mainForm, [&mainForm, &onShown] { onShown(mainForm); });
        exitCode = TKelmiraApplication::exec();
        try {
            mainForm.FormDestroy();
        } catch (const EAppError& error) {
            // The state could not be written; say so, the program ends anyway.
            MessageDlg(error.Message(), TMsgDlgType::Error, mbOK);
        }
    }
    updates.reset();
    return exitCode;
}
