// Glyph indices, advances and kerning of FreeType fonts, checked against the font files' own
// tables read here byte by byte, and fonts of one face used side by side.

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/font/freetype_font_renderer.h"
#include "engine/text/windows1252.h"

namespace vemro {
namespace {

// A font file opened with FreeType alone, its tables read raw.
class RawFace {
public:
    // The file fontconfig gives for a pattern such as "DejaVu Sans:style=Book".
    explicit RawFace(const char* pattern) {
        FcConfig* config = FcInitLoadConfigAndFonts();
        FcPattern* query = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
        FcConfigSubstitute(config, query, FcMatchPattern);
        FcDefaultSubstitute(query);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(config, query, &result);
        FcChar8* file = nullptr;
        if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
            FT_Init_FreeType(&library_) == 0) {
            FT_New_Face(library_, reinterpret_cast<const char*>(file), 0, &face_);
        }
        FcPatternDestroy(match);
        FcPatternDestroy(query);
        FcConfigDestroy(config);
    }
    ~RawFace() {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    RawFace(const RawFace&) = delete;
    RawFace& operator=(const RawFace&) = delete;

    bool ok() const { return face_ != nullptr; }
    FT_UInt index(char32_t code) const { return FT_Get_Char_Index(face_, code); }

    std::vector<std::uint8_t> table(FT_ULong tag) const {
        FT_ULong length = 0;
        if (FT_Load_Sfnt_Table(face_, tag, 0, nullptr, &length) != 0) {
            return {};
        }
        std::vector<std::uint8_t> bytes(length);
        FT_Load_Sfnt_Table(face_, tag, 0, bytes.data(), &length);
        return bytes;
    }

    int unitsPerEm() const { return u16(table(TTAG_head), 18); }

    // hmtx: numberOfHMetrics (from hhea) pairs of advance and side bearing; later glyphs keep
    // the last advance.
    int designAdvance(FT_UInt glyph) const {
        const int metrics = u16(table(TTAG_hhea), 34);
        const std::vector<std::uint8_t> hmtx = table(TTAG_hmtx);
        const int entry = std::min(static_cast<int>(glyph), metrics - 1);
        return u16(hmtx, static_cast<std::size_t>(entry) * 4);
    }

    // The kern table as DejaVu has it: version 0 with one horizontal subtable of format 0, a
    // list of glyph pairs and their adjustments. Empty for any other table.
    std::map<std::pair<FT_UInt, FT_UInt>, int> kernPairs() const {
        std::map<std::pair<FT_UInt, FT_UInt>, int> pairs;
        const std::vector<std::uint8_t> kern = table(TTAG_kern);
        if (u16(kern, 0) != 0 || u16(kern, 2) != 1 || u16(kern, 8) != 0x0001) {
            return pairs;
        }
        for (int i = 0; i < u16(kern, 10); ++i) {
            const std::size_t at = 18 + static_cast<std::size_t>(i) * 6;
            pairs[{static_cast<FT_UInt>(u16(kern, at)), static_cast<FT_UInt>(u16(kern, at + 2))}] =
                static_cast<std::int16_t>(u16(kern, at + 4));
        }
        return pairs;
    }

private:
    static int u16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
        return at + 1 < bytes.size() ? (bytes[at] << 8) | bytes[at + 1] : 0;
    }

    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

// Design units to 1/64 pixel at an em of `pixels`, rounded to nearest.
std::int32_t toSixtyFourths(int units, int pixels, int unitsPerEm) {
    return static_cast<std::int32_t>(
        std::lround(static_cast<double>(units) * pixels * 64 / unitsPerEm));
}

std::vector<char32_t> testCharacters() {
    std::vector<char32_t> characters;
    for (int code = 0; code < 256; ++code) {
        characters.push_back(windows1252ToUnicode(static_cast<std::uint8_t>(code)));
    }
    // Beyond the code page: Cyrillic, a combining mark (no advance), a CJK ideograph (missing).
    characters.insert(characters.end(), {U'\u0416', U'\u0301', U'\u4E00'});
    return characters;
}

std::unique_ptr<Font> makeFont(FontRenderer& renderer, const FontRequest& request) {
    Result<std::unique_ptr<Font>> made = renderer.createFont(request);
    EXPECT_TRUE(made.ok()) << made.message();
    return made ? std::move(made.value()) : nullptr;
}

TEST(FreetypeFontFacts, GlyphInfoGivesTheFaceIndexAndItsScaledDesignAdvance) {
    FreetypeFontRenderer renderer;
    // DejaVu Sans Light has no bold face, so its bold is synthesized: every advance grows by the
    // stroke widening, a 24th of the em, except the zero advance of a combining mark.
    struct Case {
        const char* face;
        const char* file;
        int weight;
        bool synthesizedBold;
    };
    for (const Case& c : {Case{"DejaVu Sans", "DejaVu Sans:style=Book", 400, false},
                          Case{"DejaVu Sans", "DejaVu Sans:style=Bold", 700, false},
                          Case{"DejaVu Sans Light", "DejaVu Sans:style=ExtraLight", 700, true}}) {
        RawFace raw(c.file);
        ASSERT_TRUE(raw.ok()) << c.file;
        const int unitsPerEm = raw.unitsPerEm();
        for (const int pixels : {7, 15, 59, 533}) {
            const std::unique_ptr<Font> font =
                makeFont(renderer, {c.face, pixels, c.weight, true, false});
            ASSERT_NE(font, nullptr);
            for (const char32_t code : testCharacters()) {
                const FT_UInt index = raw.index(code);
                const int design = raw.designAdvance(index);
                std::int32_t advance = toSixtyFourths(design, pixels, unitsPerEm);
                if (c.synthesizedBold && design != 0) {
                    advance += pixels * 64 / 24;
                }
                EXPECT_EQ(font->glyphInfo(code), (GlyphInfo{index, advance}))
                    << c.face << " " << c.weight << " at " << pixels << " px, U+" << std::hex
                    << static_cast<std::uint32_t>(code);
            }
        }
    }
}

// DejaVu Sans carries its kerning twice, in GPOS (which shaping uses) and in a legacy kern table
// read here byte by byte; the two agree on these characters.
TEST(FreetypeFontFacts, KerningOfDejaVuSansIsThatOfItsKernTable) {
    FreetypeFontRenderer renderer;
    RawFace raw("DejaVu Sans:style=Book");
    ASSERT_TRUE(raw.ok());
    const std::map<std::pair<FT_UInt, FT_UInt>, int> table = raw.kernPairs();
    ASSERT_FALSE(table.empty()) << "DejaVu Sans carries a legacy kern table";
    std::vector<char32_t> characters;
    for (char32_t code = 0x20; code < 0x7F; ++code) {
        characters.push_back(code);
    }
    characters.insert(characters.end(), {U'\u00C4', U'\u0178', U'\u4E00'});
    for (const int pixels : {11, 64}) {
        std::vector<KerningPair> expected;
        for (const char32_t left : characters) {
            for (const char32_t right : characters) {
                const auto found = table.find({raw.index(left), raw.index(right)});
                if (raw.index(left) == 0 || raw.index(right) == 0 || found == table.end()) {
                    continue;
                }
                if (const std::int32_t amount =
                        toSixtyFourths(found->second, pixels, raw.unitsPerEm());
                    amount != 0) {
                    expected.push_back({left, right, amount});
                }
            }
        }
        ASSERT_FALSE(expected.empty());
        const std::unique_ptr<Font> font = makeFont(renderer, {"DejaVu Sans", pixels});
        ASSERT_NE(font, nullptr);
        std::vector<KerningPair> pairs = font->kerningPairs(characters);
        const auto order = [](const KerningPair& l, const KerningPair& r) {
            return std::pair(l.left, l.right) < std::pair(r.left, r.right);
        };
        std::sort(pairs.begin(), pairs.end(), order);
        std::sort(expected.begin(), expected.end(), order);
        EXPECT_EQ(pairs, expected) << pixels << " px";
    }
    // DejaVu Sans Mono has no kern table.
    RawFace mono("DejaVu Sans Mono:style=Book");
    ASSERT_TRUE(mono.ok());
    ASSERT_TRUE(mono.table(TTAG_kern).empty());
    const std::unique_ptr<Font> font = makeFont(renderer, {"DejaVu Sans Mono", 20});
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->kerningPairs(characters).empty());
}

// Everything a font says about a character, measured first as a rebuild does.
auto factsOf(Font& font, char32_t code) {
    const std::optional<GlyphMetrics> metrics = font.measureGlyph(code);
    const GlyphImage image = font.renderGlyph(code);
    return std::tuple(metrics, image.a, image.b, image.top, image.width, image.height, image.pixels,
                      font.glyphInfo(code));
}

using Facts = decltype(factsOf(std::declval<Font&>(), 0));

// Pairs of requests that share a face file: two heights; two qualities; synthesized bold and the
// plain face.
const std::vector<FontRequest> kSharedFaceRequests = {{"DejaVu Sans", 15},
                                                      {"DejaVu Sans", 59},
                                                      {"DejaVu Sans Light", 23, 400, false, false},
                                                      {"DejaVu Sans Light", 23, 700, true, true}};

// The facts of every test character for each request, each font made and used alone.
std::vector<std::vector<Facts>> factsAlone() {
    std::vector<std::vector<Facts>> alone;
    for (const FontRequest& request : kSharedFaceRequests) {
        FreetypeFontRenderer renderer;
        const std::unique_ptr<Font> font = makeFont(renderer, request);
        alone.emplace_back();
        for (const char32_t code : testCharacters()) {
            alone.back().push_back(font ? factsOf(*font, code) : Facts{});
        }
    }
    return alone;
}

TEST(FreetypeFontFacts, FontsOfOneFaceUsedInTurnDrawAsEachAlone) {
    const std::vector<FontRequest>& requests = kSharedFaceRequests;
    const std::vector<char32_t> characters = testCharacters();
    const std::vector<std::vector<Facts>> alone = factsAlone();
    FreetypeFontRenderer renderer;
    std::vector<std::unique_ptr<Font>> fonts;
    for (const FontRequest& request : requests) {
        fonts.push_back(makeFont(renderer, request));
        ASSERT_NE(fonts.back(), nullptr);
    }
    for (std::size_t c = 0; c < characters.size(); ++c) {
        for (std::size_t f = 0; f < fonts.size(); ++f) {
            EXPECT_TRUE(factsOf(*fonts[f], characters[c]) == alone[f][c])
                << requests[f].faceName << " " << requests[f].pixelHeight << " px, U+" << std::hex
                << static_cast<std::uint32_t>(characters[c]);
        }
    }
}

TEST(FreetypeFontFacts, FontsOfOneFaceOnSeveralThreadsAtOnceDrawAsEachAlone) {
    const std::vector<char32_t> characters = testCharacters();
    const std::vector<std::vector<Facts>> alone = factsAlone();
    FreetypeFontRenderer renderer;
    std::vector<std::vector<Facts>> drawn(kSharedFaceRequests.size());
    std::vector<std::thread> threads;
    for (std::size_t f = 0; f < kSharedFaceRequests.size(); ++f) {
        threads.emplace_back([&, f] {
            for (int pass = 0; pass < 3; ++pass) {
                const std::unique_ptr<Font> font = makeFont(renderer, kSharedFaceRequests[f]);
                drawn[f].clear();
                for (const char32_t code : characters) {
                    drawn[f].push_back(font ? factsOf(*font, code) : Facts{});
                }
            }
        });
    }
    // Meanwhile another thread asks what the window asks: the typefaces and a file's faces.
    for (int i = 0; i < 20; ++i) {
        EXPECT_FALSE(renderer.faceNames().empty());
        EXPECT_TRUE(renderer.inspectFontFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (std::size_t f = 0; f < kSharedFaceRequests.size(); ++f) {
        EXPECT_TRUE(drawn[f] == alone[f]) << kSharedFaceRequests[f].faceName << " "
                                          << kSharedFaceRequests[f].pixelHeight << " px";
    }
}

// The face a new project starts with is the one fontconfig gives for "sans-serif", under a name
// of the face list (DejaVu Sans on a fresh Debian).
TEST(FreetypeFontFacts, DefaultFaceIsTheSystemsSansSerif) {
    std::vector<std::string> families;
    FcConfig* config = FcInitLoadConfigAndFonts();
    FcPattern* query = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    FcConfigSubstitute(config, query, FcMatchPattern);
    FcDefaultSubstitute(query);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, query, &result);
    FcChar8* family = nullptr;
    for (int i = 0;
         match != nullptr && FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch;
         ++i) {
        families.emplace_back(reinterpret_cast<const char*>(family));
    }
    FcPatternDestroy(match);
    FcPatternDestroy(query);
    FcConfigDestroy(config);
    ASSERT_FALSE(families.empty());

    FreetypeFontRenderer renderer;
    const std::string chosen = renderer.defaultFaceName();
    const std::vector<std::string>& faces = renderer.faceNames();
    EXPECT_NE(std::find(families.begin(), families.end(), chosen), families.end()) << chosen;
    EXPECT_NE(std::find(faces.begin(), faces.end(), chosen), faces.end()) << chosen;
}

}  // namespace
}  // namespace vemro
