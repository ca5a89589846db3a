#include "engine/text/unicode_blocks.h"

#include <unicode/uchar.h>

#include <algorithm>

namespace vemro {

namespace {

constexpr UChar32 kLastCodePoint = 0x10FFFF;
constexpr UChar32 kBlockAlignment = 16;

// ICU's long block name with its underscores shown as spaces ("Latin_Extended_A" becomes
// "Latin Extended A"); ICU has no other spelling of the names.
std::string blockName(std::int32_t value) {
    const char* name = u_getPropertyValueName(UCHAR_BLOCK, value, U_LONG_PROPERTY_NAME);
    std::string shown = name != nullptr ? name : "";
    std::replace(shown.begin(), shown.end(), '_', ' ');
    return shown;
}

// Blocks start at a multiple of 16 and hold a multiple of 16 code points, so the block of every
// 16th code point finds them all; asking ICU for the whole map of the property would build it for
// every code point first, ten times the work.
std::vector<UnicodeBlock> readBlocks() {
    std::vector<UnicodeBlock> blocks;
    for (UChar32 start = 0; start <= kLastCodePoint;) {
        const UBlockCode code = ublock_getCode(start);
        UChar32 end = start + kBlockAlignment;
        while (end <= kLastCodePoint && ublock_getCode(end) == code) {
            end += kBlockAlignment;
        }
        if (code != UBLOCK_NO_BLOCK) {
            blocks.push_back(UnicodeBlock{blockName(code), static_cast<char32_t>(start),
                                          static_cast<char32_t>(end - 1)});
        }
        start = end;
    }
    return blocks;
}

}  // namespace

const std::vector<UnicodeBlock>& unicodeBlocks() {
    static const std::vector<UnicodeBlock> blocks = readBlocks();
    return blocks;
}

std::size_t countInBlock(std::span<const char32_t> ascending, const UnicodeBlock& block) {
    const auto first = std::lower_bound(ascending.begin(), ascending.end(), block.first);
    const auto last = std::upper_bound(first, ascending.end(), block.last);
    return static_cast<std::size_t>(last - first);
}

}  // namespace vemro
