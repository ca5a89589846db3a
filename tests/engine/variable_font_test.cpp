// A variable font drawn at a weight, checked against FreeType set to the same point of its axes
// (its named instance where it has one at that weight), and its kerning against HarfBuzz shaping
// at that point. Inter's variable font comes from Debian's fonts-inter-variable.

#include <gtest/gtest.h>
#include <hb.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MULTIPLE_MASTERS_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/font/freetype_font_renderer.h"

namespace vemro {
namespace {

const std::string kInter = "/usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf";
// Inter has 2816 units per em, so that at 44 pixels a 26.6 amount is a design unit.
constexpr int kPixels = 44;

// FreeType's own drawing of a character at a weight: the named instance with that weight when
// the font has one, else the weight set as the design coordinate of the `wght` axis.
struct Oracle {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    Oracle(const std::string& path, int weight) {
        FT_Init_FreeType(&library);
        FT_New_Face(library, path.c_str(), 0, &face);
        FT_MM_Var* axes = nullptr;
        FT_Get_MM_Var(face, &axes);
        FT_UInt instance = 0;
        for (FT_UInt i = 0; i < axes->num_namedstyles; ++i) {
            instance = axes->namedstyle[i].coords[0] == weight * 65536 ? i + 1 : instance;
        }
        if (instance != 0) {
            FT_Set_Named_Instance(face, instance);
        } else {
            FT_Fixed coordinate = weight * 65536;
            FT_Set_Var_Design_Coordinates(face, 1, &coordinate);
        }
        FT_Done_MM_Var(library, axes);
        FT_Set_Pixel_Sizes(face, 0, kPixels);
    }
    ~Oracle() {
        FT_Done_Face(face);
        FT_Done_FreeType(library);
    }

    // The ink's sum and its width, and the advance in 26.6 from the unhinted outline.
    std::vector<long> draw(char32_t code) {
        FT_Load_Char(face, code, FT_LOAD_TARGET_NORMAL);
        const FT_Fixed advance = face->glyph->linearHoriAdvance;
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        long sum = 0;
        int first = static_cast<int>(bitmap.width);
        int last = -1;
        for (unsigned y = 0; y < bitmap.rows; ++y) {
            for (unsigned x = 0; x < bitmap.width; ++x) {
                const int value = bitmap.buffer[y * static_cast<unsigned>(bitmap.pitch) + x];
                sum += value;
                first = value != 0 ? std::min(first, static_cast<int>(x)) : first;
                last = value != 0 ? std::max(last, static_cast<int>(x)) : last;
            }
        }
        return {sum, last < first ? 1 : last - first + 1, (advance + 512) >> 10};
    }
};

std::vector<long> drawn(Font& font, char32_t code) {
    const GlyphImage image = font.renderGlyph(code);
    long sum = 0;
    for (const std::uint8_t value : image.pixels) {
        sum += value;
    }
    return {sum, image.b, font.glyphInfo(code).advance};
}

// The kerning of every ordered pair as HarfBuzz shapes it at the weight, in design units.
std::map<std::pair<char32_t, char32_t>, int> shapedKerning(int weight, const std::u32string& text) {
    hb_blob_t* blob = hb_blob_create_from_file(kInter.c_str());
    hb_face_t* face = hb_face_create(blob, 0);
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
            unsigned length = 0;
            const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &length);
            const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer, &length);
            const int amount = position[0].x_advance -
                               hb_font_get_glyph_h_advance(font, info[0].codepoint) +
                               position[1].x_offset;
            if (amount != 0) {
                pairs[{left, right}] = amount;
            }
        }
    }
    hb_buffer_destroy(buffer);
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return pairs;
}

TEST(VariableFontTest, WeightsAreDrawnAsFreeTypeDrawsThatPointOfTheAxis) {
    FreetypeFontRenderer renderer;
    std::vector<char32_t> characters;
    for (char32_t code = 0x21; code < 0x17F; ++code) {
        characters.push_back(code);
    }
    std::map<int, long> ink;
    // 350 is no named instance; 900 is the axis's end, where a bold would once be synthesized.
    // The installed typeface draws 400 from the fixed face of fonts-inter.
    for (const int weight : {100, 300, 350, 400, 800, 900}) {
        Oracle oracle(kInter, weight);
        FontRequest file{"", kPixels, weight};
        file.fontFile = kInter;
        std::vector<FontRequest> requests{file};
        if (weight != 400) {
            requests.push_back(FontRequest{"Inter", kPixels, weight});
        }
        for (const FontRequest& request : requests) {
            auto font = renderer.createFont(request);
            ASSERT_TRUE(font) << font.message();
            for (const char32_t code : characters) {
                const std::vector<long> expected = oracle.draw(code);
                ASSERT_EQ(drawn(*font.value(), code), expected)
                    << request.faceName << request.fontFile << " " << weight << " U+" << std::hex
                    << static_cast<unsigned>(code) << " (ink, black box, advance)";
                ink[weight] += expected[0];
            }
        }
    }
    // Light and extra bold are the designer's two weights, far apart.
    EXPECT_GT(ink[800], ink[300] * 3 / 2);

    // Kerning follows the weight, also after the same face was kerned at another.
    const std::u32string text = U"AVTWYLPFaeoyvw.,";
    for (const int weight : {900, 100}) {
        FontRequest request{"", kPixels, weight};
        request.fontFile = kInter;
        auto font = renderer.createFont(request);
        ASSERT_TRUE(font) << font.message();
        std::map<std::pair<char32_t, char32_t>, int> pairs;
        for (const KerningPair& pair :
             font.value()->kerningPairs(std::vector<char32_t>(text.begin(), text.end()))) {
            pairs[{pair.left, pair.right}] = pair.amount;
        }
        EXPECT_FALSE(pairs.empty());
        EXPECT_EQ(pairs, shapedKerning(weight, text)) << weight;
    }
}

TEST(VariableFontTest, OnlyFacesWhoseWeightVariesOfferTheNineWeights) {
    FreetypeFontRenderer renderer;
    FontRequest file{"", kPixels};
    file.fontFile = kInter;
    for (const FontRequest& request : {file, FontRequest{"Inter", kPixels}}) {
        const std::vector<FaceWeight> weights = renderer.weightsOf(request);
        ASSERT_EQ(weights.size(), 9u);
        EXPECT_EQ(weights[2], (FaceWeight{300, "Light"}));
        EXPECT_EQ(weights[8], (FaceWeight{900, "Black"}));
    }
    EXPECT_TRUE(renderer.weightsOf(FontRequest{"DejaVu Sans", kPixels}).empty());
    EXPECT_TRUE(renderer.weightsOf(FontRequest{"Cantarell", kPixels}).empty());
}

}  // namespace
}  // namespace vemro
