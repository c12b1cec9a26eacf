#pragma once

#include <QDir>
#include <QWidget>

// Pictures of the windows for the record, in build/screenshots/.
inline bool SaveScreenshot(QWidget* widget, const QString& name)
{
    const QString folder = QStringLiteral(KELMIRA_BINARY_DIR "/screenshots");
    QDir().mkpath(folder);
    return widget->grab().save(folder + QLatin1Char('/') + name);
}
