#include "ui/widgets/colors.h"

#include <algorithm>

QColor darkened(const QColor& color, int amount) {
    const auto down = [amount](int channel) { return channel > amount ? channel - amount : 0; };
    return QColor(down(color.red()), down(color.green()), down(color.blue()));
}

QColor lightened(const QColor& color, int amount) {
    const auto up = [amount](int channel) { return std::min(channel + amount, 255); };
    return QColor(up(color.red()), up(color.green()), up(color.blue()));
}

QColor shadeOf(const QColor& color, int dark, int light) {
    const QColor shade = darkened(color, dark);
    if (shade.red() == 0 && shade.green() == 0 && shade.blue() == 0) {
        return lightened(color, light);
    }
    return shade;
}
