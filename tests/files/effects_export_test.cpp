// Exports of atlases with effects: colour pages in every image kind, the descriptors' outline,
// channels and distance field, and the layout a game makes from them, which must put the fill
// where the same export without effects puts the glyph.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"
#include "files/export/exporter.h"
#include "tests/files/bmfont_reader.h"
#include "tests/files/png_reader.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

Project dejaVu(std::int32_t size, std::int32_t factor, const std::u32string& text) {
    Project project = startupProject("DejaVu Sans");
    project.font.size = size;
    project.font.factor = factor;
    project.textureSize = {2048, 1024};
    for (const char32_t code : text) {
        project.glyphs.addCharacter(code);
    }
    return project;
}

struct Exported {
    test::ReadFont font;
    std::vector<std::uint8_t> descriptor;
};

Exported exportWith(const TestFolder& folder, const std::string& name, Project project,
                    FontRenderer& renderer, DescriptorFormat format, PageImage image) {
    AtlasBuilder builder(renderer);
    const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
    EXPECT_EQ(result->glyphsOutsideTexture, 0u);
    const ExportReport report = exporterFor(format).write(folder.path(name), project,
                                                          ExportSettings{format, image}, *result);
    EXPECT_TRUE(report.ok()) << report.failures.front();
    Exported exported;
    if (format != DescriptorFormat::Tfd) {
        exported.descriptor = readBytes(report.written.back());
        exported.font = test::readBmfont(exported.descriptor);
        EXPECT_EQ(exported.font.error, "");
    }
    return exported;
}

std::string channels(const test::ReadFont& font) {
    return font.common.at("alphaChnl") + font.common.at("redChnl") + font.common.at("greenChnl") +
           font.common.at("blueChnl");
}

// A fill colour alone makes colour pages: the fill's colour everywhere and the coverage as
// alpha, in a PNG whatever image was asked for, and in the .tfd export's Targa image (rows bottom
// first, blue, green, red, alpha). With an outline the channels hold glyph and outline.
TEST(EffectsExport, ColourPagesHoldTheComposedGlyphsInEveryImageKind) {
    FreetypeFontRenderer renderer;
    TestFolder folder;
    Project coloured = dejaVu(16, 1, U"Wa\u20ACg");
    AtlasBuilder builder(renderer);
    const AtlasPage coverage = builder.rebuild(coloured)->pages.front();
    coloured.effects.fill = Rgb{255, 128, 0};
    const Exported png8 = exportWith(folder, "png", coloured, renderer,
                                     DescriptorFormat::BmfontText, PageImage::Png8);
    EXPECT_EQ(channels(png8.font), "0000");
    exportWith(folder, "tfd.x", coloured, renderer, DescriptorFormat::Tfd, PageImage::Tga);
    const test::ReadImage png = test::readPng(folder.path("png_0.png"));
    const std::vector<std::uint8_t> tga = readBytes(folder.path("tfd.tga"));
    ASSERT_TRUE(png.ok && png.channels == 4 && tga.size() == 18 + coverage.pixels.size() * 4);
    for (std::int32_t y = 0; y < coverage.height; ++y) {
        for (std::int32_t x = 0; x < coverage.width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y * coverage.width + x) * 4;
            const std::size_t bottomUp =
                18 + static_cast<std::size_t>((coverage.height - 1 - y) * coverage.width + x) * 4;
            const std::vector<std::uint8_t> expected{255, 128, 0, coverage.at(x, y)};
            ASSERT_EQ(
                std::vector<std::uint8_t>(png.pixels.begin() + at, png.pixels.begin() + at + 4),
                expected);
            ASSERT_EQ((std::vector<std::uint8_t>{tga[bottomUp + 2], tga[bottomUp + 1],
                                                 tga[bottomUp], tga[bottomUp + 3]}),
                      expected);
        }
    }
    coloured.effects.outline = true;
    coloured.effects.outlineWidth = 3;
    const Exported outlined = exportWith(folder, "outline", coloured, renderer,
                                         DescriptorFormat::BmfontBinary, PageImage::Png);
    EXPECT_EQ(channels(outlined.font), "2222");
    EXPECT_EQ(outlined.font.info.at("outline"), "3");
}

