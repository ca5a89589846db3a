#include "engine/project/glyph_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace vemro {
namespace {

std::vector<char32_t> codesOf(const GlyphList& list) {
    std::vector<char32_t> codes;
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
    EXPECT_EQ(codesOf(list), (std::vector<char32_t>{'c', 'a', 'b'}));
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

TEST(GlyphList, CodesBeyondOneByteAreTheirOwnCharacters) {
    GlyphList list;
    EXPECT_TRUE(list.addCharacter(0x1F600));
    EXPECT_TRUE(list.addCharacter(0x100));
    EXPECT_TRUE(list.addCharacter(0x00));  // 0x100 cut to a byte
    EXPECT_TRUE(list.addCharacter(0x20AC));
    EXPECT_TRUE(list.addCharacter(0x80));  // where Windows-1252 keeps the euro sign
    EXPECT_FALSE(list.addCharacter(0x1F600));
    EXPECT_FALSE(list.contains(0x10FFFF));
    EXPECT_EQ(codesOf(list), (std::vector<char32_t>{0x1F600, 0x100, 0x00, 0x20AC, 0x80}));
}

TEST(GlyphList, AppendKeepsDuplicatesWithTheirBorders) {
    GlyphList list;
    Glyph first{'A', 20, 0};
    Glyph second{'A', 20, -4};
    list.append(first);
    list.append(second);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].charBorderLeft, 20);
    EXPECT_EQ(list[1].charBorderRight, -4);
    EXPECT_FALSE(list.addCharacter('A'));
}

TEST(GlyphList, RemoveCharacterTakesEveryCopyAndKeepsTheOrderOfTheRest) {
    GlyphList list;
    list.append(Glyph{'a'});
    list.append(Glyph{'b', 1, 2});
    list.append(Glyph{'a'});
    list.append(Glyph{'c'});
    EXPECT_EQ(list.removeCharacter('a'), 2u);
    EXPECT_FALSE(list.contains('a'));
    EXPECT_EQ(codesOf(list), (std::vector<char32_t>{'b', 'c'}));
    EXPECT_EQ(list[0], (Glyph{'b', 1, 2}));
    EXPECT_EQ(list.removeCharacter('a'), 0u);
    EXPECT_EQ(list.removeCharacter('z'), 0u);
    EXPECT_EQ(list.size(), 2u);
    EXPECT_TRUE(list.addCharacter('a'));
    EXPECT_EQ(codesOf(list), (std::vector<char32_t>{'b', 'c', 'a'}));
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
    EXPECT_FALSE(list.contains('b'));
    EXPECT_TRUE(list.addCharacter('a'));
}

}  // namespace
}  // namespace vemro
