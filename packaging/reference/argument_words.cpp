#include "packaging/reference/argument_words.h"

#include <algorithm>

namespace vemro {

namespace {

bool isMark(char c) {
    return c == ' ' || c == '[' || c == ']' || c == '|' || c == ',';
}

std::string firstWord(std::string_view placeholder) {
    for (const ArgumentPart& part : argumentParts(placeholder)) {
        if (part.word) {
            return part.text;
        }
    }
    return {};
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

std::vector<std::string> literalChoices(std::string_view placeholder) {
    std::vector<std::string> choices;
    if (placeholder.find('|') == std::string_view::npos) {
        return choices;
    }
    for (const ArgumentPart& part : argumentParts(placeholder)) {
        if (part.word && isLiteralWord(part.text)) {
            choices.push_back(part.text);
        }
    }
    return choices;
}

bool namesFile(std::string_view placeholder) {
    const std::string word = firstWord(placeholder);
    return word == "FILE" || word == "PATH" || !fileExtension(placeholder).empty();
}

std::string fileExtension(std::string_view placeholder) {
    const std::string word = firstWord(placeholder);
    const std::size_t dot = word.rfind('.');
    return dot == std::string::npos ? std::string() : word.substr(dot + 1);
}

}  // namespace vemro
