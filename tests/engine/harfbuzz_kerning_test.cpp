// Kerning found with HarfBuzz, checked against HarfBuzz shaping each pair of characters as plain
// text, in a font whose kerning is only in GPOS, one whose kerning is only in a legacy kern
// table, and one with both; and the legacy table's layouts read for the glyphs they name.

#include <gtest/gtest.h>
#include <hb-ot.h>
#include <hb.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/font/freetype/legacy_kern_table.h"
#include "engine/font/freetype_font_renderer.h"
#include "engine/text/windows1252.h"

namespace vemro {
namespace {

using Pairs = std::map<std::pair<char32_t, char32_t>, std::int32_t>;

// How the font's file says it keeps kerning, and the kerning between every ordered pair of the
// characters as HarfBuzz shapes the two as text with the font's default features, at an em of
// `pixels` in 26.6: how far the second glyph moved from where the first glyph's own advance puts
// it. Pairs that shaping turns into other glyphs (a ligature) are left out.
struct Shaped {
    bool kernTable = false;
    bool gposKerning = false;
    Pairs pairs;
};

Shaped shapePairs(const std::string& path, int pixels, const std::vector<char32_t>& characters) {
    hb_blob_t* blob = hb_blob_create_from_file(path.c_str());
    hb_face_t* face = hb_face_create(blob, 0);
    hb_font_t* font = hb_font_create(face);
    hb_font_set_scale(font, pixels * 64, pixels * 64);
    Shaped shaped;
    hb_blob_t* kern = hb_face_reference_table(face, HB_TAG('k', 'e', 'r', 'n'));
    shaped.kernTable = hb_blob_get_length(kern) > 0;
    hb_blob_destroy(kern);
    hb_set_t* lookups = hb_set_create();
    const hb_tag_t kernFeature[] = {HB_TAG('k', 'e', 'r', 'n'), HB_TAG_NONE};
    hb_ot_layout_collect_lookups(face, HB_OT_TAG_GPOS, nullptr, nullptr, kernFeature, lookups);
    shaped.gposKerning = !hb_set_is_empty(lookups);
    hb_set_destroy(lookups);

    hb_buffer_t* buffer = hb_buffer_create();
    for (const char32_t left : characters) {
        for (const char32_t right : characters) {
            hb_codepoint_t first = 0;
            hb_codepoint_t second = 0;
            if (!hb_font_get_nominal_glyph(font, left, &first) ||
                !hb_font_get_nominal_glyph(font, right, &second)) {
                continue;
            }
            hb_buffer_clear_contents(buffer);
            const std::uint32_t text[] = {left, right};
            hb_buffer_add_utf32(buffer, text, 2, 0, 2);
            hb_buffer_guess_segment_properties(buffer);
            hb_shape(font, buffer, nullptr, 0);
            unsigned length = 0;
            const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &length);
            const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer, &length);
            const hb_position_t amount =
                length == 2 ? position[0].x_advance - hb_font_get_glyph_h_advance(font, first) +
                                  position[1].x_offset
                            : 0;
            if (amount != 0 && info[0].codepoint == first && info[1].codepoint == second) {
                shaped.pairs[{left, right}] = amount;
            }
        }
    }
    hb_buffer_destroy(buffer);
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return shaped;
}

