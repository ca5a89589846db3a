#include "engine/atlas/atlas_result.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace vemro {

namespace {

const std::vector<char32_t>& charactersOf(const AtlasResult& result) {
    static const std::vector<char32_t> kNone;
    return result.fontCharacters ? *result.fontCharacters : kNone;
}

const std::vector<KerningPair>& kerningOf(const AtlasResult& result) {
    static const std::vector<KerningPair> kNone;
    return result.kerning ? *result.kerning : kNone;
}

}  // namespace

bool operator==(const AtlasResult& left, const AtlasResult& right) {
    return left.textureSize == right.textureSize && left.pages == right.pages &&
           left.glyphs == right.glyphs && left.encoding == right.encoding &&
           left.factor == right.factor && left.fontBorders == right.fontBorders &&
           left.effects == right.effects && left.effectPadding == right.effectPadding &&
           left.lineHeight == right.lineHeight && left.ascent == right.ascent &&
           left.lineSpacing == right.lineSpacing && left.spacing == right.spacing &&
           kerningOf(left) == kerningOf(right) &&
           left.glyphsOutsideTexture == right.glyphsOutsideTexture &&
           left.fontName == right.fontName && charactersOf(left) == charactersOf(right) &&
           left.fontProblem == right.fontProblem;
}

std::int32_t kerningInAtlasPixels(const KerningPair& pair, double leftAdvance,
                                  std::int32_t factor) {
    const double kerning = static_cast<double>(pair.amount) / (64.0 * std::max(factor, 1));
    return static_cast<std::int32_t>(std::lround(leftAdvance + kerning) - std::lround(leftAdvance));
}

std::vector<char32_t> charactersMissingFromFont(const AtlasResult& result) {
    // A glyph index of 0 is the face's missing-glyph shape; without a font every glyph has it.
    std::vector<char32_t> missing;
    std::unordered_set<char32_t> listed;
    for (const PlacedGlyph& glyph : result.glyphs) {
        if (glyph.glyphIndex == 0 && listed.insert(glyph.code).second) {
            missing.push_back(glyph.code);
        }
    }
    return missing;
}

}  // namespace vemro
