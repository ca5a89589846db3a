// Fallback faces and colour glyphs in a rebuilt atlas, against FreeType and HarfBuzz reading the
// same fonts: CJK characters drawn from a fallback, as coverage or as distance fields, sit on the
// primary face's line where HarfBuzz puts that face's glyphs; a colour strike is scaled with the
// box filter a plain reference computes, and its colours survive into the atlas.

#include <ft2build.h>
#include <gtest/gtest.h>
#include <hb.h>
#include FT_FREETYPE_H

#include <cmath>
#include <random>
#include <vector>

#include "engine/atlas/atlas_builder.h"
#include "engine/font/colour_box_filter.h"
#include "engine/font/freetype_font_renderer.h"

namespace vemro {
namespace {

const std::string kDroid = "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf";
const std::string kEmoji = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf";

Project projectOf(const std::u32string& text, std::vector<FallbackFace> fallbacks) {
    Project project = startupProject("DejaVu Sans");
    project.font.size = 24;  // 32 px
    project.textureSize = AtlasSize{2048, 2048};
    project.fallbacks = std::move(fallbacks);
    for (const char32_t code : text) {
        project.glyphs.addCharacter(code);
    }
    return project;
}

// The first row of the cell holding ink (alpha on a colour page; a distance field's inside), or
// -1.
int firstInkRow(const AtlasResult& result, const PlacedGlyph& cell) {
    const AtlasPage& page = result.pages[static_cast<std::size_t>(cell.page)];
    const int alpha = page.channels == 4 ? 3 : 0;
    const int outside = result.encoding.isField() ? 128 : 0;
    for (int y = 0; y < cell.height; ++y) {
        for (int x = 0; x < cell.width; ++x) {
            if (page.at(cell.x + x, cell.y + y, alpha) > outside) {
                return y;
            }
        }
    }
    return -1;
}

// The reference downscale: every source pixel split into outWidth x outHeight equal parts, and
// each output pixel the plain average of the width x height parts under it, in linear light with
// premultiplied alpha.
std::vector<double> referenceDownscale(const std::vector<std::uint8_t>& rgba, int width, int height,
                                       int outWidth, int outHeight) {
    std::vector<double> out(static_cast<std::size_t>(outWidth) * outHeight * 4, 0.0);
    for (int y = 0; y < height * outHeight; ++y) {
        for (int x = 0; x < width * outWidth; ++x) {
            const std::uint8_t* pixel =
                &rgba[(static_cast<std::size_t>(y / outHeight) * width + x / outWidth) * 4];
            double* target =
                &out[(static_cast<std::size_t>(y / height) * outWidth + x / width) * 4];
            const double alpha = pixel[3] / 255.0;
            for (int c = 0; c < 3; ++c) {
                target[c] += linearFromSrgb(pixel[c]) * alpha;
            }
            target[3] += alpha;
        }
    }
    for (std::size_t i = 0; i < out.size(); i += 4) {
        for (int c = 0; c < 3; ++c) {
            out[i + c] =
                out[i + 3] > 0 ? srgbFromLinear(static_cast<float>(out[i + c] / out[i + 3])) : 0;
        }
        out[i + 3] = out[i + 3] / (static_cast<double>(width) * height) * 255.0;
    }
    return out;
}

TEST(FallbackFaces, CjkGlyphsSitOnThePrimaryLineWhereHarfbuzzPutsThem) {
    std::u32string text = U"AVAé";
    for (char32_t code = 0x4E00; code < 0x9FA0; code += 97) {
        text += code;
    }
    FreetypeFontRenderer renderer;
    AtlasBuilder builder(renderer);
    // Full-height cells, cells trimmed to the ink (whose rows start at lineTop), and distance
    // fields (whose cells start the spread above the line).
    for (const int variant : {0, 1, 2}) {
        Project project = projectOf(text, {FallbackFace{"", kDroid, 0}});
        project.packing.trimToInk = variant == 1;
        project.effects.distanceField = variant == 2 ? DistanceField::Sdf : DistanceField::None;
        const std::int32_t fieldTop = variant == 2 ? project.effects.spread : 0;
        const auto result = builder.rebuild(project);
        ASSERT_TRUE(result->fontProblem.empty()) << result->fontProblem;
        EXPECT_EQ(result->fontName, "DejaVu Sans");
        EXPECT_TRUE(charactersMissingFromFont(*result).empty());

        hb_blob_t* blob = hb_blob_create_from_file(kDroid.c_str());
        hb_face_t* face = hb_face_create(blob, 0);
        hb_font_t* font = hb_font_create(face);
        hb_font_set_scale(font, 32 * 64, 32 * 64);
        int checked = 0;
        for (const PlacedGlyph& cell : result->glyphs) {
            hb_codepoint_t glyph = 0;
            if (cell.code < 0x4E00 || !hb_font_get_nominal_glyph(font, cell.code, &glyph)) {
                continue;
            }
            hb_glyph_extents_t extents{};
            hb_font_get_glyph_extents(font, glyph, &extents);
            const double advance = hb_font_get_glyph_h_advance(font, glyph) / 64.0;
            // The ink's top on the primary face's baseline, its left edge from the pen.
            const double top = result->ascent - extents.y_bearing / 64.0;
            EXPECT_NEAR(cell.advance, advance, 0.5)
                << std::hex << static_cast<std::uint32_t>(cell.code);
            EXPECT_NEAR(cell.a, extents.x_bearing / 64.0, 1.0)
                << std::hex << static_cast<std::uint32_t>(cell.code);
            EXPECT_NEAR(firstInkRow(*result, cell) + cell.lineTop - fieldTop, top, 1.0)
                << std::hex << static_cast<std::uint32_t>(cell.code);
            ++checked;
        }
        EXPECT_GT(checked, 200);
        hb_font_destroy(font);
        hb_face_destroy(face);
        hb_blob_destroy(blob);
        // DejaVu kerns A and V; no pair mixes the faces.
        ASSERT_FALSE(result->kerning->empty());
        for (const KerningPair& pair : *result->kerning) {
            EXPECT_LT(pair.left, 0x4E00u);
            EXPECT_LT(pair.right, 0x4E00u);
        }
    }
}

TEST(ColourGlyphs, BoxFilterIsTheAreaAverageInLinearLight) {
    std::mt19937 random(7);
    for (const auto& [width, height, outWidth, outHeight] :
         std::vector<std::array<int, 4>>{{37, 29, 11, 9}, {12, 12, 4, 3}, {5, 7, 5, 7}}) {
        std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
        for (std::uint8_t& value : rgba) {
            value = static_cast<std::uint8_t>(random() % 4 == 0 ? 0 : random() % 256);
        }
        const std::vector<std::uint8_t> filtered =
            boxFilterColour(rgba.data(), width, height, outWidth, outHeight);
        const std::vector<double> expected =
            referenceDownscale(rgba, width, height, outWidth, outHeight);
        ASSERT_EQ(filtered.size(), expected.size());
        for (std::size_t i = 0; i < filtered.size(); ++i) {
            EXPECT_NEAR(filtered[i], expected[i], i % 4 == 3 ? 0.51 : 1.0) << i;
        }
    }
}

TEST(ColourGlyphs, EmojiStrikeKeepsItsColoursAndTextBesideItStaysWhite) {
    FreetypeFontRenderer renderer;
    AtlasBuilder builder(renderer);
    // The colour font is the face; DejaVu Sans draws the letter (and would draw U+1F600 in
    // monochrome, had it come first).
    Project project = projectOf(U"A\U0001F600", {FallbackFace{"DejaVu Sans"}});
    project.font.fontFile = kEmoji;
    const auto result = builder.rebuild(project);
    ASSERT_TRUE(result->fontProblem.empty()) << result->fontProblem;
    ASSERT_EQ(result->pages.front().channels, 4);
    const PlacedGlyph& letter = result->glyphs[0];
    const PlacedGlyph& emoji = result->glyphs[1];
    EXPECT_FALSE(letter.colour);
    EXPECT_TRUE(emoji.colour);
    const AtlasPage& page = result->pages.front();
    // The atlas's weighted sums of colour, as the reference's, and whether any colour shows.
    double sums[4] = {0, 0, 0, 0};
    bool coloured = false;
    for (int y = 0; y < emoji.height; ++y) {
        for (int x = 0; x < emoji.width; ++x) {
            const double alpha = page.at(emoji.x + x, emoji.y + y, 3);
            for (int c = 0; c < 3; ++c) {
                sums[c] += page.at(emoji.x + x, emoji.y + y, c) * alpha;
            }
            sums[3] += alpha;
            coloured |= alpha > 0 && (page.at(emoji.x + x, emoji.y + y, 0) !=
                                      page.at(emoji.x + x, emoji.y + y, 2));
        }
    }
    EXPECT_TRUE(coloured);
    for (int y = 0; y < letter.height; ++y) {
        for (int x = 0; x < letter.width; ++x) {
            if (page.at(letter.x + x, letter.y + y, 3) != 0) {
                ASSERT_EQ(page.at(letter.x + x, letter.y + y, 0), 255);
                ASSERT_EQ(page.at(letter.x + x, letter.y + y, 1), 255);
                ASSERT_EQ(page.at(letter.x + x, letter.y + y, 2), 255);
            }
        }
    }

    // FreeType's own colour bitmap of the strike, made straight and scaled by the reference.
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    ASSERT_EQ(FT_New_Face(library, kEmoji.c_str(), 0, &face), 0);
    ASSERT_EQ(FT_Select_Size(face, 0), 0);
    ASSERT_EQ(FT_Load_Char(face, 0x1F600, FT_LOAD_COLOR), 0);
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    const int width = static_cast<int>(bitmap.width);
    const int height = static_cast<int>(bitmap.rows);
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* pixel = bitmap.buffer + y * bitmap.pitch + x * 4;
            std::uint8_t* target = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
            for (int c = 0; c < 3; ++c) {
                target[c] =
                    pixel[3] == 0
                        ? 0
                        : static_cast<std::uint8_t>(std::lround(pixel[2 - c] * 255.0 / pixel[3]));
            }
            target[3] = pixel[3];
        }
    }
    const double scale = 32.0 * 64 / face->available_sizes[0].y_ppem;
    const int outWidth = static_cast<int>(std::lround(width * scale));
    const int outHeight = static_cast<int>(std::lround(height * scale));
    const std::vector<double> scaled = referenceDownscale(rgba, width, height, outWidth, outHeight);
    double expected[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < scaled.size(); i += 4) {
        for (int c = 0; c < 3; ++c) {
            expected[c] += scaled[i + c] * scaled[i + 3];
        }
        expected[3] += scaled[i + 3];
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    EXPECT_NEAR(sums[3], expected[3], expected[3] * 0.02);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(sums[c] / sums[3], expected[c] / expected[3], 8.0) << "channel " << c;
    }
}

}  // namespace
}  // namespace vemro
