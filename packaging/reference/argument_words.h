#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vemro {

// How the reference reads the arguments the usage writes: words in capitals are placeholders for
// a value of the user's own (FILE, WxH, PROJECT.fnt), words without capitals are typed as they
// are (png8, bmfont-text), "a|b" offers a choice, brackets mark what may be left out, and a
// placeholder that is FILE or PATH, or has an extension, names a file.

// The words of a placeholder and the marks between them, in order: "W[,RRGGBB]" gives "W", "[,",
// "RRGGBB", "]". Words are runs of anything but spaces, brackets, '|' and ','.
struct ArgumentPart {
    std::string text;
    bool word = false;
};
std::vector<ArgumentPart> argumentParts(std::string_view placeholder);

// Whether a word of a placeholder is typed as it is: it has no capital letter.
bool isLiteralWord(std::string_view word);

// The literal choices of "rows|tight": the words without capitals of a placeholder that offers a
// choice; none for any other placeholder.
std::vector<std::string> literalChoices(std::string_view placeholder);

// Whether the placeholder's first word names a file: FILE, PATH, or a name with an extension.
bool namesFile(std::string_view placeholder);

// The extension a file named by the placeholder has ("fnt" for "PROJECT.fnt"), or nothing.
std::string fileExtension(std::string_view placeholder);

}  // namespace vemro
