// Finding a character in the list by what the user types into the "Find" field.

#include "session/character_find.h"

#include <gtest/gtest.h>

#include <vector>

namespace vemro {
namespace {

TEST(CharacterFind, ByTheCharacterOrItsCodeFromAPlaceGoingRound) {
    const std::vector<char32_t> codes = {U'A', U'b',          U'\u0416', U'\u4E00', U'\u4E8C',
                                         U'z', U'\U0001F600', U'A',      U' '};
    const struct {
        std::u16string query;
        std::size_t from;
        std::optional<std::size_t> found;
    } cases[] = {
        {u"\u0416", 0, 2},
        {u"u+4e8c", 0, 4},
        {u"U+7A", 0, 5},
        {u" 0x4E00\t", 0, 3},
        {u"U+ 4E00", 0, 3},
        {u"1F600", 0, 6},
        {u"\U0001F600", 0, 6},
        // A hex digit is the character first, else its code: b is there, 41 is A.
        {u"b", 0, 1},
        {u"41", 0, 0},
        {u"41", 1, 7},
        {u"A", 8, 0},
        // Spaces around the query do not count; a space alone is no query.
        {u" ", 0, std::nullopt},
        {u"\u3000z\u00A0", 0, 5},
        // Seven digits, a sign, past the last code point, a bare prefix: nothing.
        {u"0004E00", 0, std::nullopt},
        {u"+41", 0, std::nullopt},
        {u"110000", 0, std::nullopt},
        {u"U+", 0, std::nullopt},
        {u"0x", 0, std::nullopt},
        {u"q", 0, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(findCharacter(codes, c.query, c.from), c.found)
            << std::string(c.query.begin(), c.query.end()) << " from " << c.from;
    }
    EXPECT_EQ(findCharacter({}, u"A"), std::nullopt);
}

}  // namespace
}  // namespace vemro
