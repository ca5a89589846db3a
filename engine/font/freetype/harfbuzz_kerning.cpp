#include "engine/font/freetype/harfbuzz_kerning.h"

#include FT_MULTIPLE_MASTERS_H

#include <hb-ft.h>
#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "engine/font/freetype/character_lookup.h"
#include "engine/font/freetype/legacy_kern_table.h"

namespace vemro {

namespace {

constexpr hb_tag_t kKernTag = HB_TAG('k', 'e', 'r', 'n');
// Pairs shaped in one buffer: large enough that the cost of a call vanishes, small enough that
// the buffer stays in the cache.
constexpr std::size_t kPairsPerBuffer = 4096;
// The most pairs shaped for one list of characters (about half a second of shaping): a face whose
// kerning lookups cover more than about 1,400 characters of one script keeps the pairs of its
// first characters in code point order.
constexpr std::size_t kMaxShapedPairs = std::size_t{1} << 21;

template <typename T, void (*destroy)(T*)>
struct HbDelete {
    void operator()(T* object) const { destroy(object); }
};
using HbFace = std::unique_ptr<hb_face_t, HbDelete<hb_face_t, hb_face_destroy>>;
using HbFont = std::unique_ptr<hb_font_t, HbDelete<hb_font_t, hb_font_destroy>>;
using HbBuffer = std::unique_ptr<hb_buffer_t, HbDelete<hb_buffer_t, hb_buffer_destroy>>;
using HbSet = std::unique_ptr<hb_set_t, HbDelete<hb_set_t, hb_set_destroy>>;
using HbBlob = std::unique_ptr<hb_blob_t, HbDelete<hb_blob_t, hb_blob_destroy>>;

// A character that may kern: its glyph, the glyph's advance and the character's script.
struct Candidate {
    char32_t code = 0;
    hb_codepoint_t glyph = 0;
    hb_position_t advance = 0;
    hb_script_t script = HB_SCRIPT_COMMON;
};

bool isDefaultIgnorable(char32_t code) {
    return code == 0x00AD || code == 0x034F || code == 0x061C || code == 0x115F || code == 0x1160 ||
           code == 0x17B4 || code == 0x17B5 || (code >= 0x180B && code <= 0x180F) ||
           (code >= 0x200B && code <= 0x200F) || (code >= 0x202A && code <= 0x202E) ||
           (code >= 0x2060 && code <= 0x206F) || code == 0x3164 ||
           (code >= 0xFE00 && code <= 0xFE0F) || code == 0xFEFF || code == 0xFFA0 ||
           (code >= 0xFFF0 && code <= 0xFFF8) || (code >= 0x1BCA0 && code <= 0x1BCA3) ||
           (code >= 0x1D173 && code <= 0x1D17A) || (code >= 0xE0000 && code <= 0xE0FFF);
}

// Characters text never kerns: controls, format characters and other default ignorables, which
// shaping hides, and marks that attach to the character before them instead of following it.
bool neverKerns(hb_unicode_funcs_t* unicode, char32_t code) {
    switch (hb_unicode_general_category(unicode, code)) {
        case HB_UNICODE_GENERAL_CATEGORY_CONTROL:
        case HB_UNICODE_GENERAL_CATEGORY_FORMAT:
        case HB_UNICODE_GENERAL_CATEGORY_SURROGATE:
        case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
        case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
            return true;
        default:
            return isDefaultIgnorable(code);
    }
}

// Scripts that take the script of the text around them.
bool isSharedScript(hb_script_t script) {
    return script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED ||
           script == HB_SCRIPT_UNKNOWN;
}

// Every glyph a lookup of the GPOS `kern` feature (of any script and language) names, before,
// in or after its input, and every glyph the legacy kern table names.
std::vector<bool> glyphsThatCanKern(hb_face_t* face) {
    const unsigned glyphCount = hb_face_get_glyph_count(face);
    std::vector<bool> can(glyphCount, false);

    const HbSet lookups(hb_set_create());
    const hb_tag_t features[] = {kKernTag, HB_TAG_NONE};
    hb_ot_layout_collect_lookups(face, HB_OT_TAG_GPOS, nullptr, nullptr, features, lookups.get());
    const HbSet glyphs(hb_set_create());
    for (hb_codepoint_t lookup = HB_SET_VALUE_INVALID; hb_set_next(lookups.get(), &lookup);) {
        hb_ot_layout_lookup_collect_glyphs(face, HB_OT_TAG_GPOS, lookup, glyphs.get(), glyphs.get(),
                                           glyphs.get(), nullptr);
    }
    for (hb_codepoint_t glyph = HB_SET_VALUE_INVALID; hb_set_next(glyphs.get(), &glyph);) {
        if (glyph < glyphCount) {
            can[glyph] = true;
        }
    }

    const HbBlob kern(hb_face_reference_table(face, kKernTag));
    unsigned length = 0;
    const char* data = hb_blob_get_data(kern.get(), &length);
    const KernTableGlyphs table =
        kernTableGlyphs(reinterpret_cast<const std::uint8_t*>(data), length);
    if (table.anyGlyph) {
        can.assign(glyphCount, true);
    }
    for (const std::uint16_t glyph : table.glyphs) {
        if (glyph < glyphCount) {
            can[glyph] = true;
        }
    }
    return can;
}

// The font in design units, at the face's variation when it has one.
HbFont designUnitFont(hb_face_t* face, FT_Face ftFace) {
    HbFont font(hb_font_create(face));
    const auto upem = static_cast<int>(hb_face_get_upem(face));
    hb_font_set_scale(font.get(), upem, upem);
    FT_MM_Var* axes = nullptr;
    if (FT_HAS_MULTIPLE_MASTERS(ftFace) && FT_Get_MM_Var(ftFace, &axes) == 0) {
        std::vector<FT_Fixed> blend(axes->num_axis);
        if (FT_Get_Var_Blend_Coordinates(ftFace, axes->num_axis, blend.data()) == 0) {
            // FreeType's normalized coordinates are 16.16, HarfBuzz's 2.14.
            std::vector<int> normalized;
            for (const FT_Fixed coordinate : blend) {
                normalized.push_back(static_cast<int>(coordinate >> 2));
            }
            hb_font_set_var_coords_normalized(font.get(), normalized.data(),
                                              static_cast<unsigned>(normalized.size()));
        }
        FT_Done_MM_Var(ftFace->glyph->library, axes);
    }
    return font;
}

// Every feature of the font but kerning, switched off: no substitution changes a glyph, and no
// other positioning moves one.
std::vector<hb_feature_t> kerningAlone(hb_face_t* face) {
    std::vector<hb_tag_t> tags;
    for (const hb_tag_t table : {HB_OT_TAG_GSUB, HB_OT_TAG_GPOS}) {
        unsigned start = 0;
        hb_tag_t page[64];
        unsigned count = 64;
        while (hb_ot_layout_table_get_feature_tags(face, table, start, &count, page), count > 0) {
            tags.insert(tags.end(), page, page + count);
            start += count;
            count = 64;
        }
    }
    std::sort(tags.begin(), tags.end());
    tags.erase(std::unique(tags.begin(), tags.end()), tags.end());
    std::vector<hb_feature_t> features;
    for (const hb_tag_t tag : tags) {
        features.push_back(hb_feature_t{tag, tag == kKernTag ? 1u : 0u, HB_FEATURE_GLOBAL_START,
                                        HB_FEATURE_GLOBAL_END});
    }
    return features;
}

// Shapes pairs of candidates and reads the kerning of each off the positions.
class PairShaper {
public:
    PairShaper(hb_face_t* face, hb_font_t* font)
        : font_(font), buffer_(hb_buffer_create()), features_(kerningAlone(face)) {}

