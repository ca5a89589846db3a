#include "files/cli/character_ranges.h"

#include <optional>
#include <unordered_set>

#include "engine/text/unicode_text.h"
#include "files/cli/option_arguments.h"

namespace vemro {

namespace {

constexpr char32_t kLastCode = 0x10FFFF;

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A code as written, or why it is none.
Result<char32_t> parseCode(const std::string& written) {
    using Code = Result<char32_t>;
    const bool hex = written.starts_with("0x") || written.starts_with("0X") ||
                     written.starts_with("U+") || written.starts_with("u+");
    const std::string digits = hex ? written.substr(2) : written;
    const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
    if (digits.empty() || digits.find_first_not_of(allowed) != std::string::npos) {
        return Code::failure("\"" + written +
                             "\" is no character code: give a decimal number, or hexadecimal "
                             "digits after 0x or U+");
    }
    // Leading zeros aside, more than seven digits are past the last code in either base.
    const std::size_t significant = digits.find_first_not_of('0');
    const std::string kept = significant == std::string::npos ? "0" : digits.substr(significant);
    const unsigned long value =
        kept.size() > 7 ? kLastCode + 1ul : std::stoul(kept, nullptr, hex ? 16 : 10);
    if (value > kLastCode) {
        return Code::failure("\"" + written + "\" is past the last character, U+10FFFF");
    }
    return static_cast<char32_t>(value);
}

}  // namespace

Result<std::vector<char32_t>> parseCharacterRanges(const std::string& text) {
    using Codes = Result<std::vector<char32_t>>;
    std::vector<char32_t> codes;
    std::unordered_set<char32_t> seen;
    for (const std::string& part : commaParts(text)) {
        const std::string item = trimmed(part);
        if (item.empty()) {
            return Codes::failure("\"" + text + "\" has an empty item between its commas");
        }
        // The dash of a range follows the first code; a code never holds one.
        const std::size_t dash = item.find('-');
        const Result<char32_t> first = parseCode(trimmed(item.substr(0, dash)));
        if (!first) {
            return Codes::failure(first.message());
        }
        char32_t last = first.value();
        if (dash != std::string::npos) {
            const Result<char32_t> end = parseCode(trimmed(item.substr(dash + 1)));
            if (!end) {
                return Codes::failure(end.message());
            }
            last = end.value();
            if (last < first.value()) {
                return Codes::failure("the range \"" + item +
                                      "\" runs backwards: its first code is above its last");
            }
        }
        for (char32_t code = first.value(); code <= last; ++code) {
            if (isAddableCharacter(code) && seen.insert(code).second) {
                codes.push_back(code);
            }
        }
    }
    return codes;
}

}  // namespace vemro
