// Kerning found with HarfBuzz, checked against HarfBuzz shaping each pair of characters as plain
// text, in a font whose kerning is only in GPOS, one whose kerning is only in a legacy kern
// table, and one with both; and the legacy table's layouts read for the glyphs they name.

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TAGS_H

#include <gtest/gtest.h>
#include <hb-ot.h>
#include <hb.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/freetype_font_renderer.h"
#include "engine/legacy_kern_table.h"
#include "engine/windows1252.h"

namespace vemro {
namespace {

// Debian's fonts-quicksand (kerning in GPOS alone), fonts-open-sans (in a kern table alone) and
// fonts-dejavu-core (both).
const std::string kGposOnly = "/usr/share/fonts/truetype/quicksand/Quicksand-Regular.ttf";
const std::string kKernTableOnly = "/usr/share/fonts/truetype/open-sans/OpenSans-Regular.ttf";
const std::string kBoth = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";

using Pairs = std::map<std::pair<char32_t, char32_t>, std::int32_t>;

// A face as HarfBuzz opens it from the file, at an em of `pixels` in 26.6.
class ShapingFont {
public:
    ShapingFont(const std::string& path, int pixels)
        : blob_(hb_blob_create_from_file(path.c_str())),
          face_(hb_face_create(blob_, 0)),
          font_(hb_font_create(face_)) {
        hb_font_set_scale(font_, pixels * 64, pixels * 64);
    }
    ~ShapingFont() {
        hb_font_destroy(font_);
        hb_face_destroy(face_);
        hb_blob_destroy(blob_);
    }
    ShapingFont(const ShapingFont&) = delete;
    ShapingFont& operator=(const ShapingFont&) = delete;

    bool hasTable(hb_tag_t tag) const {
        hb_blob_t* table = hb_face_reference_table(face_, tag);
        const bool has = hb_blob_get_length(table) > 0;
        hb_blob_destroy(table);
        return has;
    }

    bool hasGposKerning() const {
        hb_set_t* lookups = hb_set_create();
        const hb_tag_t kern[] = {HB_TAG('k', 'e', 'r', 'n'), HB_TAG_NONE};
        hb_ot_layout_collect_lookups(face_, HB_OT_TAG_GPOS, nullptr, nullptr, kern, lookups);
        const bool has = !hb_set_is_empty(lookups);
        hb_set_destroy(lookups);
        return has;
    }

