// The 8-bit encoding means what the program's fields meant when FreeType drew them: a true
// distance field of the same glyph over the same pixels, encoded, matches FreeType's own signed
// distance field almost everywhere to within one value or 1/32 pixel, whichever is more, at
// every spread, over the same frame.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <tuple>

#include "engine/field/field_encoding.h"
#include "engine/field/field_generator.h"
#include "engine/field/outline_boundary.h"
#include "tests/field/outline_font.h"

namespace vemro::field::test {
namespace {

TEST(FieldEncoding, MatchesFreetypeDistanceFields) {
    OutlineFont font(kDejaVuSans, 32);
    ASSERT_TRUE(font.ok());
    FieldGenerator generator;
    for (const int spread : {2, 4, 8}) {
        const int tolerance = std::max(1, 4 / spread);  // values
        std::size_t pixels = 0;
        std::size_t withinOne = 0;
        long difference = 0;
        for (const char32_t code : latinLetters()) {
            FieldFrame frame;
            const std::vector<std::uint8_t> theirs = font.freetypeField(code, spread, frame);
            ASSERT_FALSE(theirs.empty());
            // Fields are placed as FreeType placed its own.
            const Shape outline = font.shape(code);
            const FieldFrame placed = FieldFrame::around(outline.controlBox(), spread);
            ASSERT_EQ(std::make_tuple(placed.width, placed.height, placed.origin),
                      std::make_tuple(frame.width, frame.height, frame.origin))
                << "U+" << std::hex << static_cast<unsigned>(code) << ", spread " << spread;
            FieldPixels field;
            field.resize(frame.width, frame.height, 1);
            generator.generate(outlineBoundary(outline), FieldKind::sdf, frame, spread,
                               field.view());
            std::vector<std::uint8_t> ours(theirs.size());
            encodeField(field.view(), spread, ours.data(), frame.width);
            for (std::size_t i = 0; i < ours.size(); ++i) {
                const int gap = ours[i] - theirs[i];
                withinOne += std::abs(gap) <= tolerance ? 1 : 0;
                difference += gap;
            }
            pixels += ours.size();
        }
        const double share = static_cast<double>(withinOne) / pixels;
        const double bias = static_cast<double>(difference) / pixels;
        std::printf(
            "spread %d: %.4f of %zu pixels within %d of FreeType's values, mean "
            "difference %+.3f\n",
            spread, share, pixels, tolerance, bias);
        EXPECT_GE(share, 0.98) << "spread " << spread;
        EXPECT_LE(std::abs(bias), 0.5) << "spread " << spread;
    }
}

}  // namespace
}  // namespace vemro::field::test
