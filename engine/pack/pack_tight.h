#pragma once

#include <vector>

#include "engine/pack/pack_options.h"

namespace vemro {

// Packs rectangles by height on a skyline (stb_rect_pack: tallest first, then widest, each at the
// lowest and then leftmost place where it fits), `spacing` pixels apart: each rectangle takes
// its size plus the spacing on a page that is larger by the spacing, so the spacing never
// reaches past the page's right or bottom edge. Equal rectangles are taken in list order, so the
// result depends on the list alone.
//
// Rectangles without area (a width or height of zero or less) take no room: they are placed at
// (0, 0) on page 0. With multiplePages the rectangles that do not fit are packed onto the next
// page, and so on, up to maxPages pages. Rectangles that fit on no page (wider or taller than a
// page, or left over on the last page allowed) are placed below the last page in list order, as
// placeBelowPage does. Returns one position per item, in order.
std::vector<PackPosition> packTight(const std::vector<PackItem>& items, const PackOptions& options);

}  // namespace vemro