    // The kerning between every ordered pair as shaping two characters of text with the font's
    // default features gives it: how far the second glyph moved from where the first glyph's own
    // advance puts it. Pairs that shaping turns into other glyphs (a ligature) are left out.
    Pairs shapedPairs(const std::vector<char32_t>& characters) const {
        Pairs pairs;
        hb_buffer_t* buffer = hb_buffer_create();
        for (const char32_t left : characters) {
            for (const char32_t right : characters) {
                hb_codepoint_t first = 0;
                hb_codepoint_t second = 0;
                if (!hb_font_get_nominal_glyph(font_, left, &first) ||
                    !hb_font_get_nominal_glyph(font_, right, &second)) {
                    continue;
                }
                hb_buffer_clear_contents(buffer);
                const std::uint32_t text[] = {left, right};
                hb_buffer_add_utf32(buffer, text, 2, 0, 2);
                hb_buffer_guess_segment_properties(buffer);
                hb_shape(font_, buffer, nullptr, 0);
                unsigned length = 0;
                const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &length);
                const hb_glyph_position_t* position =
                    hb_buffer_get_glyph_positions(buffer, &length);
                if (length != 2 || info[0].codepoint != first || info[1].codepoint != second) {
                    continue;
                }
                const hb_position_t amount = position[0].x_advance -
                                             hb_font_get_glyph_h_advance(font_, first) +
                                             position[1].x_offset;
                if (amount != 0) {
                    pairs[{left, right}] = amount;
                }
            }
        }
        hb_buffer_destroy(buffer);
        return pairs;
    }

private:
    hb_blob_t* blob_;
    hb_face_t* face_;
    hb_font_t* font_;
};

// Codes 32..255 of the code page, which text in those fonts uses, each once.
std::vector<char32_t> latinCharacters() {
    std::set<char32_t> distinct;
    for (int code = 32; code < 256; ++code) {
        distinct.insert(windows1252ToUnicode(static_cast<std::uint8_t>(code)));
    }
    return std::vector<char32_t>(distinct.begin(), distinct.end());
}

TEST(HarfbuzzKerning, PairsAreThoseShapingAppliesWhereverTheFontKeepsThem) {
    FreetypeFontRenderer renderer;
    const std::vector<char32_t> characters = latinCharacters();
    const struct {
        std::string path;
        bool kernTable;
        bool gpos;
    } fonts[] = {{kGposOnly, false, true}, {kKernTableOnly, true, false}, {kBoth, true, true}};
    for (const auto& f : fonts) {
        for (const int pixels : {15, 133}) {
            ShapingFont shaping(f.path, pixels);
            ASSERT_EQ(shaping.hasTable(HB_TAG('k', 'e', 'r', 'n')), f.kernTable) << f.path;
            ASSERT_EQ(shaping.hasGposKerning(), f.gpos) << f.path;
            const Pairs expected = shaping.shapedPairs(characters);
            ASSERT_GT(expected.size(), 500u) << f.path;

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
            // adjustment each on its own, so the two may differ by one 64th of a pixel.
            for (const auto& [pair, amount] : expected) {
                const auto mine = found.find(pair);
                ASSERT_NE(mine, found.end()) << f.path << " " << pixels << " px: U+" << std::hex
                                             << static_cast<std::uint32_t>(pair.first) << " U+"
                                             << static_cast<std::uint32_t>(pair.second);
                EXPECT_NEAR(mine->second, amount, 1) << f.path;
            }
            for (const auto& [pair, amount] : found) {
                EXPECT_TRUE(expected.contains(pair) || std::abs(amount) <= 1)
                    << f.path << " " << pixels << " px: U+" << std::hex
                    << static_cast<std::uint32_t>(pair.first) << " U+"
                    << static_cast<std::uint32_t>(pair.second) << " is not kerned in shaping";
            }
        }
    }
}

// A kern table of both layouts, and cut short; the bytes are big-endian.
TEST(HarfbuzzKerning, KernTableLayoutsNameTheGlyphsOfTheirPairs) {
    using Bytes = std::vector<std::uint8_t>;
    const auto u16 = [](Bytes& b, unsigned v) {
        b.insert(b.end(), {std::uint8_t(v >> 8), std::uint8_t(v)});
    };
    const auto u32 = [&](Bytes& b, unsigned v) {
        u16(b, v >> 16);
        u16(b, v & 0xFFFF);
    };
    // Format 0 pairs (5, 9) and (7, 5); the header's length field of 0 stands for one that
    // overflowed 16 bits.
    Bytes pairs;
    u16(pairs, 2);
    u16(pairs, 12);
    u16(pairs, 1);
    u16(pairs, 0);
    for (const auto& [left, right] : {std::pair(5u, 9u), std::pair(7u, 5u)}) {
        u16(pairs, left);
        u16(pairs, right);
        u16(pairs, 0xFFF0);
    }
    Bytes openType;
    u16(openType, 0);       // version
    u16(openType, 1);       // tables
    u16(openType, 0);       // subtable version
    u16(openType, 0);       // length
    u16(openType, 0x0001);  // horizontal, format 0
    openType.insert(openType.end(), pairs.begin(), pairs.end());

    // Format 0 pairs, then a format 2 subtable whose class tables hold glyphs 20 and 21 (left)
    // and 30 (right), then a state table (format 1), which may kern any glyph.
    Bytes classes;
    u16(classes, 0);   // row width
    u16(classes, 16);  // left class table, from the subtable's start
    u16(classes, 24);  // right class table
    u16(classes, 0);   // values
    u16(classes, 20);
    u16(classes, 2);
    u16(classes, 0);
    u16(classes, 2);
    u16(classes, 30);
    u16(classes, 1);
    u16(classes, 2);
    Bytes apple;
    u32(apple, 0x00010000);
    u32(apple, 3);
    u32(apple, 8 + static_cast<unsigned>(pairs.size()));
    u16(apple, 0x0000);  // format 0
    u16(apple, 0);       // tuple index
    apple.insert(apple.end(), pairs.begin(), pairs.end());
    u32(apple, 8 + static_cast<unsigned>(classes.size()));
    u16(apple, 0x0002);
    u16(apple, 0);
    apple.insert(apple.end(), classes.begin(), classes.end());
    const std::size_t withoutStateTable = apple.size();
    u32(apple, 8);
    u16(apple, 0x0001);
    u16(apple, 0);

    const auto glyphs = [](const Bytes& table, std::size_t size) {
        const KernTableGlyphs read = kernTableGlyphs(table.data(), size);
        return std::pair(std::set<std::uint16_t>(read.glyphs.begin(), read.glyphs.end()),
                         read.anyGlyph);
    };
    using Read = std::pair<std::set<std::uint16_t>, bool>;
    EXPECT_EQ(glyphs(openType, openType.size()), (Read{{5, 7, 9}, false}));
    EXPECT_EQ(glyphs(apple, withoutStateTable), (Read{{5, 7, 9, 20, 21, 30}, false}));
    EXPECT_EQ(glyphs(apple, apple.size()), (Read{{5, 7, 9, 20, 21, 30}, true}));
    // Cut inside the second pair: the first pair still counts.
    EXPECT_EQ(glyphs(openType, openType.size() - 1), (Read{{5, 9}, false}));
    // Another version is no kern table HarfBuzz reads.
    Bytes other = openType;
    other[1] = 2;
    EXPECT_EQ(glyphs(other, other.size()), (Read{{}, false}));
}

}  // namespace
}  // namespace vemro
