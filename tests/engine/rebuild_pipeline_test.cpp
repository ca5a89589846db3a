// Whole rebuilds with DejaVu Sans through FreeType.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <set>

#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"
#include "engine/text/windows1252.h"

namespace vemro {
namespace {

// DejaVu Sans with the characters of Windows-1252 from the space on.
Project dejaVu(std::int32_t size, std::int32_t factor,
               std::int32_t quality = FontSettings::kQualityAntialiased,
               AtlasSize texture = {512, 512}) {
    Project project = startupProject("DejaVu Sans");
    project.font.size = size;
    project.font.factor = factor;
    project.font.quality = quality;
    project.textureSize = texture;
    for (int code = 32; code <= 255; ++code) {
        project.glyphs.addCharacter(windows1252ToUnicode(static_cast<std::uint8_t>(code)));
    }
    return project;
}

bool columnHasInk(const AtlasResult& atlas, const PlacedGlyph& cell, int column) {
    for (int y = cell.y; y < cell.y + cell.height; ++y) {
        if (atlas.pages[0].at(cell.x + column, y) != 0) {
            return true;
        }
    }
    return false;
}

bool rowHasInk(const AtlasResult& atlas, const PlacedGlyph& cell, int row) {
    for (int x = cell.x; x < cell.x + cell.width; ++x) {
        if (atlas.pages[0].at(x, cell.y + row) != 0) {
            return true;
        }
    }
    return false;
}

bool cellInsidePage(const PlacedGlyph& cell, const AtlasResult& atlas) {
    return cell.x + cell.width <= atlas.pages[0].width &&
           cell.y + cell.height <= atlas.pages[0].height;
}

class RebuildPipeline : public ::testing::Test {
protected:
    FreetypeFontRenderer renderer;
    AtlasBuilder builder{renderer};
};

TEST_F(RebuildPipeline, WithoutBordersInkFillsTheCellFromItsFirstToItsLastColumn) {
    const std::shared_ptr<const AtlasResult> atlas = builder.rebuild(dejaVu(11, 1));
    ASSERT_TRUE(atlas->fontProblem.empty()) << atlas->fontProblem;
    int inked = 0;
    for (const PlacedGlyph& cell : atlas->glyphs) {
        ASSERT_TRUE(cellInsidePage(cell, *atlas));
        bool any = false;
        for (int column = 0; column < cell.width && !any; ++column) {
            any = columnHasInk(*atlas, cell, column);
        }
        if (!any) {
            continue;  // the space and friends
        }
        ++inked;
        EXPECT_TRUE(columnHasInk(*atlas, cell, 0)) << std::uint32_t{cell.code};
        EXPECT_TRUE(columnHasInk(*atlas, cell, cell.width - 1)) << std::uint32_t{cell.code};
    }
    EXPECT_GT(inked, 150);
}

TEST_F(RebuildPipeline, BordersStayEmpty) {
    Project project = dejaVu(11, 1);
    project.fontBorders = {2, 1, 3, 4};
    const std::shared_ptr<const AtlasResult> atlas = builder.rebuild(project);
    for (const PlacedGlyph& cell : atlas->glyphs) {
        if (!cellInsidePage(cell, *atlas)) {
            continue;
        }
        for (int column : {0, 1, cell.width - 3, cell.width - 2, cell.width - 1}) {
            EXPECT_FALSE(columnHasInk(*atlas, cell, column))
                << std::uint32_t{cell.code} << " column " << column;
        }
        for (int row : {0, cell.height - 4, cell.height - 3, cell.height - 2, cell.height - 1}) {
            EXPECT_FALSE(rowHasInk(*atlas, cell, row))
                << std::uint32_t{cell.code} << " row " << row;
        }
    }
}

TEST_F(RebuildPipeline, NonAntialiasedAtFactorTwoGivesOnlyQuarterSteps) {
    const std::shared_ptr<const AtlasResult> atlas =
        builder.rebuild(dejaVu(16, 2, FontSettings::kQualityNonAntialiased));
    const std::set<std::uint8_t> levels(atlas->pages[0].pixels.begin(),
                                        atlas->pages[0].pixels.end());
    EXPECT_EQ(levels, (std::set<std::uint8_t>{0, 63, 127, 191, 255}));
}

TEST_F(RebuildPipeline, LargeCellsKeepTheirDescenders) {
    Project project = startupProject("DejaVu Sans");
    project.glyphs.addCharacter('g');
    project.textureSize = {512, 512};
    project.font.size = 100;
    project.font.factor = 4;
    const std::shared_ptr<const AtlasResult> atlas = builder.rebuild(project);
    const PlacedGlyph& cell = atlas->glyphs[0];
    ASSERT_GT(cell.height, 128);  // more than 512 supersampled rows
    bool inkBelow = false;
    for (int row = 128; row < cell.height; ++row) {
        inkBelow = inkBelow || rowHasInk(*atlas, cell, row);
    }
    EXPECT_TRUE(inkBelow);
}

TEST_F(RebuildPipeline, SameProjectGivesTheSameAtlas) {
    const Project project = dejaVu(24, 3);
    const AtlasResult first = *builder.rebuild(project);
    EXPECT_EQ(*builder.rebuild(project), first);
    FreetypeFontRenderer otherRenderer;
    AtlasBuilder other(otherRenderer);
    EXPECT_EQ(*other.rebuild(project), first);
}

TEST_F(RebuildPipeline, ChangingOnlyTheFactorKeepsCellSizesClose) {
    const std::shared_ptr<const AtlasResult> single = builder.rebuild(dejaVu(20, 1));
    const std::shared_ptr<const AtlasResult> four = builder.rebuild(dejaVu(20, 4));
    ASSERT_EQ(four->glyphs.size(), single->glyphs.size());
    for (std::size_t i = 0; i < single->glyphs.size(); ++i) {
        EXPECT_NEAR(four->glyphs[i].width, single->glyphs[i].width, 2)
            << std::uint32_t{single->glyphs[i].code};
        EXPECT_NEAR(four->glyphs[i].height, single->glyphs[i].height, 1);
        EXPECT_NEAR(four->glyphs[i].advance, single->glyphs[i].advance, 0.5);
    }
}

TEST_F(RebuildPipeline, AFontFileIsUsedAndOneThatCannotBeOpenedGivesWayToTheTypeface) {
    Project project = dejaVu(20, 1);
    const std::shared_ptr<const AtlasResult> installed = builder.rebuild(project);
    EXPECT_EQ(installed->fontName, "DejaVu Sans");
    project.font.fontFile = "/no/such/folder/game.ttf";
    AtlasBuilder other(renderer);
    AtlasResult fallback = *other.rebuild(project);
    EXPECT_EQ(fallback.fontProblem,
              "the font file \"/no/such/folder/game.ttf\" could not be opened: there is no such "
              "file; using \"DejaVu Sans\" instead");
    fallback.fontProblem.clear();
    EXPECT_EQ(fallback, *installed);
    project.font.fontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    project.font.faceName = "DejaVu Serif";  // the file decides, not the typeface
    EXPECT_EQ(*builder.rebuild(project), *installed);
}

TEST_F(RebuildPipeline, CharactersTheFaceLacksAreListedOnceInListOrder) {
    Project project = startupProject("DejaVu Sans");
    for (const char32_t code : {U'A', U'\u4E00', U'\u3042', U'B'}) {
        project.glyphs.addCharacter(code);
    }
    project.glyphs.append(Glyph{U'\u4E00', 1, 0});
    const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
    EXPECT_EQ(charactersMissingFromFont(*result), (std::vector<char32_t>{0x4E00, 0x3042}));
    const std::vector<char32_t>& inFace = *result->fontCharacters;
    EXPECT_TRUE(std::binary_search(inFace.begin(), inFace.end(), U'A'));
    EXPECT_FALSE(std::binary_search(inFace.begin(), inFace.end(), U'\u3042'));
}

// The characters drawn by the fonts of one renderer, which may draw on several threads at once.
struct DrawnCharacters {
    std::mutex mutex;
    std::set<char32_t> codes;
};

// Passes everything on, remembering which characters were drawn; optionally refuses to measure,
// so that the builder has to draw every character it needs the widths of.
class RecordingFont final : public Font {
public:
    RecordingFont(std::unique_ptr<Font> inner, bool measures, DrawnCharacters& drawn)
        : inner_(std::move(inner)), measures_(measures), drawn_(drawn) {}

