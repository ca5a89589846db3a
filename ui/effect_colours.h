#pragma once

#include <QColor>
#include <QIcon>

#include "engine/project/effect_settings.h"

namespace vemro {

inline QColor toQColor(const Rgb& colour, int alpha = 255) {
    return QColor(colour.red, colour.green, colour.blue, alpha);
}

inline Rgb toRgb(const QColor& colour) {
    return Rgb{static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
               static_cast<std::uint8_t>(colour.blue())};
}

// A swatch of the colour for a colour button: the colour over a small checkerboard, so that a
// see-through colour shows as such, framed in grey.
QIcon colourSwatch(const QColor& colour, QSize size);

}  // namespace vemro
