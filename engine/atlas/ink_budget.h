#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/atlas/atlas_result.h"
#include "engine/project/atlas_size.h"

namespace vemro {

// The cells whose ink an atlas does not draw, so that a rebuild draws a bounded amount of ink.
// Every character that shows is drawn whole, at the font's full size; cells that overlap
// (negative widths) or are narrower than their ink (negative character borders) let far more
// characters show than the pages' area suggests. Counting the characters whose cells show on
// their page in list order, each once, at their black box's width in whole atlas pixels times
// the rows of the line the cell holds (lineRows), the cells of every character past `budget`
// pixels are returned, in list order. Cells of non-negative widths and character borders within
// the pages' area never are. An image that reaches `margin` pixels past the black box and those
// rows on every side (a distance field's spread) counts that too.
std::vector<std::size_t> cellsPastInkBudget(const std::vector<PlacedGlyph>& cells, AtlasSize page,
                                            std::int64_t budget, std::int32_t margin = 0);

}  // namespace vemro
