#pragma once

#include <cstdint>

#include "engine/atlas/atlas_result.h"
#include "engine/project/effect_settings.h"
#include "engine/raster/cell_reducer.h"
#include "engine/raster/colour_ink.h"

namespace vemro {

// The pixels (k, j) of a cell that lie on its page: columns [firstColumn, endColumn) and rows
// [firstRow, endRow), in cell coordinates. Empty when the cell is wholly outside or has no area.
struct VisibleCell {
    std::int32_t firstColumn = 0;
    std::int32_t endColumn = 0;
    std::int32_t firstRow = 0;
    std::int32_t endRow = 0;

    bool empty() const { return endColumn <= firstColumn || endRow <= firstRow; }
};

VisibleCell visiblePart(const PlacedGlyph& cell, const AtlasPage& page);

// Whether any part of the cell lies outside the page.
bool cellLeavesPage(const PlacedGlyph& cell, const AtlasPage& page);

// Writes the visible part of the cell of a coverage or distance-field page once: zero in every
// channel but for the ink (of the page's channels), whose column 0 lands on cell column
// cell.inkLeft + ink.left and whose row 0 on cell row inkTop. Nothing outside the visible part is
// written; ink outside the cell is never read.
void drawCell(const PlacedGlyph& cell, const VisibleCell& visible, const ReducedInk& ink,
              std::int32_t inkTop, AtlasPage& page);

// The same for a colour page: transparent pixels of the colour `clear` but for the colour ink.
void drawColourCell(const PlacedGlyph& cell, const VisibleCell& visible, const ColourInk& ink,
                    std::int32_t inkTop, Rgb clear, AtlasPage& page);

}  // namespace vemro
