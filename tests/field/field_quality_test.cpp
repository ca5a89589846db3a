// The four kinds of field of real glyphs and of overlapping shapes against oracles: the true
// distance and the inside by brute force over the outline cut into pieces of 1/16 pixel, and the
// shape each field gives magnified against FreeType's own coverage of the glyph.

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/field/field_check.h"

namespace vemro::field::test {
namespace {

std::string codeName(char32_t code) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
    return name;
}

void expectFieldsHold(const FieldFigures& figures) {
    std::printf("%s", figures.summary().c_str());
    EXPECT_LE(figures.worstDistanceError, 1.0 / 16) << figures.worstDistanceGlyph;
    EXPECT_EQ(figures.wrongSides, 0) << "first in " << figures.firstWrongSide;
    for (std::size_t k = 0; k < kAllKinds.size(); ++k) {
        for (std::size_t s = 0; s < kScales.size(); ++s) {
            EXPECT_GE(figures.leastOverlap[k][s], 0.98)
                << kindName(kAllKinds[k]) << " at " << kScales[s] << "x, "
                << figures.leastOverlapGlyph[k][s];
        }
    }
}

void checkFont(const char* file, const std::vector<char32_t>& codes, int pixels, double spread) {
    OutlineFont font(file, pixels);
    ASSERT_TRUE(font.ok()) << file;
    FieldFigures figures;
    for (const char32_t code : codes) {
        checkOutline(font.shape(code), spread, codeName(code), &font, code, figures);
    }
    expectFieldsHold(figures);
}

TEST(FieldQuality, LatinLettersOfDejaVuSans) {
    checkFont(kDejaVuSans, latinLetters(), 64, 4);
}

TEST(FieldQuality, IdeographsWithCubicOutlines) {
    checkFont(kNotoSansCjk, cjkIdeographs(), 64, 4);
}

TEST(FieldQuality, IdeographsWithQuadraticOutlines) {
    checkFont(kDroidFallback, cjkIdeographs(), 64, 4);
}

}  // namespace
}  // namespace vemro::field::test
