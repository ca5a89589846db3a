#include "session/character_set_choice.h"

#include <algorithm>
#include <iterator>

#include "engine/text/unicode_blocks.h"
#include "engine/text/unicode_text.h"

namespace vemro {

CharacterSetChoice chooseCharacterSet(std::span<const char32_t> face,
                                      std::span<const std::size_t> blocks, bool onlyFace,
                                      bool every) {
    CharacterSetChoice chosen;
    if (every) {
        std::copy_if(face.begin(), face.end(), std::back_inserter(chosen.characters),
                     isAddableCharacter);
        return chosen;
    }
    for (const std::size_t index : blocks) {
        const UnicodeBlock& block = unicodeBlocks()[index];
        chosen.blocks.push_back(block.name);
        const std::size_t before = chosen.characters.size();
        if (onlyFace) {
            const auto first = std::lower_bound(face.begin(), face.end(), block.first);
            const auto last = std::upper_bound(first, face.end(), block.last);
            std::copy_if(first, last, std::back_inserter(chosen.characters), isAddableCharacter);
        }
        std::size_t all = 0;
        for (char32_t code = block.first; code <= block.last; ++code) {
            if (isAddableCharacter(code)) {
                ++all;
                if (!onlyFace) {
                    chosen.characters.push_back(code);
                }
            }
        }
        chosen.lacking += all - (chosen.characters.size() - before);
    }
    return chosen;
}

}  // namespace vemro
