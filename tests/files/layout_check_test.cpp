// The layout check: text laid out from an exported descriptor, as a game engine lays it out
// (the pen advances by xadvance plus the kerning with the next character; each rectangle is drawn
// at pen + xoffset, line top + yoffset), against HarfBuzz shaping the same text at the same size.
// Glyph by glyph, each relative to its own pen position, the step to the next character (xadvance
// plus kerning) agrees within half a pixel and the left edge of the ink (found in the exported
// page's pixels) within one pixel. Positions along a whole line drift by the rounding of integer
// advances; that is the format's nature, so it is not compared. With cells trimmed to the ink the
// same holds, and the ink's first column and row lie where cells of the whole line put them.

#include <gtest/gtest.h>
#include <hb.h>

#include <cmath>
#include <iostream>
#include <memory>
#include <string>

#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"
#include "files/export/exporter.h"
#include "tests/files/bmfont_reader.h"
#include "tests/files/png_reader.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

const std::string kFolder = "/usr/share/fonts/truetype/dejavu/";
// Kerning only in GPOS.
const std::string kCarlito = "/usr/share/fonts/truetype/crosextra/Carlito-Regular.ttf";

// HarfBuzz's advance and ink left edge of each character of the text, in atlas pixels from its
// pen, shaped at the size the atlas draws (factor times the atlas's), without the ligatures that
// would join characters the descriptor keeps apart.
struct Shaped {
    std::vector<double> advance;
    std::vector<double> inkLeft;  // NaN for a glyph without ink
};

Shaped shapeWithHarfbuzz(const std::string& fontFile, const std::u32string& text, int scale,
                         int factor) {
    hb_blob_t* blob = hb_blob_create_from_file(fontFile.c_str());
    hb_face_t* face = hb_face_create(blob, 0);
    hb_font_t* font = hb_font_create(face);
    hb_font_set_scale(font, scale, scale);
    hb_buffer_t* buffer = hb_buffer_create();
    hb_buffer_add_utf32(buffer, reinterpret_cast<const std::uint32_t*>(text.data()),
                        static_cast<int>(text.size()), 0, static_cast<int>(text.size()));
    hb_buffer_guess_segment_properties(buffer);
    const hb_feature_t noLigatures[] = {{HB_TAG('l', 'i', 'g', 'a'), 0, 0, ~0u},
                                        {HB_TAG('c', 'l', 'i', 'g'), 0, 0, ~0u}};
    hb_shape(font, buffer, noLigatures, 2);
    unsigned length = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &length);
    const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer, &length);
    Shaped shaped;
    for (unsigned i = 0; i < length; ++i) {
        hb_glyph_extents_t extents{};
        hb_font_get_glyph_extents(font, info[i].codepoint, &extents);
        shaped.advance.push_back(position[i].x_advance / (64.0 * factor));
        shaped.inkLeft.push_back(extents.width == 0 ? NAN
                                                    : (position[i].x_offset + extents.x_bearing) /
                                                          (64.0 * factor));
    }
    hb_buffer_destroy(buffer);
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return shaped;
}

// The first column and the first row of the rectangle that hold any coverage, or nothing.
std::optional<std::pair<std::int64_t, std::int64_t>> firstInk(
    const test::ReadImage& page, const std::map<std::string, std::int64_t>& c) {
    const auto alpha = [&](std::int64_t x, std::int64_t y) {
        const auto row = static_cast<std::size_t>(c.at("y") + y) * page.width;
        return page.pixels[(row + static_cast<std::size_t>(c.at("x") + x)) * 4 + 3];
    };
    std::optional<std::pair<std::int64_t, std::int64_t>> first;
    for (std::int64_t y = 0; y < c.at("height"); ++y) {
        for (std::int64_t x = 0; x < c.at("width"); ++x) {
            if (alpha(x, y) != 0) {
                first = std::pair(std::min(first ? first->first : x, x), first ? first->second : y);
            }
        }
    }
    return first;
}

