#include "engine/text/windows1252.h"

#include <gtest/gtest.h>

#include <set>

namespace vemro {
namespace {

TEST(Windows1252Test, BytesOutsideTheSpecialRangeKeepTheirValue) {
    for (int code = 0; code < 256; ++code) {
        if (code >= 0x80 && code <= 0x9F) {
            continue;
        }
        EXPECT_EQ(windows1252ToUnicode(static_cast<std::uint8_t>(code)),
                  static_cast<char32_t>(code));
    }
}

TEST(Windows1252Test, SpecialRangeFollowsTheCodePage) {
    EXPECT_EQ(windows1252ToUnicode(0x80), U'\u20AC');  // euro sign
    EXPECT_EQ(windows1252ToUnicode(0x82), U'\u201A');  // single low quotation mark
    EXPECT_EQ(windows1252ToUnicode(0x8A), U'\u0160');  // S with caron
    EXPECT_EQ(windows1252ToUnicode(0x8C), U'\u0152');  // OE ligature
    EXPECT_EQ(windows1252ToUnicode(0x96), U'\u2013');  // en dash
    EXPECT_EQ(windows1252ToUnicode(0x99), U'\u2122');  // trade mark
    EXPECT_EQ(windows1252ToUnicode(0x9F), U'\u0178');  // Y with diaeresis

    // The five undefined bytes stand for the C1 controls of the same value; every other byte of
    // the range is a printable character above U+00FF.
    const std::set<int> undefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    for (int code = 0x80; code <= 0x9F; ++code) {
        const char32_t mapped = windows1252ToUnicode(static_cast<std::uint8_t>(code));
        if (undefined.count(code) != 0) {
            EXPECT_EQ(mapped, static_cast<char32_t>(code));
        } else {
            EXPECT_GT(mapped, U'\u00FF') << "byte " << code;
        }
    }
}

TEST(Windows1252Test, EveryByteRoundTrips) {
    for (int code = 0; code < 256; ++code) {
        const auto byte = static_cast<std::uint8_t>(code);
        const std::optional<std::uint8_t> back = unicodeToWindows1252(windows1252ToUnicode(byte));
        ASSERT_TRUE(back.has_value()) << "byte " << code;
        EXPECT_EQ(*back, byte);
    }
}

TEST(Windows1252Test, CharactersOutsideTheCodePageHaveNoByte) {
    // C1 controls that the code page replaced with printable characters.
    EXPECT_FALSE(unicodeToWindows1252(U'\u0080').has_value());
    EXPECT_FALSE(unicodeToWindows1252(U'\u009F').has_value());
    EXPECT_FALSE(unicodeToWindows1252(U'\u0100').has_value());
    EXPECT_FALSE(unicodeToWindows1252(U'\u20AD').has_value());
    EXPECT_FALSE(unicodeToWindows1252(U'\u4E00').has_value());
    EXPECT_FALSE(unicodeToWindows1252(U'\U0010FFFF').has_value());
    EXPECT_FALSE(unicodeToWindows1252(0x110000).has_value());
}

}  // namespace
}  // namespace vemro
