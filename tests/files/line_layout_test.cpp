#include "files/export/line_layout.h"

#include <gtest/gtest.h>

namespace vemro {
namespace {

DescribedChar described(char32_t id, std::int32_t x, std::int32_t xoffset, std::int32_t xadvance,
                        std::int32_t page = 0) {
    return DescribedChar{.id = static_cast<std::uint32_t>(id),
                         .x = x,
                         .y = 3,
                         .width = 7,
                         .height = 12,
                         .xoffset = xoffset,
                         .yoffset = -2,
                         .xadvance = xadvance,
                         .page = page};
}

TEST(LineLayout, PenMovesByAdvanceAndKerningAndSkipsMissingCharacters) {
    FontDescription font;
    font.lineHeight = 14;
    font.base = 11;
    font.chars = {described(U'A', 0, -1, 10), described(U'V', 20, 2, 9, 1),
                  described(U' ', 40, 0, 4)};
    font.kernings = {{'A', 'V', -2}, {'V', 'A', -3}, {'A', 'A', 5}};
    const LineLayout layout(font);
    EXPECT_EQ(layout.lineHeight(), 14);
    EXPECT_EQ(layout.base(), 11);

    // A at 0. V: 0 + 10 - 2 = 8, drawn at 10. A: 8 + 9 - 3 = 14, drawn at 13. Then "x" is
    // missing, so the A after it does not kern with the A before it: 14 + 10 = 24. "é" is missing
    // and listed once with "x". Space: 24 + 10 = 34; end 34 + 4 = 38.
    const LaidOutLine line = layout.layOut(U"AVAxA\u00E9 x");
    ASSERT_EQ(line.chars.size(), 5u);
    const std::int32_t pens[] = {0, 8, 14, 24, 34};
    const std::int32_t lefts[] = {-1, 10, 13, 23, 34};
    for (std::size_t i = 0; i < line.chars.size(); ++i) {
        EXPECT_EQ(line.chars[i].pen, pens[i]) << i;
        EXPECT_EQ(line.chars[i].left, lefts[i]) << i;
        EXPECT_EQ(line.chars[i].top, -2) << i;
    }
    EXPECT_EQ(line.end, 38);
    EXPECT_EQ(line.missing, (std::vector<char32_t>{U'x', U'\u00E9'}));
    // Each drawn character carries its rectangle and page.
    EXPECT_EQ(line.chars[1].x, 20);
    EXPECT_EQ(line.chars[1].page, 1);
    EXPECT_EQ(line.chars[1].height, 12);

    // Nothing to draw: an empty text, and a description without characters.
    EXPECT_TRUE(layout.layOut(U"").chars.empty());
    const LaidOutLine empty = LineLayout(FontDescription{}).layOut(U"AV");
    EXPECT_TRUE(empty.chars.empty());
    EXPECT_EQ(empty.end, 0);
    EXPECT_EQ(empty.missing, (std::vector<char32_t>{U'A', U'V'}));
}

}  // namespace
}  // namespace vemro