TEST(LayoutCheck, TextLaidOutFromTheDescriptorFollowsHarfbuzzGlyphByGlyph) {
    const std::u32string pangram = U"The quick brown fox jumps over the lazy dog. AV To Wa";
    const std::u32string shortText = U"AVAT To Wa yo.";  // few enough characters for size 100
    // At 24 points (32 pixels), every ordered pair of printable ASCII and Latin-1 letters:
    // "abac..."
    std::u32string everyPair;
    for (char32_t a = 32; a < 256; a = a == 126 ? 0xC0 : a + 1) {
        for (char32_t b = 32; b < 256; b = b == 126 ? 0xC0 : b + 1) {
            everyPair += {a, b};
        }
    }
    const DescriptorFormat formats[] = {DescriptorFormat::BmfontText, DescriptorFormat::BmfontXml,
                                        DescriptorFormat::BmfontBinary, DescriptorFormat::Json};
    FreetypeFontRenderer renderer;
    TestFolder folder;
    double largestAdvance = 0.0;
    double largestInk = 0.0;
    std::size_t glyphsCompared = 0;
    std::size_t run = 0;
    for (const std::string& file :
         {kFolder + "DejaVuSans.ttf", kFolder + "DejaVuSerif.ttf", kCarlito}) {
        for (const std::int32_t size : {11, 24, 32, 100}) {
            for (std::int32_t factor = 1; factor <= 4; ++factor) {
                // Cells of the whole line, then trimmed to the ink, without and with borders.
                std::map<char32_t, std::pair<std::int64_t, std::int64_t>> wholeLineInk;
                for (const int variant : {0, 2, 1, 3}) {
                    const bool borders = (variant & 1) != 0;
                    const bool trim = variant >= 2;
                    if (size == 24 && (factor > 1 || borders || file.ends_with("Serif.ttf"))) {
                        continue;
                    }
                    const std::u32string& text = size == 100  ? shortText
                                                 : size == 24 ? everyPair
                                                              : pangram;
                    Project project = startupProject("DejaVu Sans");
                    project.font.fontFile = file;
                    project.font.size = size;
                    project.font.factor = factor;
                    project.textureSize = {512, 512};
                    project.packing.trimToInk = trim;
                    if (borders) {
                        project.fontBorders = {3, 2, 1, 4};
                    }
                    for (const char32_t code : text) {
                        if (!project.glyphs.contains(code)) {
                            project.glyphs.append(Glyph{code, borders ? 2 : 0, borders ? 1 : 0});
                        }
                    }
                    AtlasBuilder builder(renderer);
                    const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
                    const std::string label = file + " " + std::to_string(size) +
                                              " points, factor " + std::to_string(factor) +
                                              (borders ? ", borders" : "") +
                                              (trim ? ", trimmed" : "");
                    ASSERT_EQ(result->fontProblem, "") << label;
                    ASSERT_EQ(result->glyphsOutsideTexture, 0u) << label;

                    const DescriptorFormat format = formats[run++ % 4];
                    const ExportReport report = exporterFor(format).write(
                        folder.path("layout.x"), project, ExportSettings{}, *result);
                    ASSERT_TRUE(report.ok()) << report.failures.front();
                    const test::ReadFont font = test::readBmfont(readBytes(report.written.back()));
                    ASSERT_EQ(font.error, "") << label;
                    const test::ReadImage page = test::readPng(folder.path(font.pages.at(0)));
                    ASSERT_TRUE(page.ok && page.channels == 4) << label;

                    const Shaped shaped =
                        shapeWithHarfbuzz(file, text, pixelHeightFor(size, factor) * 64, factor);
                    ASSERT_EQ(shaped.advance.size(), text.size()) << label;
                    std::map<char32_t, std::optional<std::pair<std::int64_t, std::int64_t>>> inks;
                    for (std::size_t i = 0; i < text.size(); ++i) {
                        const auto& c = font.chars.at(text[i]);
                        std::int64_t advance = c.at("xadvance");
                        if (i + 1 < text.size()) {
                            const auto kerning = font.kernings.find({text[i], text[i + 1]});
                            advance += kerning == font.kernings.end() ? 0 : kerning->second;
                        }
                        const double advanceDifference =
                            std::abs(static_cast<double>(advance) - shaped.advance[i]);
                        EXPECT_LE(advanceDifference, 0.5) << label << ", character " << i;
                        largestAdvance = std::max(largestAdvance, advanceDifference);

                        if (!inks.contains(text[i])) {
                            inks[text[i]] = firstInk(page, c);
                        }
                        const auto& ink = inks[text[i]];
                        EXPECT_EQ(ink.has_value(), !std::isnan(shaped.inkLeft[i]))
                            << label << ", character " << i;
                        if (ink) {
                            const auto at = std::pair(c.at("xoffset") + ink->first,
                                                      c.at("yoffset") + ink->second);
                            if (!trim) {
                                wholeLineInk[text[i]] = at;
                            }
                            EXPECT_EQ(at, wholeLineInk.at(text[i])) << label << ", character " << i;
                            const double inkDifference =
                                std::abs(static_cast<double>(at.first) - shaped.inkLeft[i]);
                            EXPECT_LE(inkDifference, 1.0) << label << ", character " << i;
                            largestInk = std::max(largestInk, inkDifference);
                        }
                        ++glyphsCompared;
                    }
                }
            }
        }
    }
    std::cout << "layout check: " << glyphsCompared << " glyphs, largest difference "
              << largestAdvance << " px in advance, " << largestInk
              << " px at the ink's left edge\n";
}

}  // namespace
}  // namespace vemro
