#include "uKelmiraApplication.h"

#include "uError.h"
#include "uMessageDlg.h"

#include <QPalette>

TKelmiraApplication::TKelmiraApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("KELMIRA"));
    setApplicationDisplayName(QStringLiteral("KELMIRA"));
    setApplicationVersion(QStringLiteral(KELMIRA_VERSION_TEXT));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, WindowColor);
    setPalette(colours);
}

bool TKelmiraApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const EAppError& error) {
        MessageDlg(error.Message(), TMsgDlgType::Error, mbOK);
    } catch (const std::exception& error) {
        MessageDlg(QString::fromLocal8Bit(error.what()), TMsgDlgType::Error, mbOK);
    }
    return false;
}
