#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/result.h"
#include "files/export/font_description.h"

namespace vemro {

// The BMFont descriptor in the binary layout, version 3, every field little-endian: the bytes
// "BMF" and 3, then blocks of one type byte, an int32 size (the bytes after it) and the fields:
//   1 info     int16 size, uint8 bits (counted from the most significant: smooth 0x80,
//              unicode 0x40, italic 0x20, bold 0x10, fixed height 0x08), uint8 charset,
//              uint16 stretchH, uint8 aa, uint8 padding up, right, down, left, uint8 spacing
//              horizontal, vertical, uint8 outline, the face name in UTF-8 and a zero byte
//   2 common   uint16 lineHeight, base, scaleW, scaleH, pages, uint8 bits (packed 0x01),
//              uint8 alpha, red, green and blue channel
//   3 pages    each page's file name and a zero byte; every name has the same length
//   4 chars    20 bytes each: uint32 id, uint16 x, y, width, height, int16 xoffset, yoffset,
//              xadvance, uint8 page, uint8 chnl
//   5 kerning  10 bytes each: uint32 first, uint32 second, int16 amount (only with pairs)
// A value that does not fit its field, or page names of different lengths, refuse the
// descriptor with a message naming the value.
Result<std::vector<std::uint8_t>> encodeBmfontBinary(const FontDescription& description);

}  // namespace vemro
