#include "files/export/line_layout.h"

#include <algorithm>

namespace vemro {

namespace {

std::uint64_t pairKey(std::uint32_t first, std::uint32_t second) {
    return (std::uint64_t{first} << 32) | second;
}

}  // namespace

LineLayout::LineLayout(const FontDescription& font)
    : chars_(font.chars), lineHeight_(font.lineHeight), base_(font.base) {
    index_.reserve(chars_.size());
    for (std::size_t i = 0; i < chars_.size(); ++i) {
        // A descriptor that lists an id twice is read with its first entry.
        index_.try_emplace(chars_[i].id, i);
    }
    kerning_.reserve(font.kernings.size());
    for (const DescribedKerning& pair : font.kernings) {
        kerning_.try_emplace(pairKey(pair.first, pair.second), pair.amount);
    }
}

LaidOutLine LineLayout::layOut(std::u32string_view text) const {
    LaidOutLine line;
    std::int32_t pen = 0;
    const DescribedChar* previous = nullptr;
    for (const char32_t code : text) {
        const auto found = index_.find(static_cast<std::uint32_t>(code));
        if (found == index_.end()) {
            if (std::find(line.missing.begin(), line.missing.end(), code) == line.missing.end()) {
                line.missing.push_back(code);
            }
            previous = nullptr;
            continue;
        }
        const DescribedChar& c = chars_[found->second];
        if (previous != nullptr) {
            const auto kerning = kerning_.find(pairKey(previous->id, c.id));
            if (kerning != kerning_.end()) {
                pen += kerning->second;
            }
        }
        line.chars.push_back(LaidOutChar{.id = c.id,
                                         .pen = pen,
                                         .left = pen + c.xoffset,
                                         .top = c.yoffset,
                                         .page = c.page,
                                         .x = c.x,
                                         .y = c.y,
                                         .width = c.width,
                                         .height = c.height});
        pen += c.xadvance;
        previous = &c;
    }
    line.end = pen;
    return line;
}

}  // namespace vemro