    // The kerning of each pair, shaped in one buffer with the separator after each pair; nothing
    // when shaping did not keep one glyph per character in order.
    std::optional<std::vector<hb_position_t>> shapeTogether(
        hb_script_t script, const std::vector<Candidate>& candidates,
        const std::pair<std::uint32_t, std::uint32_t>* pairs, std::size_t count,
        char32_t separator) {
        text_.clear();
        for (std::size_t i = 0; i < count; ++i) {
            text_.push_back(candidates[pairs[i].first].code);
            text_.push_back(candidates[pairs[i].second].code);
            text_.push_back(separator);
        }
        shape(script);
        unsigned length = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer_.get(), &length);
        const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer_.get(), &length);
        if (length != text_.size()) {
            return std::nullopt;
        }
        std::vector<hb_position_t> amounts(count, 0);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = 3 * i;
            if (info[at].cluster != at || info[at + 1].cluster != at + 1 ||
                info[at + 2].cluster != at + 2) {
                return std::nullopt;
            }
            amounts[i] = amount(candidates[pairs[i].first], candidates[pairs[i].second], info + at,
                                position + at);
        }
        return amounts;
    }

    // The kerning of one pair shaped alone; 0 when shaping made other glyphs of it.
    hb_position_t shapeAlone(hb_script_t script, const Candidate& left, const Candidate& right) {
        text_.assign({left.code, right.code});
        shape(script);
        unsigned length = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer_.get(), &length);
        const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer_.get(), &length);
        return length == 2 ? amount(left, right, info, position) : 0;
    }

