#include <gtest/gtest.h>

#include <set>

#include "engine/atlas.h"
#include "engine/fill_background.h"
#include "engine/freetype_font_renderer.h"

namespace vemro {
namespace {

FontSettings dejaVu(std::int32_t size, std::int32_t factor,
                    std::int32_t quality = FontSettings::kQualityAntialiased) {
    FontSettings settings;
    settings.faceName = "DejaVu Sans";
    settings.size = size;
    settings.factor = factor;
    settings.quality = quality;
    return settings;
}

bool columnHasInk(const PixelSurface& surface, const Glyph& glyph, int column) {
    for (int y = glyph.y; y < glyph.y + glyph.height; ++y) {
        if (surface.getPixel(glyph.x + column, y) != 0) {
            return true;
        }
    }
    return false;
}

bool rowHasInk(const PixelSurface& surface, const Glyph& glyph, int row) {
    for (int x = glyph.x; x < glyph.x + glyph.width; ++x) {
        if (surface.getPixel(x, glyph.y + row) != 0) {
            return true;
        }
    }
    return false;
}

bool cellInsideTexture(const Glyph& glyph, AtlasSize size) {
    return glyph.x + glyph.width <= size.width && glyph.y + glyph.height <= size.height;
}

class RebuildPipeline : public ::testing::Test {
protected:
    void build(const FontSettings& settings, AtlasSize size = {512, 512}) {
        atlas.setTextureSize(size);
        atlas.addFullCharset();
        atlas.recreateFont(settings);
        atlas.rebuildAtlas(settings.factor);
    }

    FreetypeFontRenderer renderer;
    Atlas atlas{renderer};
};

TEST_F(RebuildPipeline, WithoutBordersInkFillsTheCellFromItsFirstToItsLastColumn) {
    build(dejaVu(11, 1));
    int inked = 0;
    for (const Glyph& glyph : atlas.glyphs()) {
        ASSERT_TRUE(cellInsideTexture(glyph, atlas.textureSize()));
        bool any = false;
        for (int column = 0; column < glyph.width && !any; ++column) {
            any = columnHasInk(atlas.atlasSurface(), glyph, column);
        }
        if (!any) {
            continue;  // the space and friends
        }
        ++inked;
        EXPECT_TRUE(columnHasInk(atlas.atlasSurface(), glyph, 0)) << int(glyph.code);
        EXPECT_TRUE(columnHasInk(atlas.atlasSurface(), glyph, glyph.width - 1)) << int(glyph.code);
    }
    EXPECT_GT(inked, 150);
}

TEST_F(RebuildPipeline, BordersStayEmpty) {
    atlas.setFontBorders({2, 1, 3, 4});
    build(dejaVu(11, 1));
    for (const Glyph& glyph : atlas.glyphs()) {
        if (!cellInsideTexture(glyph, atlas.textureSize())) {
            continue;
        }
        for (int column : {0, 1, glyph.width - 3, glyph.width - 2, glyph.width - 1}) {
            EXPECT_FALSE(columnHasInk(atlas.atlasSurface(), glyph, column))
                << int(glyph.code) << " column " << column;
        }
        for (int row :
             {0, glyph.height - 4, glyph.height - 3, glyph.height - 2, glyph.height - 1}) {
            EXPECT_FALSE(rowHasInk(atlas.atlasSurface(), glyph, row))
                << int(glyph.code) << " row " << row;
        }
    }
}

TEST_F(RebuildPipeline, NonAntialiasedAtFactorTwoGivesOnlyQuarterSteps) {
    build(dejaVu(16, 2, FontSettings::kQualityNonAntialiased));
    std::set<std::uint32_t> levels;
    const AtlasSize size = atlas.textureSize();
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            levels.insert(atlas.atlasSurface().getPixel(x, y));
        }
    }
    const std::set<std::uint32_t> allowed{0u, 63u * 0x010101u, 127u * 0x010101u, 191u * 0x010101u,
                                          255u * 0x010101u};
    EXPECT_EQ(levels, allowed);
}

TEST_F(RebuildPipeline, LargeCellsKeepTheirDescenders) {
    atlas.glyphs().addCharacter('g');
    atlas.setTextureSize({512, 512});
    atlas.recreateFont(dejaVu(100, 4));
    atlas.rebuildAtlas(4);
    const Glyph& glyph = atlas.glyphs()[0];
    ASSERT_GT(glyph.height, 128);  // more than 512 supersampled rows
    bool inkBelow = false;
    for (int row = 128; row < glyph.height; ++row) {
        inkBelow = inkBelow || rowHasInk(atlas.atlasSurface(), glyph, row);
    }
    EXPECT_TRUE(inkBelow);
}

TEST_F(RebuildPipeline, SameStateGivesTheSameAtlas) {
    build(dejaVu(24, 3));
    const PixelSurface first = atlas.atlasSurface();
    const GlyphList glyphs = atlas.glyphs();
    atlas.addFullCharset();
    EXPECT_EQ(atlas.glyphs(), glyphs);
    atlas.recreateFont(dejaVu(24, 3));
    atlas.rebuildAtlas(3);
    EXPECT_EQ(atlas.atlasSurface(), first);
    EXPECT_EQ(atlas.glyphs(), glyphs);
}

TEST_F(RebuildPipeline, ChangingOnlyTheFactorKeepsCellSizesClose) {
    build(dejaVu(20, 1));
    const GlyphList single = atlas.glyphs();
    atlas.recreateFont(dejaVu(20, 4));
    atlas.rebuildAtlas(4);
    for (std::size_t i = 0; i < single.size(); ++i) {
        EXPECT_NEAR(atlas.glyphs()[i].width, single[i].width, 2) << int(single[i].code);
        EXPECT_NEAR(atlas.glyphs()[i].height, single[i].height, 1);
    }
}

}  // namespace
}  // namespace vemro
