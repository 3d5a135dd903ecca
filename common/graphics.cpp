#include "common/graphics.h"

namespace {
int lighten(int channel, int amount)
{
    return 255 - channel > amount ? channel + amount : 255;
}
} // namespace

QColor LightenColor(const QColor& color, int amount)
{
    const QColor rgb = color.toRgb();
    return QColor(lighten(rgb.red(), amount), lighten(rgb.green(), amount),
                  lighten(rgb.blue(), amount));
}

QRect ShrinkRect(const QRect& rect)
{
    return rect.adjusted(1, 1, -1, -1);
}
