#include "files/export/font_description.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "engine/project/setting_choices.h"

namespace vemro {

namespace {

std::int32_t nearest(double value) {
    return static_cast<std::int32_t>(std::lround(value));
}

// Whether the cell lies wholly on a page of the result.
bool onItsPage(const PlacedGlyph& cell, const AtlasResult& result) {
    if (cell.page < 0 || static_cast<std::size_t>(cell.page) >= result.pages.size()) {
        return false;
    }
    return cell.x >= 0 && cell.y >= 0 &&
           std::int64_t{cell.x} + std::max(cell.width, 0) <= result.textureSize.width &&
           std::int64_t{cell.y} + std::max(cell.height, 0) <= result.textureSize.height;
}

}  // namespace

FontDescription describeFont(const Project& project, const AtlasResult& result,
                             const std::vector<std::string>& pageFiles) {
    FontDescription description;
    const std::int32_t factor = std::max(result.factor, 1);
    const FontSettings& font = project.font;
    description.face = result.fontName.empty() ? font.faceName : result.fontName;
    description.size = nearest(static_cast<double>(pixelHeightFor(font.size, factor)) / factor);
    description.bold = fixedWeightFor(font.weight) != FontSettings::kWeightNormal;
    description.italic = font.italic;
    description.smooth = font.quality != FontSettings::kQualityNonAntialiased;
    description.aa = factor;
    const FontBorders& borders = result.fontBorders;
    description.padding = {borders.top, borders.right, borders.bottom, borders.left};
    description.spacing = {result.spacing, result.spacing};
    description.outline = result.effects.outline ? result.effects.outlineWidth : 0;
    description.distanceRange = result.encoding.distanceRange();
    description.fieldType = result.encoding.fieldType();

    description.lineHeight = nearest(result.lineSpacing);
    description.base = nearest(result.ascent);
    description.scaleW = result.textureSize.width;
    description.scaleH = result.textureSize.height;
    // What each channel of a page file holds, by the page's channels: one is written as white
    // with the value in alpha; three (a multi-channel field) as red, green and blue, which a
    // loader gives an alpha of one; four as they are.
    if (result.encoding.channels >= 3) {
        const std::int32_t held = result.effects.outline ? kChannelGlyphAndOutline : kChannelGlyph;
        description.redChnl = held;
        description.greenChnl = held;
        description.blueChnl = held;
        description.alphaChnl = result.encoding.channels == 4 ? held : kChannelOne;
    }
    description.pages = pageFiles;

    // The advance of each character described, for the kerning after it.
    std::unordered_map<char32_t, double> described;
    const bool anyColour = std::any_of(result.glyphs.begin(), result.glyphs.end(),
                                       [](const PlacedGlyph& cell) { return cell.colour; });
    for (const PlacedGlyph& cell : result.glyphs) {
        if (!onItsPage(cell, result) || !described.emplace(cell.code, cell.advance).second) {
            continue;
        }
        DescribedChar c;
        c.id = static_cast<std::uint32_t>(cell.code);
        c.x = cell.x;
        c.y = cell.y;
        c.width = std::max(cell.width, 0);
        c.height = std::max(cell.height, 0);
        c.xoffset = nearest(cell.a) - cell.inkLeft;
        c.yoffset = cell.lineTop - (borders.top + result.effectPadding.top);
        c.xadvance = nearest(cell.advance);
        c.page = cell.page;
        c.chnl = kAllChannels;
        c.color = anyColour ? (cell.colour ? 1 : 0) : -1;
        description.chars.push_back(c);
    }
    if (result.kerning) {
        for (const KerningPair& pair : *result.kerning) {
            const auto left = described.find(pair.left);
            if (left == described.end() || !described.contains(pair.right)) {
                continue;
            }
            const std::int32_t amount = kerningInAtlasPixels(pair, left->second, factor);
            if (amount != 0) {
                description.kernings.push_back(
                    DescribedKerning{static_cast<std::uint32_t>(pair.left),
                                     static_cast<std::uint32_t>(pair.right), amount});
            }
        }
    }
    return description;
}

}  // namespace vemro
