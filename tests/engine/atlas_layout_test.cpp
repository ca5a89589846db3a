#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/atlas.h"
#include "fake_font_renderer.h"

namespace vemro {
namespace {

using testing::FakeFontRenderer;

// Builds an atlas whose glyphs have the given cell sizes, then packs them.
class PackingTest : public ::testing::Test {
protected:
    std::vector<std::pair<int, int>> pack(int textureWidth,
                                          const std::vector<std::pair<int, int>>& sizes) {
        atlas.setTextureSize({textureWidth, 256});
        atlas.glyphs().clearGlyphs();
        for (auto [width, height] : sizes) {
            Glyph glyph;
            glyph.width = width;
            glyph.height = height;
            atlas.glyphs().append(glyph);
        }
        atlas.packGlyphs();
        std::vector<std::pair<int, int>> positions;
        for (const Glyph& glyph : atlas.glyphs()) {
            positions.emplace_back(glyph.x, glyph.y);
        }
        return positions;
    }

    FakeFontRenderer renderer;
    Atlas atlas{renderer};
};

using Positions = std::vector<std::pair<int, int>>;

TEST_F(PackingTest, RowsFillLeftToRightWithOnePixelGaps) {
    EXPECT_EQ(pack(64, {{20, 16}, {20, 16}, {20, 16}, {20, 16}}),
              (Positions{{0, 0}, {21, 0}, {42, 0}, {0, 17}}));
}

TEST_F(PackingTest, GlyphEndingExactlyAtTheEdgeStaysOnTheRow) {
    EXPECT_EQ(pack(64, {{20, 16}, {20, 16}, {22, 16}, {1, 16}}),
              (Positions{{0, 0}, {21, 0}, {42, 0}, {0, 17}}));
}

TEST_F(PackingTest, RowAdvanceIsTheTallestGlyphSoFar) {
    EXPECT_EQ(pack(64, {{30, 10}, {30, 30}, {30, 10}}), (Positions{{0, 0}, {31, 0}, {0, 31}}));
    // The running maximum is never reset: the middle row holds only a short glyph.
    EXPECT_EQ(pack(64, {{60, 30}, {60, 10}, {60, 10}}), (Positions{{0, 0}, {0, 31}, {0, 62}}));
}

TEST_F(PackingTest, OverWideFirstGlyphStillMovesDownARow) {
    EXPECT_EQ(pack(64, {{70, 12}, {5, 12}}), (Positions{{0, 13}, {0, 26}}));
}

TEST_F(PackingTest, NoVerticalLimit) {
    std::vector<std::pair<int, int>> sizes(40, {60, 20});
    const Positions positions = pack(64, sizes);
    EXPECT_EQ(positions.back(), (std::pair{0, 39 * 21}));
}

TEST_F(PackingTest, NegativeWidthMovesThePenBack) {
    // px goes 0 -> 11 -> 11 + (-5) + 1 = 7, so the third glyph overlaps the second.
    EXPECT_EQ(pack(64, {{10, 8}, {-5, 8}, {4, 8}}), (Positions{{0, 0}, {11, 0}, {7, 0}}));
}

class MeasuringTest : public ::testing::Test {
protected:
    FakeFontRenderer renderer;
    Atlas atlas{renderer};
};

TEST_F(MeasuringTest, WidthIsBlackBoxPlusAllBordersAndHeightIsLinePlusTopAndBottom) {
    renderer.setImage('A', FakeFontRenderer::solidImage(1, 9, 0, 10));
    renderer.lineHeightValue = 15;
    atlas.glyphs().addCharacter('A');
    atlas.setFontBorders({2, 1, 3, 4});
    atlas.setCharacterBorders(0, 1, 1);
    atlas.measureGlyphs(1);
    EXPECT_EQ(atlas.glyphs()[0].width, 9 + 7);
    EXPECT_EQ(atlas.glyphs()[0].height, 15 + 5);
}

TEST_F(MeasuringTest, SizesAreDividedByTheFactorWithTruncation) {
    renderer.setImage('A', FakeFontRenderer::solidImage(0, 13, 0, 10));
    renderer.lineHeightValue = 58;
    atlas.glyphs().addCharacter('A');
    atlas.measureGlyphs(4);
    EXPECT_EQ(atlas.glyphs()[0].width, 3);
    EXPECT_EQ(atlas.glyphs()[0].height, 14);
    atlas.measureGlyphs(3);
    EXPECT_EQ(atlas.glyphs()[0].width, 4);
    EXPECT_EQ(atlas.glyphs()[0].height, 19);
}

TEST_F(MeasuringTest, NegativeCharacterBordersCanMakeANegativeWidth) {
    renderer.setImage('A', FakeFontRenderer::solidImage(0, 4, 0, 10));
    atlas.glyphs().addCharacter('A');
    atlas.setCharacterBorders(0, -10, 0);
    atlas.measureGlyphs(1);
    EXPECT_EQ(atlas.glyphs()[0].width, -6);
}

TEST(AtlasFont, PixelHeightRoundsHalvesAwayFromZeroAt96Dpi) {
    EXPECT_EQ(Atlas::pixelHeightFor(11, 1), 15);
    EXPECT_EQ(Atlas::pixelHeightFor(11, 4), 59);
    EXPECT_EQ(Atlas::pixelHeightFor(100, 4), 533);
    EXPECT_EQ(Atlas::pixelHeightFor(3, 1), 7);  // used as 5: 6.67 rounds up
    EXPECT_EQ(Atlas::pixelHeightFor(4, 1), Atlas::pixelHeightFor(5, 1));
    EXPECT_EQ(Atlas::pixelHeightFor(101, 1), Atlas::pixelHeightFor(100, 1));
    EXPECT_EQ(Atlas::pixelHeightFor(13, 1), 17);  // 17.33 rounds down
    EXPECT_EQ(Atlas::pixelHeightFor(9, 2), 24);   // exact
}

TEST(AtlasFont, RecreateFontPassesTheSettingsAndDropsRenderedGlyphs) {
    FakeFontRenderer renderer;
    Atlas atlas(renderer);
    FontSettings settings;
    settings.faceName = "Fake Sans";
    settings.size = 11;
    settings.factor = 4;
    settings.weight = 600;
    settings.quality = FontSettings::kQualityNonAntialiased;
    settings.italic = true;
    atlas.recreateFont(settings);
    EXPECT_EQ(renderer.lastRequest.faceName, "Fake Sans");
    EXPECT_EQ(renderer.lastRequest.pixelHeight, 59);
    EXPECT_EQ(renderer.lastRequest.weight, 600);
    EXPECT_FALSE(renderer.lastRequest.antialiased);
    EXPECT_TRUE(renderer.lastRequest.italic);

    atlas.glyphs().addCharacter('A');
    atlas.rebuildAtlas(4);
    atlas.rebuildAtlas(4);
    EXPECT_EQ(renderer.renderCount, 1);  // kept while the font stays
    atlas.recreateFont(settings);
    atlas.rebuildAtlas(4);
    EXPECT_EQ(renderer.renderCount, 2);
}

TEST(AtlasState, TextureSidesOutsideTheSurfaceAreRejected) {
    FakeFontRenderer renderer;
    Atlas atlas(renderer);
    EXPECT_EQ(atlas.textureSize(), (AtlasSize{256, 256}));
    EXPECT_TRUE(atlas.setTextureSize({512, 64}));
    EXPECT_FALSE(atlas.setTextureSize({513, 64}));
    EXPECT_FALSE(atlas.setTextureSize({64, 0}));
    EXPECT_EQ(atlas.textureSize(), (AtlasSize{512, 64}));
}

TEST(AtlasState, CharacterBordersPastTheEndChangeNothing) {
    FakeFontRenderer renderer;
    Atlas atlas(renderer);
    atlas.glyphs().addCharacter('A');
    EXPECT_FALSE(atlas.setCharacterBorders(1, 5, 5));
    EXPECT_TRUE(atlas.setCharacterBorders(0, 0, 3));
    EXPECT_EQ(atlas.glyphs()[0].charBorderRight, 3);
}

TEST(AtlasState, FullCharsetKeepsEarlierCharactersFirstAndAddsOnlyMissingCodes) {
    FakeFontRenderer renderer;
    Atlas atlas(renderer);
    atlas.glyphs().addCharacter('z');
    atlas.glyphs().addCharacter(7);
    atlas.addFullCharset();
    ASSERT_EQ(atlas.glyphs().size(), 225u);
    EXPECT_EQ(atlas.glyphs()[0].code, 'z');
    EXPECT_EQ(atlas.glyphs()[1].code, 7);
    EXPECT_EQ(atlas.glyphs()[2].code, 32);
    EXPECT_EQ(atlas.glyphs()[224].code, 255);
    const GlyphList before = atlas.glyphs();
    atlas.addFullCharset();
    EXPECT_EQ(atlas.glyphs(), before);
    atlas.newAtlas();
    EXPECT_TRUE(atlas.glyphs().empty());
}

}  // namespace
}  // namespace vemro
