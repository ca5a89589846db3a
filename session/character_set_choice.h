#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace vemro {

// What Tools > Add character set takes: the characters picked, ascending (never a control
// character or an unassigned code point); how many characters of the blocks were left out as
// the face lacks them; and the blocks' names (none for every character of the face).
struct CharacterSetChoice {
    std::vector<char32_t> characters;
    std::size_t lacking = 0;
    std::vector<std::string> blocks;
};

// The choice of the blocks (their numbers in unicodeBlocks(), ascending), only what the face has
// of them when onlyFace; or, with every, every character of the face. face: every character the
// face maps, ascending.
CharacterSetChoice chooseCharacterSet(std::span<const char32_t> face,
                                      std::span<const std::size_t> blocks, bool onlyFace,
                                      bool every);

}  // namespace vemro
