#include "engine/font/freetype/character_lookup.h"

#include <algorithm>
#include <optional>

#include "engine/text/windows1252.h"

namespace vemro {

namespace {

// Symbol fonts put their characters at 0xF000 plus a byte.
constexpr FT_ULong kSymbolArea = 0xF000;
constexpr FT_ULong kByteLimit = 0x100;
constexpr FT_ULong kLastCodePoint = 0x10FFFF;

bool isScalarValue(FT_ULong code) {
    return code <= kLastCodePoint && (code < 0xD800 || code > 0xDFFF);
}

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

std::vector<char32_t> charactersOf(FT_Face face) {
    std::vector<char32_t> characters;
    if (face->charmap == nullptr) {
        return characters;
    }
    const bool unicode = face->charmap->encoding == FT_ENCODING_UNICODE;
    const bool symbol = face->charmap->encoding == FT_ENCODING_MS_SYMBOL;
    const auto consider = [&](FT_ULong candidate) {
        if (isScalarValue(candidate)) {
            characters.push_back(static_cast<char32_t>(candidate));
        }
    };
    FT_UInt index = 0;
    for (FT_ULong code = FT_Get_First_Char(face, &index); index != 0;
         code = FT_Get_Next_Char(face, code, &index)) {
        if (unicode) {
            consider(code);
            continue;
        }
        // A code of a legacy map is reached by the character of its byte and by the code point
        // of the same value; in a symbol map, also from 0xF000 below.
        for (const FT_ULong value :
             {code, symbol && code >= kSymbolArea ? code - kSymbolArea : kLastCodePoint + 1}) {
            if (value < kByteLimit) {
                consider(windows1252ToUnicode(static_cast<std::uint8_t>(value)));
            }
            consider(value);
        }
    }
    if (!std::is_sorted(characters.begin(), characters.end())) {
        std::sort(characters.begin(), characters.end());
    }
    characters.erase(std::unique(characters.begin(), characters.end()), characters.end());
    if (!unicode) {
        std::erase_if(characters, [&](char32_t c) { return glyphIndexFor(face, c) == 0; });
    }
    return characters;
}

}  // namespace vemro
