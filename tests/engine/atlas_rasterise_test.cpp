#include <gtest/gtest.h>

#include "engine/atlas.h"
#include "engine/fill_background.h"
#include "fake_font_renderer.h"

namespace vemro {
namespace {

using testing::FakeFontRenderer;

class RasteriseTest : public ::testing::Test {
protected:
    // Everything outside the texture must still be the untouched hatch.
    void expectHatchIntact() {
        PixelSurface hatch;
        hatch.create(512, 512);
        fillBackground(hatch, atlas.textureSize());
        const AtlasSize size = atlas.textureSize();
        for (int y = 0; y < 512; ++y) {
            for (int x = 0; x < 512; ++x) {
                if (x >= size.width || y >= size.height) {
                    ASSERT_EQ(atlas.atlasSurface().getPixel(x, y), hatch.getPixel(x, y))
                        << x << "," << y;
                }
            }
        }
    }

    FakeFontRenderer renderer;
    Atlas atlas{renderer};
};

TEST_F(RasteriseTest, InkStartsRightAfterTheLeftBordersAndTheTopOfTheCellIsTheTopBorder) {
    renderer.setImage('A', FakeFontRenderer::solidImage(-2, 3, 4, 5));
    renderer.lineHeightValue = 12;
    atlas.glyphs().addCharacter('A');
    atlas.setFontBorders({2, 1, 0, 0});
    atlas.setCharacterBorders(0, 1, 0);
    atlas.rebuildAtlas(1);
    const PixelSurface& surface = atlas.atlasSurface();
    // Ink columns 3..5 (left 2 + character 1), rows 1 + 4 .. 1 + 4 + 4.
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool ink = x >= 3 && x < 6 && y >= 5 && y < 10;
            EXPECT_EQ(surface.getPixel(x, y), ink ? 0x00FFFFFFu : 0u) << x << "," << y;
        }
    }
}

