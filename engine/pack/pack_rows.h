#pragma once

#include <cstddef>
#include <vector>

#include "engine/pack/pack_options.h"

namespace vemro {

// Places rectangles in list order, left to right with `spacing` pixels between them, starting a
// new row `spacing` pixels below the tallest rectangle so far whenever one would pass the page's
// right edge. A negative width moves the pen back, so the next rectangle may overlap.
//
// Without multiplePages everything lands on page 0, and rectangles past its bottom are placed
// there all the same (a rectangle wider than the page starts a row of its own and passes the
// right edge). With multiplePages a rectangle whose row would pass the page's bottom starts the
// next page at (0, 0); rectangles that can never fit on a page (wider or taller than it) and,
// once maxPages pages are in use, every later rectangle are placed below the last page as
// placeBelowPage does.
// Returns one position per item, in order.
std::vector<PackPosition> packRows(const std::vector<PackItem>& items, const PackOptions& options);

// Places the rectangles of the given indices (in that order) by the same rule on the page,
// the first row at `top` (by default `spacing` pixels below the page's bottom edge), so that
// none of them shows on it.
void placeBelowPage(const std::vector<PackItem>& items, const std::vector<std::size_t>& indices,
                    const PackOptions& options, std::int32_t page,
                    std::vector<PackPosition>& positions, std::int32_t top = -1);

}  // namespace vemro