private:
    void shape(hb_script_t script) {
        hb_buffer_clear_contents(buffer_.get());
        hb_buffer_add_utf32(buffer_.get(), reinterpret_cast<const std::uint32_t*>(text_.data()),
                            static_cast<int>(text_.size()), 0, static_cast<int>(text_.size()));
        hb_buffer_set_direction(buffer_.get(), HB_DIRECTION_LTR);
        hb_buffer_set_script(buffer_.get(), script);
        hb_shape(font_, buffer_.get(), features_.data(), static_cast<unsigned>(features_.size()));
    }

    // How far the right glyph of a shaped pair moved from where the left glyph's own advance puts
    // it: the left glyph's changed advance and the right glyph's offset. Nothing when shaping
    // changed a glyph (the pair is then not the glyphs the atlas draws).
    static hb_position_t amount(const Candidate& left, const Candidate& right,
                                const hb_glyph_info_t* info, const hb_glyph_position_t* position) {
        if (info[0].codepoint != left.glyph || info[1].codepoint != right.glyph) {
            return 0;
        }
        return position[0].x_advance - left.advance + position[1].x_offset;
    }

    hb_font_t* font_;
    HbBuffer buffer_;
    std::vector<hb_feature_t> features_;
    std::vector<char32_t> text_;
};

