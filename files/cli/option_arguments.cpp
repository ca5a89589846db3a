#include "files/cli/option_arguments.h"

#include <algorithm>

#include "files/project/project_file.h"

namespace vemro {

std::optional<std::int32_t> wholeNumber(const std::string& text, std::int32_t low,
                                        std::int32_t high) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const std::int32_t value = std::stoi(text);
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> signedNumber(const std::string& text, std::int32_t low,
                                         std::int32_t high) {
    const bool negative = text.starts_with("-");
    const std::optional<std::int32_t> size =
        wholeNumber(negative ? text.substr(1) : text, 0, std::max(-low, high));
    if (!size) {
        return std::nullopt;
    }
    const std::int32_t value = negative ? -*size : *size;
    return value >= low && value <= high ? std::optional(value) : std::nullopt;
}

std::optional<std::vector<std::uint8_t>> hexBytes(const std::string& text, std::size_t count) {
    if (text.size() != 2 * count ||
        text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < count; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(2 * i, 2), nullptr, 16)));
    }
    return bytes;
}

std::optional<Rgb> colourNamed(const std::string& text) {
    const auto bytes = hexBytes(text, 3);
    return bytes ? std::optional(Rgb{(*bytes)[0], (*bytes)[1], (*bytes)[2]}) : std::nullopt;
}

std::vector<std::string> commaParts(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos;
         start = comma + 1) {
        parts.push_back(text.substr(start, comma - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

Status addCharacters(const std::vector<char32_t>& characters, const std::string& source,
                     Document& document) {
    std::size_t total = document.project.glyphs.size();
    for (const char32_t code : characters) {
        total += document.project.glyphs.contains(code) ? 0 : 1;
    }
    if (total > static_cast<std::size_t>(kMaxProjectCharacters)) {
        return Status::failure("with " + source + " the project would hold " +
                               std::to_string(total) + " characters, above the limit of " +
                               std::to_string(kMaxProjectCharacters));
    }
    for (const char32_t code : characters) {
        document.project.glyphs.addCharacter(code);
    }
    return Status::success();
}

}  // namespace vemro
