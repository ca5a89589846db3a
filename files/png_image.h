#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/atlas_result.h"
#include "engine/atlas_size.h"
#include "engine/result.h"

namespace vemro {

// How a page is stored in a PNG.
enum class PngPixels {
    WhiteWithAlpha,  // 8-bit RGBA: every pixel white, the coverage as alpha
    Coverage,        // 8-bit greyscale: the coverage alone
};

// The zlib and filter settings of the PNG writer.
struct PngCompression {
    int level = 1;       // zlib level, 0..9
    int strategy = 3;    // zlib strategy (Z_DEFAULT_STRATEGY 0, Z_FILTERED 1, Z_RLE 3)
    int filters = 0x20;  // libpng filter flags (PNG_FILTER_UP)
};

// The PNG of one page, top row first, non-interlaced, without any other chunk than IHDR, IDAT and
// IEND. A texture position the page does not hold reads as no coverage. Fails only when libpng
// does, with its message.
Result<std::vector<std::uint8_t>> encodePngImage(const AtlasPage& page, AtlasSize size,
                                                 PngPixels pixels,
                                                 const PngCompression& compression = {});

// Writes encodePngImage(page, size, pixels) to path, whole or not at all.
Status writePngImage(const std::string& path, const AtlasPage& page, AtlasSize size,
                     PngPixels pixels);

}  // namespace vemro
