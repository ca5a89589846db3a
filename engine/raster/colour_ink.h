#pragma once

#include <cstdint>
#include <vector>

namespace vemro {

// A glyph's ink with its effects composed, as it is copied onto a colour page: 32-bit pixels of
// red, green, blue and straight (not premultiplied) alpha. Placed as ReducedInk places its ink:
// column 0 lies `left` atlas columns right of the glyph's first ink column (negative where the
// outline or shadow reaches past it), row 0 `top` rows below the row the ink's offset counts from.
struct ColourInk {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;  // width x height x 4, row-major

    friend bool operator==(const ColourInk&, const ColourInk&) = default;
};

}  // namespace vemro
