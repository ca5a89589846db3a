// The fitted texture at the edges of the powers of two, and the ink budget of a rebuild.
#include <gtest/gtest.h>

#include <vector>

#include "engine/atlas/ink_budget.h"
#include "engine/pack/packer.h"

namespace vemro {
namespace {

TEST(FitTextureSize, SmallestAreaThenSquarerThenWiderAtThePowerOfTwoEdges) {
    const auto fit = [](std::vector<PackItem> items, int spacing = 1,
                        AtlasSize largest = {4096, 4096}, PackerKind packer = PackerKind::Rows) {
        return fitTextureSize(packer, items, spacing, largest);
    };
    EXPECT_EQ(fit({{64, 64}}), (AtlasSize{64, 64}));  // fills it exactly
    EXPECT_EQ(fit({{65, 64}}), (AtlasSize{128, 64}));
    EXPECT_EQ(fit({{64, 65}}), (AtlasSize{64, 128}));
    EXPECT_EQ(fit({{1, 1}}), (AtlasSize{1, 1}));
    EXPECT_EQ(fit({}), (AtlasSize{1, 1}));
    // Two cells of 31 and the one-pixel gap make 63: four fit in 64 x 64, a fifth needs a
    // third row or a wider one; of 128 x 64 and 64 x 128 the wider wins.
    EXPECT_EQ(fit(std::vector<PackItem>(4, {31, 31})), (AtlasSize{64, 64}));
    EXPECT_EQ(fit(std::vector<PackItem>(5, {31, 31})), (AtlasSize{128, 64}));
    // Cells of 32 with their gaps pass every edge of 64 and 128: only one row holds four.
    EXPECT_EQ(fit(std::vector<PackItem>(4, {32, 32})), (AtlasSize{256, 32}));
    EXPECT_EQ(fit(std::vector<PackItem>(4, {32, 32}), 0), (AtlasSize{64, 64}));
    // Three squares: 128 x 128 before 256 x 64 of the same area.
    EXPECT_EQ(fit(std::vector<PackItem>(3, {64, 64}), 0), (AtlasSize{128, 128}));
    // Each side stays within the largest size's; none holding them gives the largest size itself.
    EXPECT_EQ(fit({{300, 10}}, 1, {256, 512}), (AtlasSize{256, 512}));
    EXPECT_EQ(fit(std::vector<PackItem>(4, {100, 100}), 1, {300, 200}), (AtlasSize{300, 200}));
    EXPECT_EQ(fit(std::vector<PackItem>(2, {100, 100}), 1, {300, 200}), (AtlasSize{256, 128}));
    // Rows leave the ends of rows empty that tight packing fills with the narrow cells.
    const std::vector<PackItem> mixed = {{40, 20}, {40, 20}, {40, 20},
                                         {24, 20}, {24, 20}, {24, 20}};
    EXPECT_EQ(fit(mixed, 0, {4096, 4096}, PackerKind::Rows), (AtlasSize{128, 64}));
    EXPECT_EQ(fit(mixed, 0, {4096, 4096}, PackerKind::Tight), (AtlasSize{64, 64}));
}

TEST(InkBudget, CharactersThatShowCountOnceInListOrderAtTheirInkWidthTimesTheLine) {
    const auto cell = [](char32_t code, int x, int width, double b) {
        PlacedGlyph glyph;
        glyph.code = code;
        glyph.x = x;
        glyph.width = width;
        glyph.height = 10;
        glyph.lineRows = 8;
        glyph.b = b;
        return glyph;
    };
    // Ink of 10 x 8 per character: 'A' and 'B' fit 170 pixels, 'C' does not, nor does any
    // later cell of it; 'D' lies outside the page and 'E' has no area, so neither counts.
    const std::vector<PlacedGlyph> cells = {cell('A', 0, 2, 10.75), cell('B', 0, 2, 10.0),
                                            cell('A', 5, 2, 10.75), cell('D', 64, 5, 50.0),
                                            cell('E', 0, -3, 50.0), cell('C', 0, 2, 10.0),
                                            cell('A', 9, 2, 10.75), cell('C', 9, 2, 10.0)};
    EXPECT_EQ(cellsPastInkBudget(cells, {64, 64}, 170), (std::vector<std::size_t>{5, 7}));
    EXPECT_EQ(cellsPastInkBudget(cells, {64, 64}, 240), std::vector<std::size_t>{});
}

}  // namespace
}  // namespace vemro
