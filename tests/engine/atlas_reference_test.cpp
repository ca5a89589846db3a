// The rebuild against the way it is defined: every visible cell drawn into a surface of its own
// and reduced with reduceCell, over a freshly painted background. The atlas reduces each
// character's ink once and copies it into cells, repaints only what changed and measures
// characters outside the texture without drawing them; none of that may change a pixel.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <set>

#include "engine/atlas.h"
#include "engine/cell_reducer.h"
#include "engine/fill_background.h"
#include "engine/freetype_font_renderer.h"
#include "fake_font_renderer.h"

namespace vemro {
namespace {

using testing::FakeFontRenderer;

// The atlas surface a rebuild must produce for the glyph rectangles the atlas computed.
PixelSurface referenceAtlas(const GlyphList& glyphs, const std::map<int, GlyphImage>& images,
                            FontBorders borders, AtlasSize texture, int factor) {
    PixelSurface atlas;
    atlas.create(512, 512);
    fillBackground(atlas, texture);
    for (const Glyph& glyph : glyphs) {
        const CellPlacement cell{glyph.x, glyph.y, glyph.width, glyph.height, factor};
        if (visiblePart(cell, texture).empty() || glyph.width <= 0 || glyph.height <= 0) {
            continue;
        }
        PixelSurface render;
        render.create(glyph.width * factor, glyph.height * factor);
        const GlyphImage& image = images.at(glyph.code);
        const int inkX = (borders.left + glyph.charBorderLeft) * factor;
        const int inkY = borders.top * factor + image.top;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const std::uint32_t level = image.coverage[y * image.width + x];
                render.setPixel(inkX + x, inkY + y, level * 0x010101u);
            }
        }
        reduceCell(render, 0, 0, cell, texture, atlas);
    }
    return atlas;
}

GlyphImage randomImage(std::mt19937& random) {
    std::uniform_int_distribution<int> width(1, 19);
    std::uniform_int_distribution<int> height(1, 27);
    std::uniform_int_distribution<int> top(-7, 20);
    std::uniform_int_distribution<int> level(0, 255);
    std::uniform_int_distribution<int> blank(0, 3);
    GlyphImage image = FakeFontRenderer::solidImage(0, width(random), top(random), height(random));
    for (std::uint8_t& value : image.coverage) {
        value = blank(random) == 0 ? 0 : static_cast<std::uint8_t>(level(random));
    }
    return image;
}

TEST(AtlasAgainstReference, RandomInkBordersTexturesAndFactorsOverSuccessiveRebuilds) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 12; ++round) {
        FakeFontRenderer renderer;
        std::uniform_int_distribution<int> lineHeight(6, 44);
        renderer.lineHeightValue = lineHeight(random);
        std::map<int, GlyphImage> images;
        for (int code = 0; code < 256; ++code) {
            images[code] = randomImage(random);
            renderer.setImage(static_cast<std::uint8_t>(code), images[code]);
        }
        Atlas atlas(renderer);
        std::uniform_int_distribution<int> code(0, 255);
        for (int i = 0; i < 60; ++i) {
            atlas.glyphs().append(Glyph{static_cast<std::uint8_t>(code(random))});
        }
        std::uniform_int_distribution<int> factor(1, 4);
        FontSettings settings;
        settings.faceName = "Fake Sans";
        settings.factor = factor(random);
        atlas.recreateFont(settings);
        // Each step changes one thing the way the window does and rebuilds with the same font;
        // the last ones change the factor without a new font.
        const int sides[] = {17, 64, 100, 256, 512};
        std::uniform_int_distribution<int> side(0, 4);
        std::uniform_int_distribution<int> border(0, 3);
        std::uniform_int_distribution<int> charBorder(-6, 4);
        std::uniform_int_distribution<int> index(0, 59);
        for (int step = 0; step < 8; ++step) {
            switch (step % 4) {
                case 0:
                    atlas.setTextureSize({sides[side(random)], sides[side(random)]});
                    break;
                case 1:
                    atlas.setFontBorders(
                        {border(random), border(random), border(random), border(random)});
                    break;
                case 2:
                    atlas.setCharacterBorders(static_cast<std::size_t>(index(random)),
                                              charBorder(random), charBorder(random));
                    break;
                default:
                    settings.factor = factor(random);
                    break;
            }
            atlas.rebuildAtlas(settings.factor);
            const PixelSurface expected = referenceAtlas(
                atlas.glyphs(), images, atlas.fontBorders(), atlas.textureSize(), settings.factor);
            ASSERT_EQ(atlas.atlasSurface(), expected) << "round " << round << " step " << step;
        }
    }
}

TEST(AtlasAgainstReference, OverlappingCellsOfNegativeWidthLeaveTheLaterCellOnTop) {
    FakeFontRenderer renderer;
    renderer.lineHeightValue = 12;
    std::map<int, GlyphImage> images;
    images['A'] = FakeFontRenderer::solidImage(0, 9, 1, 9, 200);
    images['B'] = FakeFontRenderer::solidImage(0, 4, 3, 5, 90);
    renderer.setImage('A', images['A']);
    renderer.setImage('B', images['B']);
    Atlas atlas(renderer);
    atlas.glyphs().addCharacter('A');
    atlas.glyphs().addCharacter('B');
    atlas.glyphs().append(Glyph{'A'});
    atlas.setCharacterBorders(0, 0, -12);  // the next cell starts left of this one's end
    atlas.setTextureSize({64, 64});
    atlas.rebuildAtlas(1);
    ASSERT_LT(atlas.glyphs()[1].x, atlas.glyphs()[0].x + 9);
    EXPECT_EQ(atlas.atlasSurface(),
              referenceAtlas(atlas.glyphs(), images, atlas.fontBorders(), atlas.textureSize(), 1));
}

