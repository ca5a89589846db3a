#pragma once

#include <cstdint>

namespace vemro {

// One character of the atlas as the project keeps it: the character and its own padding. Where
// the rebuild puts it is part of the atlas result, not of the glyph.
struct Glyph {
    char32_t code = 0;                 // Unicode code point
    std::int32_t charBorderLeft = 0;   // extra atlas pixels left of this glyph
    std::int32_t charBorderRight = 0;  // extra atlas pixels right of this glyph

    friend bool operator==(const Glyph&, const Glyph&) = default;
};

}  // namespace vemro
