#include "uStatusImages.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The badge covers the lower right part of the page.
const QRectF Badge(6.5, 6.5, 9.0, 9.0);

void DrawPage(QPainter& p)
{
    QPainterPath page;
    page.moveTo(2.5, 0.5);
    page.lineTo(9.5, 0.5);
    page.lineTo(13.5, 4.5);
    page.lineTo(13.5, 15.5);
    page.lineTo(2.5, 15.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(96, 96, 96), 1.0));
    p.setBrush(Qt::white);
    p.drawPath(page);

    QPainterPath corner;
    corner.moveTo(9.5, 0.5);
    corner.lineTo(9.5, 4.5);
    corner.lineTo(13.5, 4.5);
    corner.closeSubpath();
    p.setBrush(QColor(214, 214, 214));
    p.drawPath(corner);

    p.setPen(QPen(QColor(170, 170, 170), 1.0));
    for (qreal y : {3.5, 5.5, 7.5})
        p.drawLine(QPointF(4.0, y), QPointF(y < 5 ? 8.0 : 11.5, y));
}

void DrawGlobe(QPainter& p, const QColor& sea, const QColor& rim)
{
    QPainterPath globe;
    globe.addEllipse(Badge);
    p.setPen(Qt::NoPen);
    p.setBrush(sea);
    p.drawPath(globe);

    p.save();
    p.setClipPath(globe);
    p.setBrush(QColor(46, 160, 67));
    QPainterPath land;
    land.moveTo(7.0, 9.0);
    land.cubicTo(8.5, 7.0, 11.0, 7.5, 10.5, 9.5);
    land.cubicTo(10.0, 11.0, 8.5, 10.5, 8.5, 12.5);
    land.cubicTo(8.0, 14.0, 6.5, 12.0, 7.0, 9.0);
    land.moveTo(12.0, 11.0);
    land.cubicTo(13.5, 10.0, 15.5, 11.5, 14.5, 13.0);
    land.cubicTo(13.5, 15.0, 11.5, 14.5, 12.0, 11.0);
    p.drawPath(land);
    p.restore();

    p.setPen(QPen(rim, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(Badge);
}

void DrawTick(QPainter& p, const QColor& fill, const QColor& mark)
{
    p.setPen(QPen(mark, 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(Badge, 1.5, 1.5);
    QPen tick(mark, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(tick);
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(8.0, 11.3);
    path.lineTo(10.2, 13.5);
    path.lineTo(13.8, 8.6);
    p.drawPath(path);
}

void DrawWarning(QPainter& p)
{
    QPainterPath triangle;
    triangle.moveTo(Badge.center().x(), Badge.top());
    triangle.lineTo(Badge.right(), Badge.bottom());
    triangle.lineTo(Badge.left(), Badge.bottom());
    triangle.closeSubpath();
    p.setPen(QPen(QColor(150, 110, 0), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 210, 30));
    p.drawPath(triangle);

    const QColor blue(20, 50, 190);
    const qreal x = Badge.center().x();
    p.setPen(QPen(blue, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x, Badge.top() + 3.2), QPointF(x, Badge.bottom() - 3.3));
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawEllipse(QPointF(x, Badge.bottom() - 1.5), 0.9, 0.9);
}

} // namespace

QPixmap StatusImage(int index, qreal devicePixelRatio)
{
    QPixmap image(QSize(StatusImageSize, StatusImageSize) * devicePixelRatio);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DrawPage(p);
    switch (index) {
    case 0:
        DrawGlobe(p, QColor(25, 55, 150), QColor(10, 25, 90));
        break;
    case 1:
        DrawGlobe(p, QColor(110, 190, 245), QColor(40, 120, 190));
        break;
    case 2:
        DrawTick(p, QColor(80, 200, 90), QColor(0, 95, 25));
        break;
    case 3:
        DrawTick(p, QColor(235, 70, 60), QColor(120, 0, 0));
        break;
    case 4:
        DrawWarning(p);
        break;
    default:
        break;
    }
    return image;
}