// Passes everything on, remembering which characters were drawn; optionally refuses to measure,
// so that the atlas has to draw every character it needs the widths of.
class RecordingRenderer final : public FontRenderer {
public:
    RecordingRenderer(FontRenderer& inner, bool measures) : inner_(inner), measures_(measures) {}

    const std::vector<std::string>& faceNames() override { return inner_.faceNames(); }
    bool createFont(const FontRequest& request) override { return inner_.createFont(request); }
    bool hasFont() const override { return inner_.hasFont(); }
    std::int32_t lineHeight() const override { return inner_.lineHeight(); }
    GlyphImage renderGlyph(std::uint8_t code) override {
        drawn.insert(code);
        return inner_.renderGlyph(code);
    }
    std::optional<GlyphMetrics> measureGlyph(std::uint8_t code) override {
        return measures_ ? inner_.measureGlyph(code) : std::nullopt;
    }

    std::set<int> drawn;

private:
    FontRenderer& inner_;
    bool measures_;
};

struct DejaVuCase {
    int size;
    int factor;
    int quality;
    int weight;
    bool italic;
    AtlasSize texture;
    FontBorders borders;
};

TEST(AtlasWithFreetype, MeasuringInsteadOfDrawingGivesTheSameAtlasAndSkipsCellsOutside) {
    const DejaVuCase cases[] = {
        {100, 4, FontSettings::kQualityAntialiased, 400, false, {512, 512}, {}},
        {32, 4, FontSettings::kQualityAntialiased, 700, true, {512, 256}, {1, 0, 2, 1}},
        {60, 2, FontSettings::kQualityNonAntialiased, 400, false, {256, 256}, {0, 3, 0, 0}},
        {24, 3, FontSettings::kQualityAntialiased, 400, true, {128, 512}, {}},
        {11, 1, FontSettings::kQualityAntialiased, 600, false, {64, 64}, {2, 2, 2, 2}},
    };
    FreetypeFontRenderer freetype;
    for (const DejaVuCase& c : cases) {
        FontSettings settings;
        settings.faceName = "DejaVu Sans";
        settings.size = c.size;
        settings.factor = c.factor;
        settings.quality = c.quality;
        settings.weight = c.weight;
        settings.italic = c.italic;
        RecordingRenderer measuring(freetype, true);
        RecordingRenderer drawing(freetype, false);
        Atlas measured(measuring);
        Atlas drawn(drawing);
        for (Atlas* atlas : {&measured, &drawn}) {
            atlas->setTextureSize(c.texture);
            atlas->setFontBorders(c.borders);
            atlas->addFullCharset();
            atlas->setCharacterBorders(5, 3, -2);
        }
        // Both atlases share one renderer, so each makes its font right before its rebuild.
        measured.recreateFont(settings);
        measured.rebuildAtlas(c.factor);
        drawn.recreateFont(settings);
        drawn.rebuildAtlas(c.factor);
        EXPECT_EQ(measured.glyphs(), drawn.glyphs()) << c.size;
        EXPECT_EQ(measured.atlasSurface(), drawn.atlasSurface()) << c.size;

        int outside = 0;
        for (const Glyph& glyph : measured.glyphs()) {
            if (glyph.x >= c.texture.width || glyph.y >= c.texture.height) {
                ++outside;
                EXPECT_EQ(measuring.drawn.count(glyph.code), 0u)
                    << "code " << int(glyph.code) << " at size " << c.size;
            }
        }
        if (c.size >= 32) {
            EXPECT_GT(outside, 20) << c.size;  // the case really leaves characters outside
        }
    }
}

TEST(AtlasWithFreetype, CharactersMeasuredOutsideAreDrawnOnceTheTextureReachesThem) {
    FreetypeFontRenderer freetype;
    RecordingRenderer measuring(freetype, true);
    Atlas atlas(measuring);
    atlas.addFullCharset();
    atlas.setTextureSize({512, 128});
    FontSettings settings;
    settings.faceName = "DejaVu Sans";
    settings.size = 40;
    settings.factor = 2;
    atlas.recreateFont(settings);
    atlas.rebuildAtlas(2);
    const std::size_t drawnFirst = measuring.drawn.size();
    ASSERT_LT(drawnFirst, 224u);
    atlas.setTextureSize({512, 512});
    atlas.rebuildAtlas(2);
    EXPECT_GT(measuring.drawn.size(), drawnFirst);

    RecordingRenderer drawing(freetype, false);
    Atlas fresh(drawing);
    fresh.addFullCharset();
    fresh.setTextureSize({512, 512});
    fresh.recreateFont(settings);
    fresh.rebuildAtlas(2);
    EXPECT_EQ(atlas.atlasSurface(), fresh.atlasSurface());
}

}  // namespace
}  // namespace vemro
