#include "uAnimationPlayer.h"

#include <QPainter>
#include <QtMath>

TAnimationPlayer::TAnimationPlayer(QWidget* parent) : QWidget(parent)
{
    setFixedSize(32, 32);
    FTimer.setTimerType(Qt::PreciseTimer);
    FTimer.setInterval(67); // 66667 microseconds per frame
    connect(&FTimer, &QTimer::timeout, this, [this] {
        FFrame = (FFrame + 1) % FrameCount;
        update();
    });
}

void TAnimationPlayer::Play()
{
    FTimer.start();
}

void TAnimationPlayer::Stop()
{
    FTimer.stop();
}

void TAnimationPlayer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QPointF centre(16, 16);
    for (int i = 0; i < FrameCount; ++i) {
        // Dots behind the head fade from the dark amber of the head to the
        // pale background tint.
        const int age = (FFrame - i + FrameCount) % FrameCount;
        const qreal fade = qreal(age) / (FrameCount - 1);
        const QColor head(204, 120, 0), tail(255, 235, 183);
        painter.setBrush(QColor::fromRgbF(head.redF() + (tail.redF() - head.redF()) * fade,
                                          head.greenF() + (tail.greenF() - head.greenF()) * fade,
                                          head.blueF() + (tail.blueF() - head.blueF()) * fade));
        const qreal angle = 2 * M_PI * i / FrameCount - M_PI / 2;
        const qreal radius = 2.6 - 1.2 * fade;
        painter.drawEllipse(centre + QPointF(12 * qCos(angle), 12 * qSin(angle)), radius, radius);
    }
}
