#include "engine/font/freetype/coverage_rows.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace vemro {

namespace {

// Coverage 0..255 of one pixel of a rendered or embedded bitmap row.
std::uint8_t coverageAt(const FT_Bitmap& bitmap, const unsigned char* row, unsigned column) {
    switch (bitmap.pixel_mode) {
        case FT_PIXEL_MODE_MONO:
            return ((row[column >> 3] >> (7 - (column & 7))) & 1) != 0 ? 255 : 0;
        case FT_PIXEL_MODE_GRAY2:
            return static_cast<std::uint8_t>(((row[column >> 2] >> (6 - 2 * (column & 3))) & 3) *
                                             85);
        case FT_PIXEL_MODE_GRAY4:
            return static_cast<std::uint8_t>(((row[column >> 1] >> (4 - 4 * (column & 1))) & 15) *
                                             17);
        case FT_PIXEL_MODE_GRAY: {
            const unsigned value = row[column];
            const unsigned levels = bitmap.num_grays;
            if (levels > 1 && levels < 256) {
                return static_cast<std::uint8_t>(std::min(255u, value * 255 / (levels - 1)));
            }
            return static_cast<std::uint8_t>(value);
        }
        default:
            return 0;  // colour and LCD bitmaps are never asked for
    }
}

}  // namespace

const unsigned char* bitmapRow(const FT_Bitmap& bitmap, int y) {
    const int stride = std::abs(bitmap.pitch);
    const int rows = static_cast<int>(bitmap.rows);
    return bitmap.buffer +
           static_cast<std::ptrdiff_t>(stride) * (bitmap.pitch >= 0 ? y : rows - 1 - y);
}

CoverageRows::CoverageRows(const FT_Bitmap& bitmap, bool antialiased)
    : bitmap_(bitmap),
      width_(static_cast<int>(bitmap.width)),
      direct_(antialiased && bitmap.pixel_mode == FT_PIXEL_MODE_GRAY &&
              (bitmap.num_grays <= 1 || bitmap.num_grays >= 256)),
      antialiased_(antialiased) {
    if (!direct_) {
        converted_.resize(static_cast<std::size_t>(std::max(width_, 0)));
    }
}

const std::uint8_t* CoverageRows::row(int y) {
    const unsigned char* raw = bitmapRow(bitmap_, y);
    if (direct_) {
        return raw;
    }
    for (int x = 0; x < width_; ++x) {
        std::uint8_t value = coverageAt(bitmap_, raw, static_cast<unsigned>(x));
        if (!antialiased_) {
            value = value >= 128 ? 255 : 0;
        }
        converted_[static_cast<std::size_t>(x)] = value;
    }
    return converted_.data();
}

}  // namespace vemro