// Distance fields: pages of the field at factor 1 whatever the project's factor, in the kind's
// channels whatever image was asked for (sdf and psdf as the alpha of white, msdf as 24-bit RGB in
// PNG and Targa, mtsdf as RGBA), and in JSON and XML a distanceField of the kind's type whose
// range is twice the spread, the channel fields saying what each channel holds; nothing of it
// without one.
TEST(EffectsExport, DistanceFieldsDescribedAsTheJavaScriptRenderersExpect) {
    FreetypeFontRenderer renderer;
    TestFolder folder;
    Project project = dejaVu(20, 4, U"Sdf");
    project.effects.spread = 6;
    project.effects.outline = true;  // no outline in a distance field
    const struct {
        DistanceField kind;
        const char* type;
        std::size_t channels;
        const char* held;  // alpha, red, green and blue channel fields
    } kinds[] = {{DistanceField::Sdf, "sdf", 1, "0444"},
                 {DistanceField::Psdf, "psdf", 1, "0444"},
                 {DistanceField::Msdf, "msdf", 3, "4000"},
                 {DistanceField::Mtsdf, "mtsdf", 4, "0000"}};
    for (const auto& kind : kinds) {
        project.effects.distanceField = kind.kind;
        const test::ReadFont::Values field{{"fieldType", kind.type}, {"distanceRange", "12"}};
        const Exported json =
            exportWith(folder, "f.x", project, renderer, DescriptorFormat::Json, PageImage::Png8);
        EXPECT_EQ(json.font.distanceField, field);
        EXPECT_EQ(channels(json.font), kind.held) << kind.type;
        EXPECT_EQ(json.font.info.at("aa") + json.font.info.at("outline"), "10");
        EXPECT_EQ(json.font.info.at("size"), std::to_string(pixelHeightFor(20, 1)));
        EXPECT_EQ(exportWith(folder, "g.x", project, renderer, DescriptorFormat::BmfontXml,
                             PageImage::Png)
                      .font.distanceField,
                  field);
        AtlasBuilder builder(renderer);
        const AtlasPage atlas = builder.rebuild(project)->pages.front();
        const test::ReadImage page = test::readPng(folder.path("f_0.png"));
        ASSERT_EQ(page.channels, kind.channels == 1 ? 4 : kind.channels) << kind.type;
        if (kind.channels == 1) {
            ASSERT_EQ(page.pixels.size(), atlas.pixels.size() * 4);
            for (std::size_t i = 0; i < atlas.pixels.size(); ++i) {
                ASSERT_EQ(page.pixels[4 * i + 3], atlas.pixels[i]) << "the field in alpha, " << i;
            }
        } else {
            EXPECT_EQ(page.pixels, atlas.pixels) << kind.type;
        }
        // Targa: blue, green and red (and alpha), the bottom row first.
        exportWith(folder, "t.x", project, renderer, DescriptorFormat::BmfontText, PageImage::Tga);
        const std::vector<std::uint8_t> tga = readBytes(folder.path("t_0.tga"));
        const std::size_t bytes = kind.channels == 3 ? 3 : 4;
        const auto width = static_cast<std::size_t>(atlas.width);
        const auto height = static_cast<std::size_t>(atlas.height);
        ASSERT_EQ(tga.size(), 18 + bytes * width * height);
        EXPECT_EQ(tga[16], bytes * 8);
        for (std::size_t i = 0; kind.channels >= 3 && i < width * height; ++i) {
            const std::size_t file = ((height - 1 - i / width) * width + i % width) * bytes;
            for (std::size_t c = 0; c < kind.channels; ++c) {
                ASSERT_EQ(tga[18 + file + (c < 3 ? 2 - c : c)],
                          atlas.pixels[i * kind.channels + c]);
            }
        }
    }
    project.effects.distanceField = DistanceField::None;
    const Exported plain =
        exportWith(folder, "h.x", project, renderer, DescriptorFormat::Json, PageImage::Png);
    EXPECT_EQ(std::string(plain.descriptor.begin(), plain.descriptor.end()).find("distance"),
              std::string::npos);
}

