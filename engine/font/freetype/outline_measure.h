#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <cstdint>
#include <optional>
#include <utility>

#include "engine/font/font_renderer.h"
#include "engine/font/freetype/freetype_handles.h"
#include "engine/font/freetype/outline_extremes.h"

namespace vemro {

// Measures the ink of an antialiased outline without drawing it: the A and B widths the smooth
// renderer's bitmap of the outline would show.
//
// The smooth rasteriser computes every pixel from the cells its row crosses and the cover
// carried in from the left of that row; its results inside a clip box are the ones it writes
// into a whole bitmap (it draws big glyphs in bands that way itself). A pixel of column c can
// only hold ink in a row where some part of the outline lies left of the column's right edge
// (cover or area from the left); and, the signed covers of a closed outline summing to zero
// across a row, only where some part lies right of its left edge. So the first inked column is
// found by asking the rasteriser for one column at a time, clipped to the rows where the
// outline comes near that column; likewise the last. That costs a little of the outline's walk
// and almost no sweep, where drawing sweeps every row of the glyph. The first and last inked
// rows are found the same way, one row at a time across the box.
class OutlineMeasure {
public:
    OutlineMeasure(FT_Library library, FT_Outline& outline)
        : library_(library), outline_(outline) {}

    // The metrics of the ink, its rows counted from `ascent` pixels above the baseline (the
    // cell's top), or nothing when the rasteriser refuses (the caller then draws the glyph). The
    // outline is left as it was.
    std::optional<GlyphMetrics> measure(std::int32_t ascent);

private:
    struct SpanInk;

    // Ink of the clip box columns [first, end) and rows [rowBegin, rowEnd); false on error.
    bool render(FT_Pos first, FT_Pos end, FT_Pos rowBegin, FT_Pos rowEnd, SpanInk& ink);
    // Whether column holds ink; nothing on error.
    std::optional<bool> columnHasInk(FT_Pos column, bool fromLeft);
    // The first inked column of the box and the width of the ink, B = 0 without ink; nothing
    // when the rasteriser refuses.
    std::optional<GlyphMetrics> inkColumns();
    // Whether the row (counted upwards from the box's bottom) holds ink; nothing on error.
    std::optional<bool> rowHasInk(FT_Pos row);
    // The lowest and highest inked rows of a box that holds ink; nothing when the rasteriser
    // refuses.
    std::optional<std::pair<FT_Pos, FT_Pos>> inkRows();

    FT_Library library_;
    FT_Outline& outline_;
    OutlineExtremes extremes_;
    FT_Pos width_ = 0;
    FT_Pos height_ = 0;
};

}  // namespace vemro
