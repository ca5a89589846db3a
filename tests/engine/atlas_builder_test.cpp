// The atlas a rebuild produces from a project: cell sizes, the result's metrics, and the pixels
// of the page.

#include "engine/atlas/atlas_builder.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "tests/fake_font_renderer.h"

namespace vemro {
namespace {

using testing::FakeFontRenderer;

class AtlasBuilderTest : public ::testing::Test {
protected:
    AtlasBuilderTest() { project.font.faceName = "Fake Sans"; }

    void add(std::initializer_list<char32_t> codes) {
        for (char32_t code : codes) {
            project.glyphs.addCharacter(code);
        }
    }
    void setCharacterBorders(std::size_t index, std::int32_t left, std::int32_t right) {
        project.glyphs.glyphAt(index)->charBorderLeft = left;
        project.glyphs.glyphAt(index)->charBorderRight = right;
    }
    const AtlasResult& rebuild() {
        result = builder.rebuild(project);
        return *result;
    }
    int pixel(int x, int y) const { return result->pages.at(0).at(x, y); }

    FakeFontRenderer renderer;
    AtlasBuilder builder{renderer};
    Project project;
    std::shared_ptr<const AtlasResult> result;
};

TEST_F(AtlasBuilderTest, WidthIsBlackBoxPlusAllBordersAndHeightIsLinePlusTopAndBottom) {
    renderer.setImage('A', FakeFontRenderer::solidImage(1, 9, 0, 10));
    renderer.lineHeightValue = 15;
    add({'A'});
    project.fontBorders = {2, 1, 3, 4};
    setCharacterBorders(0, 1, 1);
    const PlacedGlyph& cell = rebuild().glyphs.at(0);
    EXPECT_EQ(cell.width, 9 + 7);
    EXPECT_EQ(cell.height, 15 + 5);
    EXPECT_EQ(cell.inkLeft, 3);
    EXPECT_EQ(result->lineHeight, 15);
}

TEST_F(AtlasBuilderTest, SizesAreDividedByTheFactorWithTruncation) {
    renderer.setImage('A', FakeFontRenderer::solidImage(0, 13, 0, 10));
    renderer.setImage('B', FakeFontRenderer::solidImage(0, -13, 0, 0));  // |B| counts
    renderer.lineHeightValue = 58;
    add({'A', 'B'});
    project.font.factor = 4;
    rebuild();
    EXPECT_EQ(result->glyphs[0].width, 3);
    EXPECT_EQ(result->glyphs[1].width, 3);
    EXPECT_EQ(result->glyphs[0].height, 14);
    EXPECT_EQ(result->lineHeight, 14);
    project.font.factor = 3;
    rebuild();
    EXPECT_EQ(result->glyphs[0].width, 4);
    EXPECT_EQ(result->glyphs[0].height, 19);
}

TEST_F(AtlasBuilderTest, NegativeCharacterBordersCanMakeANegativeWidth) {
    renderer.setImage('A', FakeFontRenderer::solidImage(0, 4, 0, 10));
    add({'A', 'B'});
    setCharacterBorders(0, -10, 0);
    rebuild();
    EXPECT_EQ(result->glyphs[0].width, -6);
    EXPECT_EQ(result->glyphs[1].x, -5);
}

TEST_F(AtlasBuilderTest, MetricsAreAtAtlasScaleWithoutRounding) {
    renderer.setImage('A', FakeFontRenderer::solidImage(-3, 13, 0, 10));
    renderer.ascentValue = 13;
    add({'A'});
    project.font.factor = 4;
    const PlacedGlyph& cell = rebuild().glyphs.at(0);
    EXPECT_EQ(cell.code, U'A');
    EXPECT_DOUBLE_EQ(cell.a, -0.75);
    EXPECT_DOUBLE_EQ(cell.b, 3.25);
    const GlyphInfo info = FakeFontRenderer::infoFor('A', renderer.imageOf('A'));
    EXPECT_DOUBLE_EQ(cell.advance, info.advance / 256.0);
    EXPECT_EQ(cell.glyphIndex, info.index);
    EXPECT_DOUBLE_EQ(result->ascent, 3.25);
    EXPECT_TRUE(result->fontProblem.empty());
}

TEST_F(AtlasBuilderTest, InkStartsRightAfterTheLeftBordersAndTheTopOfTheCellIsTheTopBorder) {
    renderer.setImage('A', FakeFontRenderer::solidImage(-2, 3, 4, 5));
    renderer.lineHeightValue = 12;
    add({'A'});
    project.fontBorders = {2, 1, 0, 0};
    setCharacterBorders(0, 1, 0);
    rebuild();
    // Ink columns 3..5 (left 2 + character 1), rows 1 + 4 .. 1 + 4 + 4.
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool ink = x >= 3 && x < 6 && y >= 5 && y < 10;
            EXPECT_EQ(pixel(x, y), ink ? 255 : 0) << x << "," << y;
        }
    }
}

