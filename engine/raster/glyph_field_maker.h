#pragma once

#include <cstdint>

#include "engine/field/field_generator.h"
#include "engine/field/field_kind.h"
#include "engine/field/field_pixels.h"
#include "engine/field/shape.h"
#include "engine/font/font_renderer.h"
#include "engine/raster/cell_reducer.h"

namespace vemro {

// The field a glyph is drawn as: its kind, and the pixels of distance it reaches to either side
// of the outline.
struct FieldForm {
    field::FieldKind kind = field::FieldKind::sdf;
    std::int32_t spread = 8;

    friend bool operator==(const FieldForm&, const FieldForm&) = default;
};

// The A and B widths and the ink's rows (below the line's top, whose baseline lies `ascent` rows
// down) of a glyph drawn as a distance field: the box of its outline's control points in whole
// pixels, rounded outwards, as FreeType boxes its bitmaps; {0, 1} for an outline whose box has no
// area.
GlyphMetrics fieldMetrics(const field::Shape& outline, std::int32_t ascent);

// Draws glyph outlines as distance fields, as the atlas stores them. It keeps its working memory
// from one glyph to the next, so each thread should have one of its own.
class GlyphFieldMaker {
public:
    // The field of the outline (Font::outline) over its box in whole pixels with the spread on
    // every side, encoded as engine/field/field_encoding.h says, in the kind's channels: placed
    // as reduced ink whose first column is `spread` columns left of the glyph's black box and
    // whose row 0 lies `ascent - top of the field` rows below the line's top. The outline's fill
    // is taken by the non-zero rule; a multi-channel field's edges are coloured the same way on
    // every thread. Nothing for an outline whose box has no area.
    ReducedInk draw(const field::Shape& outline, FieldForm form, std::int32_t ascent);

private:
    field::FieldGenerator generator_;
    field::FieldPixels pixels_;
};

}  // namespace vemro
