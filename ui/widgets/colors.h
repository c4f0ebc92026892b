// The colour rules the program's painted windows share: a second row colour
// or an inactive colour derived from a system colour.
#pragma once

#include <QColor>

// Red, green and blue each lowered by `amount`; a channel not larger than the
// amount becomes 0.
QColor darkened(const QColor& color, int amount);
// Red, green and blue each raised by `amount`, at most to 255.
QColor lightened(const QColor& color, int amount);
// `color` darkened by `dark`, or lightened by `light` when darkening gives
// black.
QColor shadeOf(const QColor& color, int dark, int light);
