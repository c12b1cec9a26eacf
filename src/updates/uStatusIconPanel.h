#pragma once

#include <QWidget>

#include <functional>

// The status bar's last panel: the bar's colour with the status image 5
// pixels in from the left, or nothing when the state has no image.
class TStatusIconPanel : public QWidget
{
    Q_OBJECT
public:
    // imageIndex answers the index to draw, -1 for none.
    TStatusIconPanel(std::function<int()> imageIndex, QWidget* parent);

    int ImageIndex() const { return FImageIndex(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<int()> FImageIndex;
};