TEST_F(AtlasBuilderTest, SupersampledInkIsReducedIntoTheCell) {
    // At factor 2 a 4x4 block of full ink at the cell's origin becomes 2x2 full atlas pixels.
    renderer.setImage('A', FakeFontRenderer::solidImage(0, 4, 0, 4));
    renderer.lineHeightValue = 8;
    add({'A'});
    project.font.factor = 2;
    const PlacedGlyph& cell = rebuild().glyphs.at(0);
    EXPECT_EQ(cell.width, 2);
    EXPECT_EQ(cell.height, 4);
    EXPECT_EQ(pixel(0, 0), 255);
    EXPECT_EQ(pixel(1, 1), 255);
    EXPECT_EQ(pixel(0, 2), 0);
}

TEST_F(AtlasBuilderTest, GlyphsBelowTheTextureAreCountedAndLeaveThePageAlone) {
    project.textureSize = {64, 64};
    renderer.lineHeightValue = 63;  // cells 63 high: the second row starts at y = 64
    for (char32_t code = 'A'; code < 'A' + 5; ++code) {
        renderer.setImage(code, FakeFontRenderer::solidImage(0, 20, 0, 63));
        add({code});
    }
    rebuild();
    EXPECT_EQ(result->glyphs[3].y, 64);
    EXPECT_EQ(result->glyphsOutsideTexture, 2u);
    ASSERT_EQ(result->pages.size(), 1u);
    ASSERT_EQ(result->pages[0].pixels.size(), 64u * 64u);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const bool ink = y < 63 && x < 62 && x % 21 != 20;
            ASSERT_EQ(pixel(x, y), ink ? 255 : 0) << x << "," << y;
        }
    }
}

TEST_F(AtlasBuilderTest, OverWideGlyphIsCutAtTheTextureEdge) {
    project.textureSize = {64, 64};
    renderer.setImage('W', FakeFontRenderer::solidImage(0, 70, 0, 10));
    renderer.lineHeightValue = 10;
    add({'W'});
    const PlacedGlyph& cell = rebuild().glyphs.at(0);
    EXPECT_EQ(cell.x, 0);
    EXPECT_EQ(cell.y, 11);
    for (int x = 0; x < 64; ++x) {
        EXPECT_EQ(pixel(x, 11), 255) << x;
        EXPECT_EQ(pixel(x, 10), 0) << x;
    }
    EXPECT_EQ(result->glyphsOutsideTexture, 1u);
}

TEST_F(AtlasBuilderTest, GapsBetweenCellsStayBlack) {
    project.textureSize = {64, 64};
    renderer.lineHeightValue = 10;
    for (char32_t code = 'a'; code < 'a' + 12; ++code) {
        renderer.setImage(code, FakeFontRenderer::solidImage(0, 9, 0, 10));
        add({code});
    }
    rebuild();
    for (const PlacedGlyph& cell : result->glyphs) {
        for (int y = cell.y; y < cell.y + cell.height; ++y) {
            EXPECT_EQ(pixel(cell.x + cell.width, y), 0);  // the column gap
            EXPECT_EQ(pixel(cell.x, y), 255);
        }
        EXPECT_EQ(pixel(cell.x, cell.y + cell.height), 0);  // the row gap
    }
}

TEST_F(AtlasBuilderTest, InkOutsideTheCellIsNeverRead) {
    // Ink 10 wide but the black box claims 4: only the cell's 4 columns reach the atlas.
    GlyphImage image = FakeFontRenderer::solidImage(0, 10, 0, 5);
    image.b = 4;
    renderer.setImage('A', image);
    renderer.setImage('B', FakeFontRenderer::solidImage(0, 4, 0, 5, 0));
    renderer.lineHeightValue = 5;
    add({'A', 'B'});
    rebuild();
    EXPECT_EQ(pixel(3, 0), 255);
    EXPECT_EQ(pixel(4, 0), 0);
    EXPECT_EQ(pixel(5, 0), 0);  // B's cell: its own (empty) drawing
}

