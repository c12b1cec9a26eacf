#include "uStatusIconPanel.h"

#include "uStatusImages.h"

#include <QPainter>

namespace {
constexpr int ImageLeft = 5;
}

TStatusIconPanel::TStatusIconPanel(std::function<int()> imageIndex, QWidget* parent)
    : QWidget(parent), FImageIndex(std::move(imageIndex))
{
    setObjectName(QStringLiteral("StatusIconPanel"));
    setMinimumHeight(StatusImageSize);
    setMouseTracking(true);
}

void TStatusIconPanel::paintEvent(QPaintEvent* /*event*/)
{
    QPainter p(this);
    p.fillRect(rect(), parentWidget() ? parentWidget()->palette().window() : palette().window());
    const int index = FImageIndex();
    if (index >= 0)
        p.drawPixmap(ImageLeft, 0, StatusImage(index, devicePixelRatioF()));
}
