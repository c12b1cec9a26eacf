#include "uViewStyleIcons.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int Side = 16;

void DrawItem(QPainter& painter, int x, int y, int box, int line)
{
    painter.drawRect(x, y, box - 1, box - 1);
    if (line > 0)
        painter.drawLine(x + box + 1, y + box / 2, x + box + line, y + box / 2);
}

} // namespace

QIcon ViewStyleIcon(int style)
{
    QPixmap pixmap(Side, Side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(40, 60, 110));
    switch (style) {
    case 0: // two rows of two large items
        for (int y : {1, 9})
            for (int x : {1, 9})
                DrawItem(painter, x, y, 6, 0);
        break;
    case 1: // small items in rows
        for (int y : {1, 6, 11})
            for (int x : {0, 8})
                DrawItem(painter, x, y, 3, 3);
        break;
    case 2: // small items in columns
        for (int y : {1, 6, 11})
            DrawItem(painter, 1, y, 3, 10);
        break;
    default: // rows with columns
        for (int y : {1, 6, 11})
            DrawItem(painter, 1, y, 3, 10);
        painter.drawLine(10, 0, 10, Side - 1);
        break;
    }
    return QIcon(pixmap);
}
