// What the builder asks of the renderer: a new font only for a different request, no drawing
// for changes that keep the font, and empty cells when the font cannot be made.

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/atlas/atlas_builder.h"
#include "tests/fake_font_renderer.h"

namespace vemro {
namespace {

using testing::FakeFontRenderer;

Project fakeProject(char32_t first, char32_t last) {
    Project project = startupProject("Fake Sans");
    for (char32_t code = first; code <= last; ++code) {
        project.glyphs.addCharacter(code);
    }
    return project;
}

struct Counts {
    int create;
    int render;
    int measure;
    int info;

    friend bool operator==(const Counts&, const Counts&) = default;
};

Counts countsOf(const FakeFontRenderer& renderer) {
    return {static_cast<int>(renderer.requests.size()), renderer.renderCount, renderer.measureCount,
            renderer.infoCount};
}

TEST(AtlasBuilderFont, ChangesThatKeepTheFontMakeNoFontAndDrawNothing) {
    FakeFontRenderer renderer;
    AtlasBuilder builder(renderer);
    Project project = fakeProject('a', 'z');
    project.font.factor = 2;
    builder.rebuild(project);
    const Counts before = countsOf(renderer);
    EXPECT_EQ(before.create, 1);

    project.fontBorders = {3, 1, 2, 4};
    builder.rebuild(project);
    project.glyphs.glyphAt(4)->charBorderLeft = -3;
    project.glyphs.glyphAt(7)->charBorderRight = 6;
    builder.rebuild(project);
    project.textureSize = {512, 128};
    const std::shared_ptr<const AtlasResult> kept = builder.rebuild(project);
    EXPECT_EQ(countsOf(renderer), before);
    // What the builder kept gives what a builder starting afresh gives.
    FakeFontRenderer freshRenderer;
    AtlasBuilder fresh(freshRenderer);
    EXPECT_EQ(*kept, *fresh.rebuild(project));
}

TEST(AtlasBuilderFont, EveryPartOfTheRequestMakesANewFontAndTheGlyphsAreDrawnAgain) {
    FakeFontRenderer renderer;
    AtlasBuilder builder(renderer);
    Project project = fakeProject('a', 'e');
    builder.rebuild(project);
    const auto changes = {
        +[](Project& p) { p.font.size = 30; },
        +[](Project& p) { p.font.weight = FontSettings::kWeightBold; },
        +[](Project& p) { p.font.quality = FontSettings::kQualityNonAntialiased; },
        +[](Project& p) { p.font.italic = true; },
        +[](Project& p) { p.font.faceName = "Other Sans"; },
        +[](Project& p) { p.font.factor = 3; },
    };
    int fonts = 1;
    for (const auto& change : changes) {
        change(project);
        const int drawnBefore = renderer.renderCount;
        builder.rebuild(project);
        EXPECT_EQ(static_cast<int>(renderer.requests.size()), ++fonts);
        EXPECT_EQ(renderer.requests.back(), fontRequestFor(project));
        EXPECT_EQ(renderer.renderCount - drawnBefore, 5);
    }
}

TEST(AtlasBuilderFont, AnotherFactorAtTheSamePixelHeightKeepsTheFontAndReducesTheInkAgain) {
    // 10 points at 2x2 and 20 points without supersampling both ask for 27 pixels.
    FakeFontRenderer renderer;
    renderer.setImage('A', FakeFontRenderer::solidImage(0, 6, 0, 6, 200));
    AtlasBuilder builder(renderer);
    Project project = fakeProject('A', 'A');
    project.font.size = 10;
    project.font.factor = 2;
    const std::shared_ptr<const AtlasResult> halved = builder.rebuild(project);
    EXPECT_EQ(halved->glyphs[0].width, 3);
    project.font.size = 20;
    project.font.factor = 1;
    const std::shared_ptr<const AtlasResult> whole = builder.rebuild(project);
    EXPECT_EQ(static_cast<int>(renderer.requests.size()), 1);
    EXPECT_EQ(whole->factor, 1);
    EXPECT_EQ(whole->glyphs[0].width, 6);
    FakeFontRenderer freshRenderer;
    freshRenderer.setImage('A', renderer.imageOf('A'));
    AtlasBuilder fresh(freshRenderer);
    EXPECT_EQ(*whole, *fresh.rebuild(project));
}

TEST(AtlasBuilderFont, AFontThatCannotBeMadeGivesBorderOnlyCellsUntilTheRequestChanges) {
    FakeFontRenderer renderer;
    renderer.failure = "The typeface \"Missing\" could not be opened.";
    AtlasBuilder builder(renderer);
    Project project = fakeProject('A', 'C');
    project.font.faceName = "Missing";
    project.fontBorders = {1, 2, 3, 4};
    project.glyphs.glyphAt(1)->charBorderRight = 2;
    for (std::int32_t factor : {1, 2}) {
        project.font.factor = factor;
        const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
        EXPECT_EQ(result->fontProblem, renderer.failure);
        EXPECT_EQ(result->lineHeight, 0);
        EXPECT_EQ(result->ascent, 0.0);
        // An empty image is one pixel wide, which only factor 1 keeps.
        const int inkWidth = factor == 1 ? 1 : 0;
        ASSERT_EQ(result->glyphs.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            const PlacedGlyph& cell = result->glyphs[i];
            EXPECT_EQ(cell.width, inkWidth + 4 + (i == 1 ? 2 : 0));
            EXPECT_EQ(cell.height, 6);
            EXPECT_DOUBLE_EQ(cell.b, 1.0 / factor);
            EXPECT_EQ(cell.a, 0.0);
            EXPECT_EQ(cell.advance, 0.0);
            EXPECT_EQ(cell.glyphIndex, 0u);
        }
        EXPECT_EQ(result->glyphs[1].x, result->glyphs[0].width + 1);
        EXPECT_TRUE(std::all_of(result->pages[0].pixels.begin(), result->pages[0].pixels.end(),
                                [](std::uint8_t level) { return level == 0; }));
    }
    EXPECT_EQ(static_cast<int>(renderer.requests.size()), 2);
    // The same request is not tried again; a different one is, and works once it can.
    project.fontBorders = {};
    builder.rebuild(project);
    EXPECT_EQ(static_cast<int>(renderer.requests.size()), 2);
    renderer.failure.clear();
    project.font.faceName = "Fake Sans";
    const std::shared_ptr<const AtlasResult> made = builder.rebuild(project);
    EXPECT_EQ(static_cast<int>(renderer.requests.size()), 3);
    EXPECT_TRUE(made->fontProblem.empty());
    EXPECT_EQ(made->glyphs[0].width,
              renderer.imageOf('A', renderer.requests.back().pixelHeight).b / 2);
}

TEST(AtlasBuilderFont, CodesAboveOneByteKeepTheirOwnGlyphs) {
    FakeFontRenderer renderer;
    renderer.lineHeightValue = 6;
    renderer.lastCharacter = 0x1FFFF;
    renderer.setImage(0x1F600, FakeFontRenderer::solidImage(0, 7, 0, 6, 90));
    renderer.setImage(0x100, FakeFontRenderer::solidImage(0, 3, 0, 6, 40));
    renderer.setImage(0x00, FakeFontRenderer::solidImage(0, 2, 0, 6, 250));
    AtlasBuilder builder(renderer);
    Project project = startupProject("Fake Sans");
    for (char32_t code : {char32_t{0x1F600}, char32_t{0x100}, char32_t{0x00}}) {
        project.glyphs.addCharacter(code);
    }
    for (int pass = 0; pass < 2; ++pass) {
        const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
        const AtlasPage& page = result->pages[0];
        EXPECT_EQ(result->glyphs[0].width, 7);
        EXPECT_EQ(result->glyphs[1].width, 3);
        EXPECT_EQ(result->glyphs[2].width, 2);
        EXPECT_EQ(result->glyphs[0].glyphIndex, 0x1F600u);
        EXPECT_EQ(page.at(0, 5), 90);
        EXPECT_EQ(page.at(8, 5), 40);
        EXPECT_EQ(page.at(12, 5), 250);
        project.fontBorders.top = 1;  // the second pass draws from what the first kept
    }
    EXPECT_EQ(renderer.renderCount, 3);
}

}  // namespace
}  // namespace vemro
