#pragma once

#include <QRect>

class QWidget;

// Moves the window so that it is centred over the rectangle (screen
// coordinates) yet stays whole inside the screen's work area.
void CenterFormOverRect(QWidget* window, const QRect& rect);
// The pure computation behind it, for a window of the given size.
QPoint CenteredPosition(const QSize& window, const QRect& rect, const QRect& workArea);
