#pragma once

#include <QIcon>

// The small pictures of the four view styles (0 large icons, 1 small icons,
// 2 list, 3 details), drawn so that they look alike on every desktop.
QIcon ViewStyleIcon(int style);