    std::int32_t lineHeight() const override { return inner_->lineHeight(); }
    std::int32_t ascent() const override { return inner_->ascent(); }
    GlyphImage renderGlyph(char32_t code) override {
        {
            const std::lock_guard lock(drawn_.mutex);
            drawn_.codes.insert(code);
        }
        return inner_->renderGlyph(code);
    }
    std::optional<GlyphMetrics> measureGlyph(char32_t code) override {
        return measures_ ? inner_->measureGlyph(code) : std::nullopt;
    }
    GlyphInfo glyphInfo(char32_t code) override { return inner_->glyphInfo(code); }
    std::string familyName() const override { return inner_->familyName(); }
    std::vector<char32_t> characters() override { return inner_->characters(); }

private:
    std::unique_ptr<Font> inner_;
    bool measures_;
    DrawnCharacters& drawn_;
};

class RecordingRenderer final : public FontRenderer {
public:
    RecordingRenderer(FontRenderer& inner, bool measures) : inner_(inner), measures_(measures) {}

    const std::vector<std::string>& faceNames() override { return inner_.faceNames(); }
    Result<std::vector<FontFileFace>> inspectFontFile(const std::string& path) override {
        return inner_.inspectFontFile(path);
    }
    Result<std::unique_ptr<Font>> createFont(const FontRequest& request) override {
        Result<std::unique_ptr<Font>> made = inner_.createFont(request);
        if (!made) {
            return made;
        }
        return std::unique_ptr<Font>(
            std::make_unique<RecordingFont>(std::move(made.value()), measures_, drawn));
    }

