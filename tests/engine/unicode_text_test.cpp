// Text to characters: UTF-16 joined, UTF-8 decoded or refused, and which characters may join a
// set.

#include "engine/text/unicode_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vemro {
namespace {

using Codes = std::vector<char32_t>;

TEST(UnicodeText, Utf16PairsAreJoinedAndUnpairedSurrogatesLeftOut) {
    EXPECT_EQ(joinUtf16(u"a\U0001F600b\U0010FFFF"), (Codes{U'a', 0x1F600, U'b', 0x10FFFF}));
    // A low surrogate first, a high one last, a high one before a character that is not a low
    // one, and a low one before a high one.
    const std::u16string broken = {0xDC00, u'x', 0xD83D, u'y', 0xDE00, 0xD83D, 0xD800};
    EXPECT_EQ(joinUtf16(broken), (Codes{U'x', U'y'}));
    EXPECT_EQ(joinUtf16(std::u16string{0xD83D, 0xDE00, 0xD83D}), (Codes{0x1F600}));
}

TEST(UnicodeText, Utf8IsDecodedWithTheBomSkippedOnlyAtTheStart) {
    const std::string text =
        "\xEF\xBB\xBF"
        "A\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"
        "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\xEF\xBB\xBF";
    const Codes codes{U'A', 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x10FFFF, 0xFEFF};
    const Result<Codes> decoded = decodeUtf8(text);
    ASSERT_TRUE(decoded.ok()) << decoded.message();
    EXPECT_EQ(decoded.value(), codes);
    EXPECT_EQ(encodeUtf8(codes), text.substr(3));
    EXPECT_TRUE(decodeUtf8("").value().empty());
}

TEST(UnicodeText, InvalidUtf8IsRefusedAtTheOffsetOfTheSequenceThatBreaks) {
    const struct {
        std::string bytes;
        std::size_t offset;
        const char* problem;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "ab\x80",
         5, "a continuation byte without a lead byte"},
        {"a\xC3", 1, "a character cut short"},
        {"a\xE3\x81z", 1, "a character cut short"},
        {"x\xC0\x80", 1, "an overlong form"},
        {"x\xE0\x9F\xBF", 1, "an overlong form"},
        {"x\xF0\x8F\xBF\xBF", 1, "an overlong form"},
        {"ok\xED\xA0\x80", 2, "a surrogate"},
        {"\xF4\x90\x80\x80", 0, "a value past U+10FFFF"},
        {"ab\xF8\x88\x80\x80\x80", 2, "a byte that never occurs in UTF-8"},
    };
    for (const auto& c : cases) {
        const Result<Codes> decoded = decodeUtf8(c.bytes);
        ASSERT_FALSE(decoded.ok()) << c.problem;
        EXPECT_EQ(decoded.message(), "invalid UTF-8 at byte " + std::to_string(c.offset) +
                                         " (counted from 0): " + c.problem);
    }
}

TEST(UnicodeText, OnlyAssignedCharactersThatAreNotControlsCanBeAdded) {
    for (const char32_t code : {0x20, 0x7E, 0xA0, 0xFF, 0x20AC, 0x4E00, 0x1F600, 0xE000}) {
        EXPECT_TRUE(isAddableCharacter(code)) << std::hex << std::uint32_t{code};
    }
    // Controls, the line and paragraph separators, a surrogate, unassigned points (one
    // noncharacter) and values past Unicode.
    for (const char32_t code : {0x00, 0x1F, 0x7F, 0x80, 0x9F, 0x2028, 0x2029, 0xD800, 0xDFFF,
                                0x0378, 0xFFFF, 0x10FFFF, 0x110000}) {
        EXPECT_FALSE(isAddableCharacter(code)) << std::hex << std::uint32_t{code};
    }
    const Codes typed{U'b', U'\n', U'a', 0x1F600, U'b', 0x9F, U'a', 0x0378, 0x1F600, U'c'};
    EXPECT_EQ(distinctAddableCharacters(typed), (Codes{U'b', U'a', 0x1F600, U'c'}));
}

}  // namespace
}  // namespace vemro
