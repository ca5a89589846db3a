#pragma once

#include <cstdint>

namespace vemro {

// One character of the atlas. Only code and the two character borders are inputs; the
// rectangle (x, y, width, height) is recomputed by every rebuild.
struct Glyph {
    std::uint8_t code = 0;             // byte of the Windows-1252 character set, always unsigned
    std::int32_t charBorderLeft = 0;   // extra atlas pixels left of this glyph
    std::int32_t charBorderRight = 0;  // extra atlas pixels right of this glyph
    std::int32_t x = 0;                // left edge of the cell in the texture
    std::int32_t y = 0;                // top edge of the cell, growing downwards
    std::int32_t width = 0;            // cell width, borders included
    std::int32_t height = 0;           // cell height, borders included

    friend bool operator==(const Glyph&, const Glyph&) = default;
};

}  // namespace vemro
