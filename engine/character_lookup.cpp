#include "engine/character_lookup.h"

#include <optional>

#include "engine/windows1252.h"

namespace vemro {

namespace {

// Symbol fonts put their characters at 0xF000 plus a byte.
constexpr FT_ULong kSymbolArea = 0xF000;
constexpr FT_ULong kByteLimit = 0x100;

}  // namespace

FT_UInt glyphIndexFor(FT_Face face, char32_t code) {
    if (face->charmap == nullptr || face->charmap->encoding == FT_ENCODING_UNICODE) {
        return FT_Get_Char_Index(face, code);
    }
    const std::optional<std::uint8_t> byte = unicodeToWindows1252(code);
    const FT_ULong legacy = byte ? *byte : static_cast<FT_ULong>(code);
    if (face->charmap->encoding == FT_ENCODING_MS_SYMBOL && legacy < kByteLimit) {
        const FT_UInt index = FT_Get_Char_Index(face, kSymbolArea + legacy);
        if (index != 0) {
            return index;
        }
    }
    return FT_Get_Char_Index(face, legacy);
}

}  // namespace vemro
