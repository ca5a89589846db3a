#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "files/export/font_description.h"

namespace vemro {

// One character of a laid-out line, in atlas pixels: x counted from the pen's first position,
// y from the line's top.
struct LaidOutChar {
    std::uint32_t id = 0;
    // The pen's x for this character, the kerning with the character before already added.
    std::int32_t pen = 0;
    // Where the character's rectangle is drawn: pen + xoffset, yoffset.
    std::int32_t left = 0;
    std::int32_t top = 0;
    // The rectangle on its page.
    std::int32_t page = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const LaidOutChar&, const LaidOutChar&) = default;
};

struct LaidOutLine {
    // The characters drawn, in the order of the text.
    std::vector<LaidOutChar> chars;
    // The pen after the last character drawn.
    std::int32_t end = 0;
    // The characters of the text that the description lacks, each once, in order of appearance.
    std::vector<char32_t> missing;
};

// Lays out a line of text from a BMFont description the way game engines read the descriptor:
// the pen starts at 0; before a character is drawn the kerning amount for it and the character
// just before it is added; its rectangle is drawn at pen + xoffset and line top + yoffset; then
// the pen moves on by its xadvance. A character the description lacks is skipped: it is not
// drawn, does not move the pen, and no kerning reaches across it.
class LineLayout {
public:
    LineLayout() = default;
    // Keeps what it needs of the description, which need not outlive the layout.
    explicit LineLayout(const FontDescription& font);

    LaidOutLine layOut(std::u32string_view text) const;

    // The line's height and the baseline's distance from the line's top (lineHeight and base).
    std::int32_t lineHeight() const { return lineHeight_; }
    std::int32_t base() const { return base_; }

private:
    std::vector<DescribedChar> chars_;
    std::unordered_map<std::uint32_t, std::size_t> index_;
    // Kerning amounts by first and second id (first in the high 32 bits).
    std::unordered_map<std::uint64_t, std::int32_t> kerning_;
    std::int32_t lineHeight_ = 0;
    std::int32_t base_ = 0;
};

}  // namespace vemro
