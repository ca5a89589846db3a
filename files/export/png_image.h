#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/atlas/atlas_result.h"
#include "engine/core/result.h"
#include "engine/project/atlas_size.h"

namespace vemro {

// How a page is stored in a PNG.
enum class PngPixels {
    WhiteWithAlpha,  // 8-bit RGBA: every pixel white, the coverage as alpha
    // 8-bit indexed, one byte a pixel: the coverage as the index into a palette of 256 white
    // entries whose tRNS alpha is the index, so a loader gets white with the coverage as alpha
    Coverage,
    Colour,  // 8-bit RGBA: the pixels of a four-channel page as they are
    Rgb,     // 8-bit RGB: the pixels of a three-channel page (a multi-channel field) as they are
};

// The zlib and filter settings of the PNG writer. The defaults were chosen by measurement
// (bench/png_bench.cpp): zlib level 1, the default strategy and no row filter encode a 32-bit
// page as fast as any setting tried and an 8-bit one fastest and smaller than with filters, in
// a fifth of the time of libpng's own defaults (level 6, every filter) for files 5 to 15 % larger.
struct PngCompression {
    int level = 1;       // zlib level, 0..9
    int strategy = 0;    // zlib strategy: Z_DEFAULT_STRATEGY 0, Z_FILTERED 1, Z_RLE 3
    int filters = 0x08;  // libpng filter flags: PNG_FILTER_NONE 0x08, PNG_FILTER_UP 0x20
};

// The PNG of one page, top row first, non-interlaced, without any other chunk than IHDR, IDAT and
// IEND (and PLTE and tRNS for Coverage). A texture position the page does not hold reads as no
// coverage (zero in every channel for pages of several). An 8-bit page stored as Colour is white
// with its coverage as alpha; a page of four channels is always stored as Colour and one of three
// as Rgb, whatever was asked. Fails only when libpng does, with its message.
Result<std::vector<std::uint8_t>> encodePngImage(const AtlasPage& page, AtlasSize size,
                                                 PngPixels pixels,
                                                 const PngCompression& compression = {});

// Writes encodePngImage(page, size, pixels) to path, whole or not at all; a page of three
// channels filtered Up (PNG_FILTER_UP), others with the default compression.
Status writePngImage(const std::string& path, const AtlasPage& page, AtlasSize size,
                     PngPixels pixels);

}  // namespace vemro
