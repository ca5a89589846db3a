#include "files/cli/character_options.h"

#include <algorithm>
#include <vector>

#include "engine/text/unicode_blocks.h"
#include "engine/text/unicode_text.h"
#include "engine/text/windows1252.h"
#include "files/cli/character_ranges.h"
#include "files/cli/option_arguments.h"
#include "files/io/character_file.h"

namespace vemro {

namespace {

// A block name with case, spaces, underscores and hyphens left out, so that "latin-extended-a",
// "Latin_Extended_A" and "Latin Extended A" are the same.
std::string foldedName(const std::string& name) {
    std::string folded;
    for (const char c : name) {
        if (c != ' ' && c != '_' && c != '-') {
            folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        }
    }
    return folded;
}

}  // namespace

// --chars RANGES: "32-126,0x400-0x4FF,U+3000-U+30FF".
Status addCharacterRanges(const std::string& argument, Document& document, FontRenderer&) {
    const Result<std::vector<char32_t>> characters = parseCharacterRanges(argument);
    if (!characters) {
        return Status::failure(characters.message());
    }
    return addCharacters(characters.value(), "the characters \"" + argument + "\"", document);
}

// --chars-from FILE: the characters of a UTF-8 text file.
Status addCharactersFrom(const std::string& argument, Document& document, FontRenderer&) {
    const Result<std::vector<char32_t>> characters = readCharacterFile(argument);
    if (!characters) {
        return Status::failure(characters.message());
    }
    return addCharacters(characters.value(), "the characters of \"" + argument + "\"", document);
}

// --charset classic|BLOCK-NAME: codes 32..255 of Windows-1252, or the characters of a Unicode
// block as ICU names it.
Status addCharset(const std::string& argument, Document& document, FontRenderer&) {
    std::vector<char32_t> characters;
    if (argument == kClassicCharset) {
        for (int code = 32; code <= 255; ++code) {
            characters.push_back(windows1252ToUnicode(static_cast<std::uint8_t>(code)));
        }
        return addCharacters(characters, "the classic charset", document);
    }
    const std::vector<UnicodeBlock>& blocks = unicodeBlocks();
    const auto block = std::find_if(blocks.begin(), blocks.end(), [&](const UnicodeBlock& b) {
        return foldedName(b.name) == foldedName(argument);
    });
    if (block == blocks.end() || foldedName(argument).empty()) {
        return Status::failure("\"" + argument +
                               "\" is no character set: give classic or the name of a Unicode "
                               "block, such as \"Cyrillic\" or \"Latin Extended A\"");
    }
    for (char32_t code = block->first; code <= block->last; ++code) {
        if (isAddableCharacter(code)) {
            characters.push_back(code);
        }
    }
    return addCharacters(characters, "the block \"" + block->name + "\"", document);
}

}  // namespace vemro
