#include "uStartup.h"

#include "uDownloadTaskStore.h"
#include "uDownloadUpdatesDataModule.h"
#include "uKelmiraApplication.h"
#include "uMainForm.h"
#include "uMessageDlg.h"
#include "uError.h"
#include "uShared.h"
#include "uTerminationSignals.h"

#include <memory>

int RunKelmira(int argc, char** argv)
{
    TKelmiraApplication app(argc, argv);

    auto updates = std::make_unique<TDownloadUpdatesDataModule>();
    updates->SetStore(std::make_shared<TDownloadTaskStore>(GetConfigFileNameWithSuffix(QStringLiteral("_AI")),
                                                           GetConfigFileNameWithSuffix(QStringLiteral("_MI"))));
    // Pending updates may be installed by another process that this one has
    // just started; then no window is shown here.
    if (updates->ApplicationStartup())
        return 0;

    int exitCode = 0;
    {
        TMainForm mainForm(updates.get());
        OnTerminationSignal([&mainForm] { mainForm.CloseWithoutQuestions(); });
        mainForm.show();
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
