#include "engine/text/unicode_text.h"

#include <unicode/uchar.h>

#include <unordered_set>

namespace vemro {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kFirstHighSurrogate = 0xD800;
constexpr char32_t kFirstLowSurrogate = 0xDC00;
constexpr char32_t kLastSurrogate = 0xDFFF;
constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t unit) {
    return unit >= kFirstHighSurrogate && unit < kFirstLowSurrogate;
}

bool isLowSurrogate(char32_t unit) {
    return unit >= kFirstLowSurrogate && unit <= kLastSurrogate;
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// One decoded UTF-8 sequence: its code point and length, or what is wrong with it.
struct Decoded {
    char32_t code = 0;
    std::size_t length = 0;
    const char* problem = nullptr;
};

Decoded decodeOne(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {lead, 1};
    }
    if (isContinuation(lead)) {
        return {0, 0, "a continuation byte without a lead byte"};
    }
    std::size_t length = 0;
    char32_t code = 0;
    if (lead >= 0xC0 && lead < 0xE0) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead < 0xF8) {
        length = 4;
        code = lead & 0x07;
    } else {
        return {0, 0, "a byte that never occurs in UTF-8"};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (at + i >= bytes.size() || !isContinuation(byte(i))) {
            return {0, 0, "a character cut short"};
        }
        code = (code << 6) | (byte(i) & 0x3F);
    }
    constexpr char32_t kSmallestOfLength[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallestOfLength[length]) {
        return {0, 0, "an overlong form"};
    }
    if (code > kLastCodePoint) {
        return {0, 0, "a value past U+10FFFF"};
    }
    if (code >= kFirstHighSurrogate && code <= kLastSurrogate) {
        return {0, 0, "a surrogate"};
    }
    return {code, length};
}

}  // namespace

bool isAddableCharacter(char32_t code) {
    if (code > kLastCodePoint) {
        return false;
    }
    const auto type = static_cast<UCharCategory>(u_charType(static_cast<UChar32>(code)));
    return type != U_UNASSIGNED && type != U_CONTROL_CHAR && type != U_SURROGATE &&
           type != U_LINE_SEPARATOR && type != U_PARAGRAPH_SEPARATOR;
}

bool isVisibleCharacter(char32_t code) {
    if (!isAddableCharacter(code)) {
        return false;
    }
    const auto type = static_cast<UCharCategory>(u_charType(static_cast<UChar32>(code)));
    return type != U_SPACE_SEPARATOR && type != U_FORMAT_CHAR && type != U_PRIVATE_USE_CHAR;
}

std::vector<char32_t> joinUtf16(std::u16string_view text) {
    std::vector<char32_t> codes;
    codes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            codes.push_back(0x10000 + ((unit - kFirstHighSurrogate) << 10) +
                            (text[i + 1] - kFirstLowSurrogate));
            ++i;
        } else if (!isHighSurrogate(unit) && !isLowSurrogate(unit)) {
            codes.push_back(unit);
        }
    }
    return codes;
}

Result<std::vector<char32_t>> decodeUtf8(std::string_view bytes) {
    std::vector<char32_t> codes;
    codes.reserve(bytes.size());
    std::size_t at = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (at < bytes.size()) {
        const Decoded decoded = decodeOne(bytes, at);
        if (decoded.problem != nullptr) {
            // The offset is that of the first byte of the sequence that is not UTF-8.
            return Result<std::vector<char32_t>>::failure("invalid UTF-8 at byte " +
                                                          std::to_string(at) +
                                                          " (counted from 0): " + decoded.problem);
        }
        codes.push_back(decoded.code);
        at += decoded.length;
    }
    return codes;
}

std::string encodeUtf8(const std::vector<char32_t>& codes) {
    std::string bytes;
    bytes.reserve(codes.size());
    for (char32_t code : codes) {
        if (code > kLastCodePoint || (code >= kFirstHighSurrogate && code <= kLastSurrogate)) {
            code = kReplacement;
        }
        if (code < 0x80) {
            bytes += static_cast<char>(code);
        } else if (code < 0x800) {
            bytes += static_cast<char>(0xC0 | (code >> 6));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            bytes += static_cast<char>(0xE0 | (code >> 12));
            bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | (code >> 18));
            bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return bytes;
}

std::vector<char32_t> distinctAddableCharacters(const std::vector<char32_t>& codes) {
    std::vector<char32_t> distinct;
    std::unordered_set<char32_t> seen;
    for (const char32_t code : codes) {
        if (isAddableCharacter(code) && seen.insert(code).second) {
            distinct.push_back(code);
        }
    }
    return distinct;
}

}  // namespace vemro