TEST_F(RasteriseTest, SupersampledInkIsReducedIntoTheCell) {
    // At factor 2 a 4x4 block of full ink at the cell's origin becomes 2x2 full atlas pixels.
    renderer.setImage('A', FakeFontRenderer::solidImage(0, 4, 0, 4));
    renderer.lineHeightValue = 8;
    atlas.glyphs().addCharacter('A');
    atlas.rebuildAtlas(2);
    const Glyph& glyph = atlas.glyphs()[0];
    EXPECT_EQ(glyph.width, 2);
    EXPECT_EQ(glyph.height, 4);
    EXPECT_EQ(atlas.atlasSurface().getPixel(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(atlas.atlasSurface().getPixel(1, 1), 0x00FFFFFFu);
    EXPECT_EQ(atlas.atlasSurface().getPixel(0, 2), 0u);
}

TEST_F(RasteriseTest, GlyphBelowTheTextureWritesNothing) {
    atlas.setTextureSize({64, 64});
    renderer.lineHeightValue = 63;  // cells 63 high: the second row starts at y = 64
    for (int i = 0; i < 5; ++i) {
        renderer.setImage(static_cast<std::uint8_t>('A' + i),
                          FakeFontRenderer::solidImage(0, 20, 0, 63));
        atlas.glyphs().addCharacter(static_cast<std::uint8_t>('A' + i));
    }
    atlas.rebuildAtlas(1);
    EXPECT_EQ(atlas.glyphs()[3].y, 64);
    EXPECT_EQ(atlas.glyphsOutsideTexture(), 2u);
    expectHatchIntact();
}

TEST_F(RasteriseTest, OverWideGlyphIsCutAtTheTextureEdge) {
    atlas.setTextureSize({64, 64});
    renderer.setImage('W', FakeFontRenderer::solidImage(0, 70, 0, 10));
    renderer.lineHeightValue = 10;
    atlas.glyphs().addCharacter('W');
    atlas.rebuildAtlas(1);
    const Glyph& glyph = atlas.glyphs()[0];
    EXPECT_EQ(glyph.x, 0);
    EXPECT_EQ(glyph.y, 11);
    for (int x = 0; x < 64; ++x) {
        EXPECT_EQ(atlas.atlasSurface().getPixel(x, 11), 0x00FFFFFFu) << x;
    }
    EXPECT_EQ(atlas.glyphsOutsideTexture(), 1u);
    expectHatchIntact();
}

TEST_F(RasteriseTest, GapsBetweenCellsStayBlack) {
    atlas.setTextureSize({64, 64});
    renderer.lineHeightValue = 10;
    for (int code = 'a'; code < 'a' + 12; ++code) {
        renderer.setImage(static_cast<std::uint8_t>(code),
                          FakeFontRenderer::solidImage(0, 9, 0, 10));
        atlas.glyphs().addCharacter(static_cast<std::uint8_t>(code));
    }
    atlas.rebuildAtlas(1);
    const PixelSurface& surface = atlas.atlasSurface();
    for (const Glyph& glyph : atlas.glyphs()) {
        for (int y = glyph.y; y < glyph.y + glyph.height; ++y) {
            EXPECT_EQ(surface.getPixel(glyph.x + glyph.width, y), 0u);  // the column gap
            EXPECT_EQ(surface.getPixel(glyph.x, y), 0x00FFFFFFu);
        }
        EXPECT_EQ(surface.getPixel(glyph.x, glyph.y + glyph.height), 0u);  // the row gap
    }
    expectHatchIntact();
}

TEST_F(RasteriseTest, InkOutsideTheCellIsNeverRead) {
    // Ink 10 wide but the black box claims 4: only the cell's 4 columns reach the atlas.
    GlyphImage image = FakeFontRenderer::solidImage(0, 10, 0, 5);
    image.b = 4;
    renderer.setImage('A', image);
    renderer.setImage('B', FakeFontRenderer::solidImage(0, 4, 0, 5, 0));
    renderer.lineHeightValue = 5;
    atlas.glyphs().addCharacter('A');
    atlas.glyphs().addCharacter('B');
    atlas.rebuildAtlas(1);
    EXPECT_EQ(atlas.atlasSurface().getPixel(3, 0), 0x00FFFFFFu);
    EXPECT_EQ(atlas.atlasSurface().getPixel(4, 0), 0u);
    EXPECT_EQ(atlas.atlasSurface().getPixel(5, 0), 0u);  // B's cell: its own (empty) drawing
}

TEST_F(RasteriseTest, CellsLargerThanTheOldRenderSurfaceComeOutWhole) {
    // A cell of 140 rows at factor 4 needs 560 supersampled rows.
    atlas.setTextureSize({512, 512});
    renderer.setImage('g', FakeFontRenderer::solidImage(0, 40, 0, 560));
    renderer.lineHeightValue = 560;
    atlas.glyphs().addCharacter('g');
    atlas.rebuildAtlas(4);
    ASSERT_EQ(atlas.glyphs()[0].height, 140);
    for (int y = 0; y < 140; ++y) {
        ASSERT_EQ(atlas.atlasSurface().getPixel(5, y), 0x00FFFFFFu) << y;
    }
}

TEST_F(RasteriseTest, RebuildEndsWithTheListenerAndIsRepeatable) {
    int calls = 0;
    atlas.setRebuildListener([&calls] { ++calls; });
    atlas.addFullCharset();
    atlas.rebuildAtlas(3);
    const PixelSurface first = atlas.atlasSurface();
    const GlyphList firstGlyphs = atlas.glyphs();
    atlas.rebuildAtlas(3);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(atlas.atlasSurface(), first);
    EXPECT_EQ(atlas.glyphs(), firstGlyphs);
}

TEST_F(RasteriseTest, EmptyListStillPaintsTheBackgroundAndNotifies) {
    int calls = 0;
    atlas.setRebuildListener([&calls] { ++calls; });
    atlas.setTextureSize({128, 64});
    atlas.rebuildAtlas(1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(atlas.atlasSurface().getPixel(127, 63), 0u);
    EXPECT_EQ(atlas.atlasSurface().getPixel(129, 1), kHatchGrey);
}

}  // namespace
}  // namespace vemro
