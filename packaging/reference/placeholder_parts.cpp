#include "packaging/reference/placeholder_parts.h"

#include <algorithm>

namespace vemro {

namespace {

bool isMark(char c) {
    return c == ' ' || c == '[' || c == ']' || c == '|' || c == ',';
}

}  // namespace

std::vector<ArgumentPart> argumentParts(std::string_view placeholder) {
    std::vector<ArgumentPart> parts;
    for (const char c : placeholder) {
        const bool word = !isMark(c);
        if (parts.empty() || parts.back().word != word) {
            parts.push_back(ArgumentPart{std::string(), word});
        }
        parts.back().text += c;
    }
    return parts;
}

bool isLiteralWord(std::string_view word) {
    return std::none_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

std::string fileExtension(std::string_view placeholder) {
    for (const ArgumentPart& part : argumentParts(placeholder)) {
        if (part.word) {
            const std::size_t dot = part.text.rfind('.');
            return dot == std::string::npos ? std::string() : part.text.substr(dot + 1);
        }
    }
    return {};
}

}  // namespace vemro
