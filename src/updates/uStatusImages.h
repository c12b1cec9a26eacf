#pragma once

#include <QPixmap>

// The five 16 by 16 status images: a white page with a folded corner and a
// badge over its lower part (0 dark globe, 1 light globe, 2 green tick,
// 3 red tick, 4 warning). Drawn as vectors for the screen's pixel ratio, so
// they stay sharp when the desktop is scaled.
constexpr int StatusImageCount = 5;
constexpr int StatusImageSize = 16;

QPixmap StatusImage(int index, qreal devicePixelRatio);
