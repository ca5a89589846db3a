#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <cstdint>
#include <vector>

#include "engine/font/freetype/freetype_handles.h"

namespace vemro {

// Row y of a bitmap, counted from the top; a negative pitch stores the rows bottom-up.
const unsigned char* bitmapRow(const FT_Bitmap& bitmap, int y);

// Reads the bitmaps of a glyph slot as coverage rows, 0..255 per pixel; without antialiasing
// every pixel becomes 0 or 255. The common case, FreeType's own 256-level grey output, is read
// in place; every other format is converted one row at a time.
class CoverageRows {
public:
    CoverageRows(const FT_Bitmap& bitmap, bool antialiased);

    bool inPlace() const { return direct_; }

    // Row y from the top; valid until the next call.
    const std::uint8_t* row(int y);

private:
    const FT_Bitmap& bitmap_;
    int width_;
    bool direct_;
    bool antialiased_;
    std::vector<std::uint8_t> converted_;
};

}  // namespace vemro
