#pragma once

#include <QColor>
#include <QRect>

// Each channel raised by amount (0..255), stopping at 255.
QColor LightenColor(const QColor& color, int amount);
// One pixel smaller on every side.
QRect ShrinkRect(const QRect& rect);
