#pragma once

#include <cstdint>
#include <optional>

namespace vemro {

// Codes 0..255 of the atlas are bytes of Windows-1252. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control points of the same value.
char32_t windows1252ToUnicode(std::uint8_t code);

// The Windows-1252 byte of a Unicode code point, or nothing when the code page has none.
std::optional<std::uint8_t> unicodeToWindows1252(char32_t codePoint);

}  // namespace vemro
