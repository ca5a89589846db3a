#include "engine/glyph_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace vemro {
namespace {

std::vector<int> codesOf(const GlyphList& list) {
    std::vector<int> codes;
    for (const Glyph& glyph : list) {
        codes.push_back(glyph.code);
    }
    return codes;
}

TEST(GlyphList, AddCharacterKeepsInsertionOrderAndDropsDuplicates) {
    GlyphList list;
    EXPECT_TRUE(list.addCharacter('c'));
    EXPECT_TRUE(list.addCharacter('a'));
    EXPECT_FALSE(list.addCharacter('c'));
    EXPECT_TRUE(list.addCharacter('b'));
    EXPECT_EQ(codesOf(list), (std::vector<int>{'c', 'a', 'b'}));
}

TEST(GlyphList, DuplicateAdditionLeavesPositionAndBordersUnchanged) {
    GlyphList list;
    list.addCharacter('x');
    list.addCharacter('y');
    list.glyphAt(0)->charBorderLeft = 3;
    list.glyphAt(0)->charBorderRight = 5;
    const GlyphList before = list;
    EXPECT_FALSE(list.addCharacter('x'));
    EXPECT_EQ(list, before);
}

TEST(GlyphList, NewGlyphHasZeroBorders) {
    GlyphList list;
    list.addCharacter('q');
    EXPECT_EQ(list.glyphAt(0)->charBorderLeft, 0);
    EXPECT_EQ(list.glyphAt(0)->charBorderRight, 0);
}

TEST(GlyphList, UpperHalfCodesStayUnsigned) {
    GlyphList list;
    list.addCharacter(233);
    list.addCharacter(255);
    list.addCharacter(128);
    EXPECT_EQ(list.glyphAt(0)->code, 233);
    EXPECT_GT(static_cast<int>(list.glyphAt(1)->code), 127);
    // 233 and its signed reading (-23) must not collide with anything else.
    EXPECT_FALSE(list.addCharacter(static_cast<std::uint8_t>(-23)));
    EXPECT_TRUE(list.addCharacter(23));
}

TEST(GlyphList, HoldsAll256Codes) {
    GlyphList list;
    for (int code = 0; code < 256; ++code) {
        EXPECT_TRUE(list.addCharacter(static_cast<std::uint8_t>(code)));
    }
    EXPECT_EQ(list.size(), 256u);
    for (int code = 0; code < 256; ++code) {
        EXPECT_FALSE(list.addCharacter(static_cast<std::uint8_t>(code)));
    }
    EXPECT_EQ(list.size(), 256u);
}

TEST(GlyphList, AppendKeepsDuplicatesWithTheirBorders) {
    GlyphList list;
    Glyph first;
    first.code = 'A';
    first.charBorderLeft = 20;
    Glyph second = first;
    second.charBorderRight = -4;
    list.append(first);
    list.append(second);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].charBorderLeft, 20);
    EXPECT_EQ(list[1].charBorderRight, -4);
}

TEST(GlyphList, GlyphAtPastTheEndDesignatesNoGlyph) {
    GlyphList list;
    EXPECT_EQ(list.glyphAt(0), nullptr);
    list.addCharacter('a');
    EXPECT_NE(list.glyphAt(0), nullptr);
    EXPECT_EQ(list.glyphAt(1), nullptr);
    EXPECT_EQ(list.glyphAt(static_cast<std::size_t>(-1)), nullptr);
}

TEST(GlyphList, ClearEmptiesTheList) {
    GlyphList list;
    list.addCharacter('a');
    list.addCharacter('b');
    list.clearGlyphs();
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(list.addCharacter('a'));
}

}  // namespace
}  // namespace vemro
