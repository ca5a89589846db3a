#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <ft2build.h>
#include FT_FREETYPE_H

#include "engine/field/shape.h"

namespace vemro {

// A FreeType outline (lines, conic and cubic Bezier arcs in 26.6 fixed point) as a shape for
// distance fields, in pixels: FreeType's units divided by 64, y up, the glyph origin at 0. Every
// edge is white until the shape is coloured; the contours are as FreeType gives them, fill by
// the non-zero rule.
field::Shape shapeFromOutline(const FT_Outline& outline);

}  // namespace vemro
