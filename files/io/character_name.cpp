#include "files/io/character_name.h"

#include <cstdint>

#include "engine/text/unicode_text.h"

namespace vemro {

std::string codePointName(char32_t code) {
    static const char kDigits[] = "0123456789ABCDEF";
    auto value = static_cast<std::uint32_t>(code);
    std::string hex;
    do {
        hex.insert(hex.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (hex.size() < 4) {
        hex.insert(hex.begin(), 4 - hex.size(), '0');
    }
    return "U+" + hex;
}

std::string characterLabel(char32_t code) {
    if (!isAddableCharacter(code)) {
        return codePointName(code);
    }
    return codePointName(code) + " " + encodeUtf8({code});
}

}  // namespace vemro