// The first column and row of the fill in each character's rectangle, counted from the pen and
// the line's top as a game places the rectangle (xoffset, yoffset); `holdsFill` says whether a
// pixel (red, green, blue, alpha) holds any of it.
template <typename HoldsFill>
std::map<std::uint32_t, std::pair<std::int64_t, std::int64_t>> fillPlaces(const Exported& exported,
                                                                          const TestFolder& folder,
                                                                          HoldsFill holdsFill) {
    const test::ReadImage page = test::readPng(folder.path(exported.font.pages.at(0)));
    EXPECT_TRUE(page.ok && page.channels == 4);
    std::map<std::uint32_t, std::pair<std::int64_t, std::int64_t>> places;
    for (const auto& [id, c] : exported.font.chars) {
        std::optional<std::int64_t> column;
        std::optional<std::int64_t> row;
        for (std::int64_t y = c.at("y"); y < c.at("y") + c.at("height"); ++y) {
            for (std::int64_t x = c.at("x"); x < c.at("x") + c.at("width"); ++x) {
                const std::uint8_t* pixel =
                    page.pixels.data() + (static_cast<std::size_t>(y) * page.width + x) * 4;
                if (holdsFill(pixel)) {
                    column = std::min(column.value_or(x - c.at("x")), x - c.at("x"));
                    row = row.value_or(y - c.at("y"));
                }
            }
        }
        if (column) {
            places[id] = {c.at("xoffset") + *column, c.at("yoffset") + *row};
        }
    }
    return places;
}

// With an outline and a shadow reaching further on some sides than on others, the fill's first
// column and row land exactly where the glyph's do without effects; advances, line metrics and
// kerning stay. A distance field thresholded between its values 128 and 129 lands within a
// pixel of the coverage's half-covered pixels.
TEST(EffectsExport, TheFillLandsWhereTheGlyphLandsWithoutEffects) {
    FreetypeFontRenderer renderer;
    TestFolder folder;
    const auto holdsInk = [](const std::uint8_t* pixel) { return pixel[3] != 0; };
    const auto holdsHalf = [](const std::uint8_t* pixel) { return pixel[3] >= 128; };
    const auto holdsWhite = [](const std::uint8_t* pixel) { return pixel[0] != 0; };
    const auto beyondEdge = [](const std::uint8_t* pixel) { return pixel[3] > 128; };
    for (const std::int32_t size : {11, 32, 100}) {
        const std::u32string text =
            size == 100 ? U"AVAT To Wa yo.gj" : U"The quick brown fox jumps over the lazy dog.";
        for (const std::int32_t factor : {1, 3}) {
            const Project plain = dejaVu(size, factor, text);
            const auto format = factor == 1 ? DescriptorFormat::BmfontText : DescriptorFormat::Json;
            const Exported without =
                exportWith(folder, "plain.x", plain, renderer, format, PageImage::Png);
            Project effects = plain;
            effects.effects.outline = true;
            effects.effects.outlineWidth = 3;
            effects.effects.shadow = true;
            effects.effects.shadowX = -4;
            effects.effects.shadowY = 5;
            effects.effects.shadowBlur = 2;
            const Exported with =
                exportWith(folder, "effects.x", effects, renderer, format, PageImage::Png);
            const std::string label =
                std::to_string(size) + " points, factor " + std::to_string(factor);
            EXPECT_EQ(fillPlaces(with, folder, holdsWhite), fillPlaces(without, folder, holdsInk))
                << label;
            for (const auto& [id, c] : without.font.chars) {
                EXPECT_EQ(with.font.chars.at(id).at("xadvance"), c.at("xadvance")) << label;
            }
            EXPECT_EQ(with.font.kernings, without.font.kernings) << label;
            EXPECT_EQ(with.font.common.at("lineHeight") + "," + with.font.common.at("base"),
                      without.font.common.at("lineHeight") + "," + without.font.common.at("base"));
            if (factor != 1) {
                continue;
            }
            Project field = plain;
            field.effects.distanceField = DistanceField::Sdf;
            field.effects.spread = 8;
            const auto edges = fillPlaces(without, folder, holdsHalf);
            const auto fields =
                fillPlaces(exportWith(folder, "sdf.x", field, renderer, format, PageImage::Png),
                           folder, beyondEdge);
            ASSERT_EQ(fields.size(), edges.size()) << label;
            for (const auto& [id, place] : edges) {
                EXPECT_LE(std::abs(fields.at(id).first - place.first), 1) << label << " " << id;
                EXPECT_LE(std::abs(fields.at(id).second - place.second), 1) << label << " " << id;
            }
        }
    }
}

}  // namespace
}  // namespace vemro
