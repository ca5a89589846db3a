#pragma once

#include <span>
#include <string>
#include <vector>

namespace vemro {

// A Unicode block as ICU knows it: its English name, ICU's long name with spaces for the
// underscores ("Latin Extended A", "Greek And Coptic"), and its range.
struct UnicodeBlock {
    std::string name;
    char32_t first = 0;
    char32_t last = 0;

    friend bool operator==(const UnicodeBlock&, const UnicodeBlock&) = default;
};

// Every block Unicode defines, in code point order (from ICU's character database).
const std::vector<UnicodeBlock>& unicodeBlocks();

// How many of the ascending characters lie in the block.
std::size_t countInBlock(std::span<const char32_t> ascending, const UnicodeBlock& block);

}  // namespace vemro
