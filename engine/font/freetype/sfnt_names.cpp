#include "engine/font/freetype/sfnt_names.h"

#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H

#include <utility>

namespace vemro {

namespace {

// Microsoft language ids whose low ten bits are 0x09 are the English ones; 0x0409 is US English.
constexpr FT_UShort kPrimaryLanguageMask = 0x03FF;
constexpr FT_UShort kEnglish = 0x0009;
constexpr FT_UShort kUsEnglish = 0x0409;

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Microsoft name records hold UTF-16 big-endian text.
std::string utf16BigEndianToUtf8(const FT_Byte* bytes, FT_UInt length) {
    std::string out;
    for (FT_UInt i = 0; i + 1 < length; i += 2) {
        char32_t unit = static_cast<char32_t>((bytes[i] << 8) | bytes[i + 1]);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < length) {
            const char32_t low = static_cast<char32_t>((bytes[i + 2] << 8) | bytes[i + 3]);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (unit >= 0xD800 && unit < 0xE000) {
            unit = 0xFFFD;  // an unpaired surrogate
        }
        appendUtf8(out, unit);
    }
    return out;
}

}  // namespace

std::string englishName(FT_Face face, FT_UInt nameId) {
    std::string name;
    bool haveUsEnglish = false;
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count && !haveUsEnglish; ++i) {
        FT_SfntName record;
        if (FT_Get_Sfnt_Name(face, i, &record) != 0 ||
            record.platform_id != TT_PLATFORM_MICROSOFT || record.name_id != nameId ||
            (record.language_id & kPrimaryLanguageMask) != kEnglish) {
            continue;
        }
        if (record.encoding_id != TT_MS_ID_UNICODE_CS && record.encoding_id != TT_MS_ID_SYMBOL_CS &&
            record.encoding_id != TT_MS_ID_UCS_4) {
            continue;
        }
        std::string decoded = utf16BigEndianToUtf8(record.string, record.string_len);
        if (decoded.empty()) {
            continue;
        }
        if (name.empty() || record.language_id == kUsEnglish) {
            name = std::move(decoded);
            haveUsEnglish = record.language_id == kUsEnglish;
        }
    }
    return name;
}

std::string legacyFamilyName(FT_Face face) {
    return englishName(face, TT_NAME_ID_FONT_FAMILY);
}

std::string familyNameOf(FT_Face face) {
    std::string name = legacyFamilyName(face);
    if (name.empty() && face->family_name != nullptr) {
        name = face->family_name;
    }
    return name;
}

}  // namespace vemro
