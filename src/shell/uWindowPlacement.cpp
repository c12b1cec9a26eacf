#include "uWindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// One axis: centred over the span, then pushed back inside the work area,
// the near edge winning when the window is larger than the area.
int Place(int spanStart, int spanLength, int windowLength, int areaStart, int areaLength)
{
    int start = spanStart + (spanLength - windowLength) / 2;
    if (start + windowLength > areaStart + areaLength)
        start = areaStart + areaLength - windowLength;
    if (start < areaStart)
        start = areaStart;
    return start;
}

} // namespace

QPoint CenteredPosition(const QSize& window, const QRect& rect, const QRect& workArea)
{
    return {Place(rect.left(), rect.width(), window.width(), workArea.left(), workArea.width()),
            Place(rect.top(), rect.height(), window.height(), workArea.top(), workArea.height())};
}

void CenterFormOverRect(QWidget* window, const QRect& rect)
{
    const QScreen* screen = QGuiApplication::screenAt(rect.center());
    if (!screen)
        screen = window->screen();
    window->move(
        CenteredPosition(window->frameGeometry().size(), rect, screen->availableGeometry()));
}
