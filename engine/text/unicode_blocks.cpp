#include "engine/text/unicode_blocks.h"

#include <unicode/uchar.h>
#include <unicode/ucpmap.h>

#include <algorithm>

namespace vemro {

namespace {

constexpr UChar32 kLastCodePoint = 0x10FFFF;

// ICU's long block name with its underscores shown as spaces ("Latin_Extended_A" becomes
// "Latin Extended A"); ICU has no other spelling of the names.
std::string blockName(std::int32_t value) {
    const char* name = u_getPropertyValueName(UCHAR_BLOCK, value, U_LONG_PROPERTY_NAME);
    std::string shown = name != nullptr ? name : "";
    std::replace(shown.begin(), shown.end(), '_', ' ');
    return shown;
}

std::vector<UnicodeBlock> readBlocks() {
    std::vector<UnicodeBlock> blocks;
    UErrorCode status = U_ZERO_ERROR;
    const UCPMap* map = u_getIntPropertyMap(UCHAR_BLOCK, &status);
    if (U_FAILURE(status) || map == nullptr) {
        return blocks;
    }
    UChar32 start = 0;
    while (start <= kLastCodePoint) {
        uint32_t value = 0;
        const UChar32 end =
            ucpmap_getRange(map, start, UCPMAP_RANGE_NORMAL, 0, nullptr, nullptr, &value);
        if (end < start) {
            break;
        }
        if (value != UBLOCK_NO_BLOCK) {
            blocks.push_back(UnicodeBlock{blockName(static_cast<std::int32_t>(value)),
                                          static_cast<char32_t>(start),
                                          static_cast<char32_t>(end)});
        }
        start = end + 1;
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