// Debian's fonts-quicksand keeps its kerning in GPOS alone, fonts-open-sans in a kern table
// alone, DejaVu Serif (fonts-dejavu-core) in both.
TEST(HarfbuzzKerning, PairsAreThoseShapingAppliesWhereverTheFontKeepsThem) {
    std::set<char32_t> distinct;
    for (int code = 32; code < 256; ++code) {
        distinct.insert(windows1252ToUnicode(static_cast<std::uint8_t>(code)));
    }
    const std::vector<char32_t> characters(distinct.begin(), distinct.end());
    const struct {
        std::string path;
        bool kernTable;
        bool gposKerning;
    } fonts[] = {{"/usr/share/fonts/truetype/quicksand/Quicksand-Regular.ttf", false, true},
                 {"/usr/share/fonts/truetype/open-sans/OpenSans-Regular.ttf", true, false},
                 {"/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf", true, true}};
    FreetypeFontRenderer renderer;
    for (const auto& f : fonts) {
        for (const int pixels : {15, 133}) {
            const Shaped shaped = shapePairs(f.path, pixels, characters);
            ASSERT_EQ(std::pair(shaped.kernTable, shaped.gposKerning),
                      std::pair(f.kernTable, f.gposKerning))
                << f.path;
            ASSERT_GT(shaped.pairs.size(), 500u) << f.path;

            FontRequest request;
            request.fontFile = f.path;
            request.pixelHeight = pixels;
            Result<std::unique_ptr<Font>> font = renderer.createFont(request);
            ASSERT_TRUE(font.ok()) << font.message();
            Pairs found;
            for (const KerningPair& pair : font.value()->kerningPairs(characters)) {
                found[{pair.left, pair.right}] = pair.amount;
            }
            // The font scales the design units once; HarfBuzz scales the advance and the
            // adjustment each on its own, so the two may differ by a 64th of a pixel.
            for (const auto& [pair, amount] : shaped.pairs) {
                EXPECT_NEAR(found.contains(pair) ? found[pair] : 0, amount, 1)
                    << f.path << " " << pixels << " px: U+" << std::hex << std::uint32_t{pair.first}
                    << " U+" << std::uint32_t{pair.second};
            }
            for (const auto& [pair, amount] : found) {
                EXPECT_TRUE(shaped.pairs.contains(pair) || std::abs(amount) <= 1)
                    << f.path << ": U+" << std::hex << std::uint32_t{pair.first} << " U+"
                    << std::uint32_t{pair.second} << " does not kern when shaped";
            }
        }
    }
}

// Kern tables of both layouts, big-endian, and cut short.
TEST(HarfbuzzKerning, KernTableLayoutsNameTheGlyphsOfTheirPairs) {
    using Bytes = std::vector<std::uint8_t>;
    const auto words = [](std::initializer_list<unsigned> values) {
        Bytes bytes;
        bytes.reserve(2 * values.size());
        for (const unsigned v : values) {
            bytes.push_back(std::uint8_t(v >> 8));
            bytes.push_back(std::uint8_t(v));
        }
        return bytes;
    };
    const auto join = [](std::initializer_list<Bytes> parts) {
        Bytes bytes;
        for (const Bytes& part : parts) {
            bytes.insert(bytes.end(), part.begin(), part.end());
        }
        return bytes;
    };
    // Format 0: pair count, three search fields, pairs (5, 9) and (7, 5).
    const Bytes pairs = words({2, 12, 1, 0, 5, 9, 0xFFF0, 7, 5, 0xFFF0});
    // OpenType: version 0, one table; a subtable length of 0 stands for one that overflowed.
    const Bytes openType = join({words({0, 1, 0, 0, 0x0001}), pairs});
    // Apple: version 1.0, three tables: format 0; format 2, whose class tables (offsets from the
    // subtable's start) hold glyphs 20 and 21 (left) and 30 (right); format 1, a state table,
    // which may kern any glyph.
    const Bytes classes = words({0, 16, 24, 0, 20, 2, 0, 2, 30, 1, 2});
    const Bytes apple = join({words({1, 0, 0, 3}), words({0, 28, 0x0000, 0}), pairs,
                              words({0, 30, 0x0002, 0}), classes, words({0, 8, 0x0001, 0})});

    using Read = std::pair<std::set<std::uint16_t>, bool>;
    const auto glyphs = [](const Bytes& table, std::size_t size) {
        const KernTableGlyphs read = kernTableGlyphs(table.data(), size);
        return Read(std::set<std::uint16_t>(read.glyphs.begin(), read.glyphs.end()), read.anyGlyph);
    };
    EXPECT_EQ(glyphs(openType, openType.size()), (Read{{5, 7, 9}, false}));
    EXPECT_EQ(glyphs(openType, openType.size() - 1), (Read{{5, 9}, false}));  // cut in a pair
    EXPECT_EQ(glyphs(apple, apple.size() - 8), (Read{{5, 7, 9, 20, 21, 30}, false}));
    EXPECT_EQ(glyphs(apple, apple.size()), (Read{{5, 7, 9, 20, 21, 30}, true}));
    Bytes otherVersion = openType;
    otherVersion[1] = 2;
    EXPECT_EQ(glyphs(otherVersion, otherVersion.size()), (Read{{}, false}));
}

}  // namespace
}  // namespace vemro
