// The Unicode blocks as ICU gives them, checked against the block ranges Unicode has fixed.

#include "engine/text/unicode_blocks.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace vemro {
namespace {

TEST(UnicodeBlocks, EveryBlockIsListedOnceInCodePointOrderWithItsRange) {
    const std::vector<UnicodeBlock>& blocks = unicodeBlocks();
    std::map<std::string, UnicodeBlock> byName;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_LE(blocks[i].first, blocks[i].last) << blocks[i].name;
        EXPECT_LE(blocks[i].last, 0x10FFFFu) << blocks[i].name;
        if (i > 0) {
            EXPECT_GT(blocks[i].first, blocks[i - 1].last) << blocks[i].name;
        }
        EXPECT_TRUE(byName.emplace(blocks[i].name, blocks[i]).second) << blocks[i].name;
    }
    const std::vector<UnicodeBlock> fixed = {{"Basic Latin", 0x0000, 0x007F},
                                             {"Latin 1 Supplement", 0x0080, 0x00FF},
                                             {"Latin Extended A", 0x0100, 0x017F},
                                             {"Latin Extended B", 0x0180, 0x024F},
                                             {"IPA Extensions", 0x0250, 0x02AF},
                                             {"Greek And Coptic", 0x0370, 0x03FF},
                                             {"Cyrillic", 0x0400, 0x04FF},
                                             {"Cyrillic Supplement", 0x0500, 0x052F},
                                             {"Armenian", 0x0530, 0x058F},
                                             {"Hebrew", 0x0590, 0x05FF},
                                             {"Arabic", 0x0600, 0x06FF},
                                             {"Thai", 0x0E00, 0x0E7F},
                                             {"Georgian", 0x10A0, 0x10FF},
                                             {"Latin Extended Additional", 0x1E00, 0x1EFF},
                                             {"General Punctuation", 0x2000, 0x206F},
                                             {"Currency Symbols", 0x20A0, 0x20CF},
                                             {"Letterlike Symbols", 0x2100, 0x214F},
                                             {"Number Forms", 0x2150, 0x218F},
                                             {"Arrows", 0x2190, 0x21FF},
                                             {"Mathematical Operators", 0x2200, 0x22FF},
                                             {"Box Drawing", 0x2500, 0x257F},
                                             {"Block Elements", 0x2580, 0x259F},
                                             {"Geometric Shapes", 0x25A0, 0x25FF},
                                             {"Miscellaneous Symbols", 0x2600, 0x26FF},
                                             {"Dingbats", 0x2700, 0x27BF},
                                             {"CJK Symbols And Punctuation", 0x3000, 0x303F},
                                             {"Hiragana", 0x3040, 0x309F},
                                             {"Katakana", 0x30A0, 0x30FF},
                                             {"CJK Unified Ideographs", 0x4E00, 0x9FFF},
                                             {"Hangul Syllables", 0xAC00, 0xD7AF},
                                             {"Halfwidth And Fullwidth Forms", 0xFF00, 0xFFEF},
                                             {"Emoticons", 0x1F600, 0x1F64F}};
    for (const UnicodeBlock& block : fixed) {
        const auto found = byName.find(block.name);
        ASSERT_NE(found, byName.end()) << block.name;
        EXPECT_EQ(found->second, block) << block.name;
    }
}

TEST(UnicodeBlocks, CountingTakesBothEndsOfTheBlock) {
    const std::vector<char32_t> characters = {0x20, 0x303F, 0x3040, 0x3041, 0x309F, 0x30A0};
    EXPECT_EQ(countInBlock(characters, {"Hiragana", 0x3040, 0x309F}), 3u);
    EXPECT_EQ(countInBlock(characters, {"Basic Latin", 0x00, 0x7F}), 1u);
    EXPECT_EQ(countInBlock(characters, {"Arrows", 0x2190, 0x21FF}), 0u);
    EXPECT_EQ(countInBlock({}, {"Basic Latin", 0x00, 0x7F}), 0u);
}

}  // namespace
}  // namespace vemro
