#pragma once

#include <QTimer>
#include <QWidget>

// A looping 32x32 animation of 15 frames at 15 frames per second, painted
// here: a ring of dots with a bright head running round.
class TAnimationPlayer : public QWidget
{
    Q_OBJECT

public:
    static constexpr int FrameCount = 15;

    explicit TAnimationPlayer(QWidget* parent = nullptr);

    void Play();
    void Stop();
    bool Playing() const { return FTimer.isActive(); }
    int Frame() const { return FFrame; }

    QSize sizeHint() const override { return {32, 32}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer FTimer;
    int FFrame = 0;
};
