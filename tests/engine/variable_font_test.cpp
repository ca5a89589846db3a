// A variable font drawn at a weight, checked against FreeType set to the same point of its axes
// (its named instance where it has one at that weight), and its kerning against HarfBuzz shaping
// at that point. Inter's variable font comes from Debian's fonts-inter-variable.

#include <gtest/gtest.h>
#include <hb.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MULTIPLE_MASTERS_H

#include <map>
#include <string>
#include <vector>

#include "engine/font/freetype_font_renderer.h"

namespace vemro {
namespace {

const std::string kInter = "/usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf";
// Inter has 2816 units per em, so that at 44 pixels a 26.6 amount is a design unit.
constexpr int kPixels = 44;

// FreeType's own drawing of a character at a weight (the named instance with that weight when
// the font has one, else the design coordinate on the `wght` axis): the ink's sum, and the
// advance of the unhinted outline in 26.6.
struct Oracle {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    explicit Oracle(int weight) {
        FT_Init_FreeType(&library);
        FT_New_Face(library, kInter.c_str(), 0, &face);
        FT_MM_Var* axes = nullptr;
        FT_Get_MM_Var(face, &axes);
        FT_UInt instance = 0;
        for (FT_UInt i = 0; i < axes->num_namedstyles; ++i) {
            instance = axes->namedstyle[i].coords[0] == weight * 65536 ? i + 1 : instance;
        }
        FT_Fixed coordinate = weight * 65536;
        instance != 0 ? FT_Set_Named_Instance(face, instance)
                      : FT_Set_Var_Design_Coordinates(face, 1, &coordinate);
        FT_Done_MM_Var(library, axes);
        FT_Set_Pixel_Sizes(face, 0, kPixels);
    }
    ~Oracle() {
        FT_Done_Face(face);
        FT_Done_FreeType(library);
    }

    std::vector<long> draw(char32_t code) {
        FT_Load_Char(face, code, FT_LOAD_TARGET_NORMAL);
        const FT_Fixed advance = face->glyph->linearHoriAdvance;
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        long sum = 0;
        for (unsigned y = 0; y < bitmap.rows; ++y) {
            for (unsigned x = 0; x < bitmap.width; ++x) {
                sum += bitmap.buffer[y * static_cast<unsigned>(bitmap.pitch) + x];
            }
        }
        return {sum, (advance + 512) >> 10};
    }
};

std::vector<long> drawn(Font& font, char32_t code) {
    const GlyphImage image = font.renderGlyph(code);
    long sum = 0;
    for (const std::uint8_t value : image.pixels) {
        sum += value;
    }
    return {sum, font.glyphInfo(code).advance};
}

// The kerning of every ordered pair as HarfBuzz shapes it at the weight, in design units.
std::map<std::pair<char32_t, char32_t>, int> shapedKerning(int weight, const std::u32string& text) {
    hb_blob_t* blob = hb_blob_create_from_file(kInter.c_str());
    hb_face_t* face = hb_face_create(blob, 0);
    hb_blob_destroy(blob);
    hb_font_t* font = hb_font_create(face);
    const hb_variation_t variation{HB_TAG('w', 'g', 'h', 't'), static_cast<float>(weight)};
    hb_font_set_variations(font, &variation, 1);
    hb_buffer_t* buffer = hb_buffer_create();
    std::map<std::pair<char32_t, char32_t>, int> pairs;
    for (const char32_t left : text) {
        for (const char32_t right : text) {
            hb_buffer_clear_contents(buffer);
            const std::uint32_t both[] = {left, right};
            hb_buffer_add_utf32(buffer, both, 2, 0, 2);
            hb_buffer_guess_segment_properties(buffer);
            hb_shape(font, buffer, nullptr, 0);
            const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, nullptr);
            const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer, nullptr);
            const int amount = position[0].x_advance + position[1].x_offset -
                               hb_font_get_glyph_h_advance(font, info[0].codepoint);
            if (amount != 0) {
                pairs[{left, right}] = amount;
            }
        }
    }
    hb_buffer_destroy(buffer);
    hb_font_destroy(font);
    hb_face_destroy(face);
    return pairs;
}

FontRequest interFile(int weight) {
    FontRequest request{"", kPixels, weight};
    request.fontFile = kInter;
    return request;
}

TEST(VariableFontTest, WeightsAreDrawnAsFreeTypeDrawsThatPointOfTheAxis) {
    FreetypeFontRenderer renderer;
    std::map<int, long> ink;
    // 350 is no named instance; 900 is the axis's end, where a bold would once be synthesized.
    // The installed typeface draws 400 from the fixed face of fonts-inter.
    for (const int weight : {100, 300, 350, 400, 800, 900}) {
        Oracle oracle(weight);
        for (const FontRequest& request :
             {interFile(weight), FontRequest{"Inter", kPixels, weight}}) {
            if (weight == 400 && request.fontFile.empty()) {
                continue;
            }
            auto font = renderer.createFont(request);
            ASSERT_TRUE(font) << font.message();
            for (char32_t code = 0x21; code < 0x17F; ++code) {
                const std::vector<long> expected = oracle.draw(code);
                ASSERT_EQ(drawn(*font.value(), code), expected)
                    << request.faceName << " " << weight << " U+" << std::hex
                    << static_cast<unsigned>(code) << " (ink, advance)";
                ink[weight] += expected[0];
            }
        }
    }
    // Light and extra bold are the designer's two weights, far apart.
    EXPECT_GT(ink[800], ink[300] * 3 / 2);

    // Kerning follows the weight, also after the same face was kerned at another.
    const std::u32string text = U"AVTWYLPFaeoyvw.,";
    for (const int weight : {900, 100}) {
        auto font = renderer.createFont(interFile(weight));
        ASSERT_TRUE(font) << font.message();
        std::map<std::pair<char32_t, char32_t>, int> pairs;
        for (const KerningPair& pair :
             font.value()->kerningPairs(std::vector<char32_t>(text.begin(), text.end()))) {
            pairs[{pair.left, pair.right}] = pair.amount;
        }
        EXPECT_FALSE(pairs.empty());
        EXPECT_EQ(pairs, shapedKerning(weight, text)) << weight;
    }

    // The nine weights, named after the instances; none for a face of fixed weights.
    const std::vector<FaceWeight> weights = renderer.weightsOf(FontRequest{"Inter", kPixels});
    ASSERT_EQ(weights.size(), 9u);
    EXPECT_EQ(weights[2], (FaceWeight{300, "Light"}));
    EXPECT_TRUE(renderer.weightsOf(FontRequest{"DejaVu Sans", kPixels}).empty());
}

}  // namespace
}  // namespace vemro