TEST_F(AtlasBuilderTest, CellsTallerThanTheTextureAtTheFactorComeOutWhole) {
    // A cell of 140 rows at factor 4 needs 560 supersampled rows.
    project.textureSize = {512, 512};
    renderer.setImage('g', FakeFontRenderer::solidImage(0, 40, 0, 560));
    renderer.lineHeightValue = 560;
    add({'g'});
    project.font.factor = 4;
    ASSERT_EQ(rebuild().glyphs.at(0).height, 140);
    for (int y = 0; y < 140; ++y) {
        ASSERT_EQ(pixel(5, y), 255) << y;
    }
}

TEST_F(AtlasBuilderTest, TheSameProjectGivesTheSameResult) {
    for (char32_t code = 32; code <= 255; ++code) {
        renderer.setImage(code, FakeFontRenderer::solidImage(1, 3 + code % 11, code % 5,
                                                             4 + code % 9, code % 250 + 5));
        add({code});
    }
    project.font.factor = 3;
    const AtlasResult first = rebuild();
    EXPECT_EQ(rebuild(), first);
    AtlasBuilder fresh(renderer);
    EXPECT_EQ(*fresh.rebuild(project), first);
}

TEST_F(AtlasBuilderTest, EveryPageHasTheTextureSizeEvenWithoutGlyphs) {
    project.textureSize = {128, 64};
    rebuild();
    ASSERT_EQ(result->pages.size(), 1u);
    EXPECT_EQ(result->pages[0].width, 128);
    EXPECT_EQ(result->pages[0].height, 64);
    EXPECT_EQ(result->pages[0].pixels, std::vector<std::uint8_t>(128 * 64, 0));
    EXPECT_TRUE(result->glyphs.empty());
    EXPECT_EQ(result->glyphsOutsideTexture, 0u);
}

// The kind of atlas follows from the effects, once per rebuild, and the result carries it with
// its encoding: every page has its channels, and a field states its range (twice the spread).
TEST_F(AtlasBuilderTest, TheResultCarriesTheKindOfAtlasTheEffectsMake) {
    renderer.setImage('A', FakeFontRenderer::solidImage(0, 4, 0, 10));
    add({'A'});
    const auto expectKind = [&](AtlasKind kind, std::int32_t channels, std::int32_t range) {
        rebuild();
        EXPECT_EQ(result->encoding.kind, kind);
        EXPECT_EQ(result->encoding.channels, channels);
        EXPECT_EQ(result->encoding.distanceRange(), range);
        for (const AtlasPage& page : result->pages) {
            EXPECT_EQ(page.channels, channels);
            EXPECT_EQ(page.pixels.size(), std::size_t(page.width) * page.height * channels);
        }
    };
    expectKind(AtlasKind::Coverage, 1, 0);
    project.effects.shadow = true;
    expectKind(AtlasKind::Colour, 4, 0);
    project.effects.shadow = false;
    project.effects.fill = Rgb{255, 0, 0};
    expectKind(AtlasKind::Colour, 4, 0);
    project.effects.distanceField = true;
    project.effects.spread = 6;
    project.effects.outline = true;
    expectKind(AtlasKind::DistanceField, 1, 12);
    EXPECT_STREQ(result->encoding.fieldType(), "sdf");
    EXPECT_FALSE(result->effects.outline);
    EXPECT_TRUE(renderer.requests.back().distanceField && renderer.requests.back().spread == 6);
}

// Distance fields are far slower to draw than coverage, so an atlas of them draws at most 4 Mi
// pixels of fields, each its black box and line with the spread around them: with glyphs of
// 1000 x 1000 pixels and a spread of 12, four of them (1024 x 1024 each).
TEST_F(AtlasBuilderTest, DistanceFieldsDrawAtMostFourMebipixels) {
    renderer.lineHeightValue = 1000;
    for (char32_t code = 'A'; code < 'A' + 20; ++code) {
        renderer.setImage(code, FakeFontRenderer::solidImage(0, 1000, 0, 1000));
        project.glyphs.addCharacter(code);
    }
    project.textureSize = {4096, 4096};
    project.packing.multiplePages = true;
    EXPECT_EQ(rebuild().glyphsOutsideTexture, 0u);
    project.effects.distanceField = true;
    project.effects.spread = 12;
    EXPECT_EQ(rebuild().glyphsOutsideTexture, 16u);
    for (std::size_t i = 0; i < 20; ++i) {
        EXPECT_EQ(result->glyphs[i].y < 4096, i < 4) << i;
    }
}

}  // namespace
}  // namespace vemro
