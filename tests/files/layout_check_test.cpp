// The layout check: text laid out from an exported descriptor, as a game engine lays it out
// (the pen advances by xadvance plus the kerning with the next character; each rectangle is drawn
// at pen + xoffset, line top + yoffset), against HarfBuzz shaping the same text at the same size.
// Glyph by glyph, each relative to its own pen position, the step to the next character (xadvance
// plus kerning) agrees within half a pixel and the left edge of the ink (found in the exported
// page's pixels) within one pixel. Positions along a whole line drift by the rounding of integer
// advances; that is the format's nature, so it is not compared. With cells trimmed to the ink the
// same holds, and every glyph draws the pixels it draws from cells of the whole line, at the same
// place relative to its pen and the line's top (HarfBuzz's unhinted extents cannot judge rows:
// hinting moves ink up to two pixels vertically).

#include <gtest/gtest.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
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

// The coverage of a character's rectangle, by position relative to its pen and the line's top.
using Ink = std::map<std::pair<std::int64_t, std::int64_t>, int>;

Ink inkOf(const test::ReadImage& page, const std::map<std::string, std::int64_t>& c) {
    Ink ink;
    for (std::int64_t y = c.at("y"); y < c.at("y") + c.at("height"); ++y) {
        for (std::int64_t x = c.at("x"); x < c.at("x") + c.at("width"); ++x) {
            if (const int alpha =
                    page.pixels[(static_cast<std::size_t>(y) * page.width + x) * 4 + 3];
                alpha != 0) {
                ink[{x - c.at("x") + c.at("xoffset"), y - c.at("y") + c.at("yoffset")}] = alpha;
            }
        }
    }
    return ink;
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
                for (const bool borders : {false, true}) {
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
                    if (borders) {
                        project.fontBorders = {3, 2, 1, 4};
                    }
                    for (const char32_t code : text) {
                        if (!project.glyphs.contains(code)) {
                            project.glyphs.append(Glyph{code, borders ? 2 : 0, borders ? 1 : 0});
                        }
                    }
                    const Shaped shaped =
                        shapeWithHarfbuzz(file, text, pixelHeightFor(size, factor) * 64, factor);
                    ASSERT_EQ(shaped.advance.size(), text.size());
                    const DescriptorFormat format = formats[run++ % 4];
                    std::map<char32_t, Ink> wholeLineInk;
                    for (const bool trim : {false, true}) {
                        project.packing.trimToInk = trim;
                        AtlasBuilder builder(renderer);
                        const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
                        const std::string label = file + " " + std::to_string(size) +
                                                  " points, factor " + std::to_string(factor) +
                                                  (borders ? ", borders" : "") +
                                                  (trim ? ", trimmed" : "");
                        ASSERT_EQ(result->fontProblem, "") << label;
                        ASSERT_EQ(result->glyphsOutsideTexture, 0u) << label;

                        const ExportReport report = exporterFor(format).write(
                            folder.path("layout.x"), project, ExportSettings{}, *result);
                        ASSERT_TRUE(report.ok()) << report.failures.front();
                        const test::ReadFont font =
                            test::readBmfont(readBytes(report.written.back()));
                        ASSERT_EQ(font.error, "") << label;
                        const test::ReadImage page = test::readPng(folder.path(font.pages.at(0)));
                        ASSERT_TRUE(page.ok && page.channels == 4) << label;
                        std::map<char32_t, Ink> inks;
                        for (const char32_t code : text) {
                            if (!inks.contains(code)) {
                                inks[code] = inkOf(page, font.chars.at(code));
                            }
                        }
                        if (trim) {
                            // Whole-line cells truncate the ink's width at a factor above 1;
                            // trimmed ones keep it, so they may show a column those cut.
                            for (const auto& [code, whole] : wholeLineInk) {
                                const Ink& ink = inks.at(code);
                                EXPECT_TRUE(factor > 1 || ink.size() == whole.size()) << label;
                                for (const auto& [at, alpha] : whole) {
                                    const auto found = ink.find(at);
                                    ASSERT_TRUE(found != ink.end() && found->second == alpha)
                                        << label << ", character U+" << std::hex
                                        << std::uint32_t{code};
                                }
                            }
                        } else {
                            wholeLineInk = inks;
                        }

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

                            const Ink& ink = inks.at(text[i]);
                            EXPECT_EQ(!ink.empty(), !std::isnan(shaped.inkLeft[i]))
                                << label << ", character " << i;
                            if (!ink.empty()) {
                                std::int64_t left = ink.begin()->first.first;
                                for (const auto& [at, alpha] : ink) {
                                    left = std::min(left, at.first);
                                }
                                const double inkDifference =
                                    std::abs(static_cast<double>(left) - shaped.inkLeft[i]);
                                EXPECT_LE(inkDifference, 1.0) << label << ", character " << i;
                                largestInk = std::max(largestInk, inkDifference);
                            }
                            ++glyphsCompared;
                        }
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
