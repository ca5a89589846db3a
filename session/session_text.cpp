#include "session/session_text.h"

#include <filesystem>

#include "engine/text/unicode_text.h"
#include "files/io/character_name.h"

namespace vemro {

std::string sentence(const std::string& message) {
    std::string text = message;
    if (!text.empty()) {
        if (text.front() >= 'a' && text.front() <= 'z') {
            text.front() = static_cast<char>(text.front() - 'a' + 'A');
        }
        if (text.back() != '.') {
            text.push_back('.');
        }
    }
    return text;
}

std::string countText(std::size_t number) {
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, 1, ',');
    }
    return digits;
}

std::string charactersText(std::size_t number) {
    return number == 1 ? "1 character" : countText(number) + " characters";
}

std::string joinNames(const std::vector<std::string>& names) {
    if (names.size() <= 1) {
        return names.empty() ? std::string() : names.front();
    }
    std::string joined = names.front();
    for (std::size_t i = 1; i + 1 < names.size(); ++i) {
        joined += ", " + names[i];
    }
    return joined + " and " + names.back();
}

std::string shownCharacter(char32_t code) {
    return isVisibleCharacter(code) ? encodeUtf8({code}) : codePointName(code);
}

std::string characterCaption(char32_t code) {
    const std::string number = codePointName(code);
    const bool scalar = code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F) || !scalar) {
        return number;
    }
    switch (code) {
        case 0x20:
            return "space  " + number;
        case 0xA0:
            return "no-break space  " + number;
        case 0xAD:
            return "soft hyphen  " + number;
        default:
            return encodeUtf8({code}) + "  " + number;
    }
}

std::string fileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace vemro
