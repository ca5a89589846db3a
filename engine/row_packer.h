#pragma once

#include <cstdint>
#include <vector>

#include "engine/atlas_size.h"

namespace vemro {

// A rectangle to place: its width and height in atlas pixels. Widths may be negative (a cell
// whose negative character borders exceed its ink); packers keep such sizes as they are.
struct PackItem {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Where a packer put a rectangle: its page and its top-left corner on that page.
struct PackPosition {
    std::int32_t page = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const PackPosition&, const PackPosition&) = default;
};

// Places rectangles in order, left to right with one pixel between them, starting a new row one
// pixel below the tallest rectangle so far whenever one would pass the texture's right edge.
// Everything lands on page 0; rectangles past the texture's bottom are placed there all the
// same. Returns one position per item, in order.
std::vector<PackPosition> packRows(const std::vector<PackItem>& items, AtlasSize texture);

}  // namespace vemro