    DrawnCharacters drawn;

private:
    FontRenderer& inner_;
    bool measures_;
};

TEST(AtlasWithFreetype, MeasuringInsteadOfDrawingGivesTheSameAtlasAndSkipsCellsOutside) {
    struct Case {
        int size;
        int factor;
        int quality;
        int weight;
        bool italic;
        AtlasSize texture;
        FontBorders borders;
    };
    const Case cases[] = {
        {100, 4, FontSettings::kQualityAntialiased, 400, false, {512, 512}, {}},
        {32, 4, FontSettings::kQualityAntialiased, 700, true, {512, 256}, {1, 0, 2, 1}},
        {60, 2, FontSettings::kQualityNonAntialiased, 400, false, {256, 256}, {0, 3, 0, 0}},
        {24, 3, FontSettings::kQualityAntialiased, 400, true, {128, 512}, {}},
        {11, 1, FontSettings::kQualityAntialiased, 600, false, {64, 64}, {2, 2, 2, 2}},
    };
    FreetypeFontRenderer freetype;
    for (const Case& c : cases) {
        Project project = dejaVu(c.size, c.factor, c.quality, c.texture);
        project.font.weight = c.weight;
        project.font.italic = c.italic;
        project.fontBorders = c.borders;
        project.glyphs.glyphAt(5)->charBorderLeft = 3;
        project.glyphs.glyphAt(5)->charBorderRight = -2;
        RecordingRenderer measuring(freetype, true);
        RecordingRenderer drawing(freetype, false);
        AtlasBuilder measured(measuring);
        AtlasBuilder drawn(drawing);
        const std::shared_ptr<const AtlasResult> result = measured.rebuild(project);
        EXPECT_EQ(*result, *drawn.rebuild(project)) << c.size;

        int outside = 0;
        for (const PlacedGlyph& cell : result->glyphs) {
            if (cell.y >= 2 * c.texture.height) {
                ++outside;
                EXPECT_EQ(measuring.drawn.codes.count(cell.code), 0u)
                    << "code " << std::uint32_t{cell.code} << " at size " << c.size;
            }
        }
        if (c.size >= 60) {
            EXPECT_GT(outside, 20) << c.size;  // the case really leaves characters far outside
        }
    }
}

TEST(AtlasWithFreetype, CharactersMeasuredOutsideAreDrawnOnceTheTextureReachesThem) {
    FreetypeFontRenderer freetype;
    RecordingRenderer measuring(freetype, true);
    AtlasBuilder builder(measuring);
    Project project = dejaVu(40, 2, FontSettings::kQualityAntialiased, {512, 128});
    builder.rebuild(project);
    const std::size_t drawnFirst = measuring.drawn.codes.size();
    ASSERT_LT(drawnFirst, 224u);
    project.textureSize = {512, 512};
    const std::shared_ptr<const AtlasResult> grown = builder.rebuild(project);
    EXPECT_GT(measuring.drawn.codes.size(), drawnFirst);

    RecordingRenderer drawing(freetype, false);
    AtlasBuilder fresh(drawing);
    EXPECT_EQ(*grown, *fresh.rebuild(project));
}

}  // namespace
}  // namespace vemro
