#include "session/character_find.h"

#include <algorithm>
#include <vector>

#include "engine/text/unicode_text.h"

namespace vemro {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

// Unicode's White_Space characters.
bool isWhiteSpace(char32_t code) {
    return (code >= 0x09 && code <= 0x0D) || code == 0x20 || code == 0x85 || code == 0xA0 ||
           code == 0x1680 || (code >= 0x2000 && code <= 0x200A) || code == 0x2028 ||
           code == 0x2029 || code == 0x202F || code == 0x205F || code == 0x3000;
}

int hexDigit(char32_t code) {
    if (code >= '0' && code <= '9') {
        return static_cast<int>(code - '0');
    }
    const char32_t lower = code | 0x20;
    return lower >= 'a' && lower <= 'f' ? static_cast<int>(lower - 'a' + 10) : -1;
}

// The code bare hex digits give, an optional 0x first: nothing for anything else.
std::optional<char32_t> codeOf(std::span<const char32_t> digits) {
    while (!digits.empty() && isWhiteSpace(digits.front())) {
        digits = digits.subspan(1);
    }
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] | 0x20) == 'x' &&
        hexDigit(digits[2]) >= 0) {
        digits = digits.subspan(2);
    }
    std::uint64_t code = 0;
    for (const char32_t digit : digits) {
        if (hexDigit(digit) < 0) {
            return std::nullopt;
        }
        code = code * 16 + static_cast<std::uint64_t>(hexDigit(digit));
    }
    if (digits.empty() || code > kLastCodePoint) {
        return std::nullopt;
    }
    return static_cast<char32_t>(code);
}

// The characters a query can mean, the likelier first: the one character typed, then the code
// its hex digits give.
std::vector<char32_t> charactersNamedBy(std::u16string_view query) {
    std::vector<char32_t> text = joinUtf16(query);
    const auto space = [](char32_t code) { return isWhiteSpace(code); };
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), space));
    text.erase(std::find_if_not(text.rbegin(), text.rend(), space).base(), text.end());
    std::vector<char32_t> named;
    if (text.size() == 1) {
        named.push_back(text.front());
    }
    std::span<const char32_t> digits(text);
    if (digits.size() >= 2 && (digits[0] | 0x20) == 'u' && digits[1] == '+') {
        digits = digits.subspan(2);
    }
    const auto units =
        std::count_if(digits.begin(), digits.end(), [](char32_t code) { return code > 0xFFFF; }) +
        static_cast<std::ptrdiff_t>(digits.size());
    const std::optional<char32_t> code = units <= 6 ? codeOf(digits) : std::nullopt;
    if (code && (named.empty() || named.front() != *code)) {
        named.push_back(*code);
    }
    return named;
}

}  // namespace

std::optional<std::size_t> findCharacter(std::span<const char32_t> codes, std::u16string_view query,
                                         std::size_t from) {
    if (codes.empty()) {
        return std::nullopt;
    }
    from = std::min(from, codes.size() - 1);
    for (const char32_t wanted : charactersNamedBy(query)) {
        for (std::size_t step = 0; step < codes.size(); ++step) {
            const std::size_t at = (from + step) % codes.size();
            if (codes[at] == wanted) {
                return at;
            }
        }
    }
    return std::nullopt;
}

}  // namespace vemro
