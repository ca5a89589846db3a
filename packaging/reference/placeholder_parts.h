#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vemro {

// How the reference reads the arguments the usage writes: words in capitals are placeholders for
// a value of the user's own (FILE, WxH, PROJECT.fnt), words without capitals are typed as they
// are (png8, bmfont-text, -o), "a|b" offers a choice, brackets mark what may be left out.

// The words of a placeholder and the marks between them, in order: "W[,RRGGBB]" gives "W", "[,",
// "RRGGBB", "]". Words are runs of anything but spaces, brackets, '|' and ','.
struct ArgumentPart {
    std::string text;
    bool word = false;
};
std::vector<ArgumentPart> argumentParts(std::string_view placeholder);

// Whether a word of a placeholder is typed as it is: it has no capital letter.
bool isLiteralWord(std::string_view word);

// The extension of the files a placeholder names ("fnt" for "PROJECT.fnt", "toml" for
// "FILE.toml"): what follows the last dot of its first word; nothing when there is none.
std::string fileExtension(std::string_view placeholder);

}  // namespace vemro
