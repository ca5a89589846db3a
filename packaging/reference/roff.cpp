#include "packaging/reference/roff.h"

#include "packaging/reference/placeholder_parts.h"

namespace vemro {

namespace {

std::string escaped(std::string_view text, bool everyHyphen) {
    std::string out;
    if (!text.empty() && (text.front() == '.' || text.front() == '\'')) {
        out += "\\&";
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-' && (everyHyphen || i == 0 || text[i - 1] == ' ' || text[i - 1] == '-' ||
                                text[i - 1] == '(')) {
            out += "\\-";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string roffText(std::string_view text) {
    return escaped(text, false);
}

std::string roffCode(std::string_view text) {
    return escaped(text, true);
}

std::string roffArguments(std::string_view arguments) {
    std::string out;
    for (const ArgumentPart& part : argumentParts(arguments)) {
        if (!part.word) {
            out += part.text;
        } else {
            // A hyphen is never first here: the marks come before it in its own part.
            out.append(isLiteralWord(part.text) ? "\\fB" : "\\fI").append(roffCode(part.text));
            out.append("\\fR");
        }
    }
    return out;
}

}  // namespace vemro
