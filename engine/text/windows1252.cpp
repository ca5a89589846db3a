#include "engine/text/windows1252.h"

#include <array>
#include <cstddef>

namespace vemro {

namespace {

// The only bytes where Windows-1252 differs from ISO 8859-1: 0x80..0x9F. The five bytes the code
// page leaves undefined keep the C1 control point of their own value.
constexpr std::uint8_t kFirstSpecial = 0x80;
constexpr std::array<char32_t, 32> kSpecialCodePoints = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80..0x87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88..0x8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90..0x97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98..0x9F
};

bool isSpecialByte(char32_t value) {
    return value >= kFirstSpecial && value < kFirstSpecial + kSpecialCodePoints.size();
}

}  // namespace

char32_t windows1252ToUnicode(std::uint8_t code) {
    if (isSpecialByte(code)) {
        return kSpecialCodePoints[code - kFirstSpecial];
    }
    return code;
}

std::optional<std::uint8_t> unicodeToWindows1252(char32_t codePoint) {
    if (codePoint <= 0xFF && !isSpecialByte(codePoint)) {
        return static_cast<std::uint8_t>(codePoint);
    }
    for (std::size_t i = 0; i < kSpecialCodePoints.size(); ++i) {
        if (kSpecialCodePoints[i] == codePoint) {
            return static_cast<std::uint8_t>(kFirstSpecial + i);
        }
    }
    return std::nullopt;
}

}  // namespace vemro