// A character after which no pair kerns and which no lookup skips: its glyph is named by no
// kerning lookup and is no mark, ligature or component. Nothing when the face has none.
std::optional<char32_t> findSeparator(FT_Face ftFace, hb_face_t* face, hb_font_t* font,
                                      const std::vector<bool>& canKern,
                                      const std::vector<char32_t>& fontCharacters,
                                      hb_unicode_funcs_t* unicode) {
    for (const char32_t code : fontCharacters) {
        if (code < 0x21 || neverKerns(unicode, code)) {
            continue;
        }
        const FT_UInt glyph = glyphIndexFor(ftFace, code);
        hb_codepoint_t shaped = 0;
        if (glyph == 0 || glyph >= canKern.size() || canKern[glyph] ||
            !hb_font_get_nominal_glyph(font, code, &shaped) || shaped != glyph) {
            continue;
        }
        const hb_ot_layout_glyph_class_t kind = hb_ot_layout_get_glyph_class(face, glyph);
        if (kind == HB_OT_LAYOUT_GLYPH_CLASS_UNCLASSIFIED ||
            kind == HB_OT_LAYOUT_GLYPH_CLASS_BASE_GLYPH) {
            return code;
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<KerningPair> kerningInDesignUnits(FT_Face ftFace,
                                              const std::vector<char32_t>& characters,
                                              const std::vector<char32_t>& fontCharacters) {
    std::vector<KerningPair> pairs;
    if (characters.empty() || !FT_IS_SFNT(ftFace)) {
        return pairs;
    }
    const HbFace face(hb_ft_face_create(ftFace, nullptr));
    const std::vector<bool> canKern = glyphsThatCanKern(face.get());
    const HbFont font = designUnitFont(face.get(), ftFace);
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();

    // The characters whose glyph can kern, each with the glyph HarfBuzz shapes it with (which a
    // face without a Unicode map may not share with the atlas: those do not kern).
    std::vector<Candidate> candidates;
    std::map<hb_script_t, std::size_t> scriptCounts;
    for (const char32_t code : characters) {
        const FT_UInt glyph = glyphIndexFor(ftFace, code);
        hb_codepoint_t shaped = 0;
        if (glyph == 0 || glyph >= canKern.size() || !canKern[glyph] || neverKerns(unicode, code) ||
            !hb_font_get_nominal_glyph(font.get(), code, &shaped) || shaped != glyph) {
            continue;
        }
        const hb_script_t script = hb_unicode_script(unicode, code);
        if (hb_script_get_horizontal_direction(script) == HB_DIRECTION_RTL) {
            continue;
        }
        candidates.push_back(
            Candidate{code, glyph, hb_font_get_glyph_h_advance(font.get(), glyph), script});
        if (!isSharedScript(script)) {
            ++scriptCounts[script];
        }
    }
    if (candidates.empty()) {
        return pairs;
    }
    hb_script_t mostUsed = HB_SCRIPT_LATIN;
    std::size_t mostUses = 0;
    for (const auto& [script, uses] : scriptCounts) {
        if (uses > mostUses) {
            mostUsed = script;
            mostUses = uses;
        }
    }

    // The pairs by the script they are shaped in.
    using IndexPair = std::pair<std::uint32_t, std::uint32_t>;
    std::map<hb_script_t, std::vector<IndexPair>> byScript;
    std::size_t shaped = 0;
    for (std::uint32_t l = 0; l < candidates.size() && shaped < kMaxShapedPairs; ++l) {
        const hb_script_t left = candidates[l].script;
        for (std::uint32_t r = 0; r < candidates.size(); ++r) {
            const hb_script_t right = candidates[r].script;
            if (!isSharedScript(left) && !isSharedScript(right) && left != right) {
                continue;
            }
            const hb_script_t script = !isSharedScript(left)    ? left
                                       : !isSharedScript(right) ? right
                                                                : mostUsed;
            byScript[script].emplace_back(l, r);
            ++shaped;
        }
    }

    PairShaper shaper(face.get(), font.get());
    const std::optional<char32_t> separator =
        findSeparator(ftFace, face.get(), font.get(), canKern, fontCharacters, unicode);
    const auto keep = [&](const IndexPair& pair, hb_position_t amount) {
        if (amount != 0) {
            pairs.push_back(
                KerningPair{candidates[pair.first].code, candidates[pair.second].code, amount});
        }
    };
    for (const auto& [script, scriptPairs] : byScript) {
        for (std::size_t start = 0; start < scriptPairs.size(); start += kPairsPerBuffer) {
            const std::size_t count = std::min(kPairsPerBuffer, scriptPairs.size() - start);
            const IndexPair* chunk = scriptPairs.data() + start;
            std::optional<std::vector<hb_position_t>> amounts;
            if (separator) {
                amounts = shaper.shapeTogether(script, candidates, chunk, count, *separator);
            }
            for (std::size_t i = 0; i < count; ++i) {
                const Candidate& left = candidates[chunk[i].first];
                const Candidate& right = candidates[chunk[i].second];
                keep(chunk[i], amounts ? (*amounts)[i] : shaper.shapeAlone(script, left, right));
            }
        }
    }
    std::sort(pairs.begin(), pairs.end(), [](const KerningPair& a, const KerningPair& b) {
        return a.left != b.left ? a.left < b.left : a.right < b.right;
    });
    return pairs;
}

}  // namespace vemro
