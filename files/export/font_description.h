#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/atlas/atlas_result.h"
#include "engine/project/project.h"

namespace vemro {

// One character of a BMFont description, in atlas pixels.
struct DescribedChar {
    std::uint32_t id = 0;  // the Unicode code point
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t xoffset = 0;
    std::int32_t yoffset = 0;
    std::int32_t xadvance = 0;
    std::int32_t page = 0;
    std::int32_t chnl = 0;
    // In an atlas with colour glyphs, 1 for a glyph in its own colours and 0 for white ink that
    // an engine may tint; -1 (not written) in other atlases. The JSON and XML descriptors write
    // it as "color", next to the attributes a reader already knows.
    std::int32_t color = -1;

    friend bool operator==(const DescribedChar&, const DescribedChar&) = default;
};

struct DescribedKerning {
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    std::int32_t amount = 0;

    friend bool operator==(const DescribedKerning&, const DescribedKerning&) = default;
};

// Channel values of the common block: what a texture channel holds.
inline constexpr std::int32_t kChannelGlyph = 0;
inline constexpr std::int32_t kChannelGlyphAndOutline = 2;
inline constexpr std::int32_t kChannelOne = 4;
// A character's chnl: its glyph is in every channel of the page.
inline constexpr std::int32_t kAllChannels = 15;

// Everything a BMFont descriptor says, whatever its layout (text, XML, binary or JSON).
struct FontDescription {
    // info
    std::string face;
    std::int32_t size = 0;  // the em height in atlas pixels
    bool bold = false;
    bool italic = false;
    bool unicode = true;
    std::int32_t stretchH = 100;
    bool smooth = true;
    std::int32_t aa = 1;
    std::array<std::int32_t, 4> padding{};  // up, right, down, left
    std::array<std::int32_t, 2> spacing{};  // horizontal, vertical
    std::int32_t outline = 0;
    // common
    std::int32_t lineHeight = 0;
    std::int32_t base = 0;
    std::int32_t scaleW = 0;
    std::int32_t scaleH = 0;
    bool packed = false;
    std::int32_t alphaChnl = kChannelGlyph;
    std::int32_t redChnl = kChannelOne;
    std::int32_t greenChnl = kChannelOne;
    std::int32_t blueChnl = kChannelOne;
    // For a distance field: the range in atlas pixels of distance the values 0..255 span (twice
    // the spread), and its type ("sdf", "psdf", "msdf" or "mtsdf"); 0 and empty without one. XML
    // and JSON describe it as a distanceField of that fieldType.
    std::int32_t distanceRange = 0;
    std::string fieldType;
    // The page files, named relative to the descriptor's folder; the page id is the index.
    std::vector<std::string> pages;
    std::vector<DescribedChar> chars;
    std::vector<DescribedKerning> kernings;

    friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

// The BMFont description of an atlas whose pages are stored in the files `pageFiles`.
// Metrics are atlas pixels, the supersampled values divided by the factor and rounded to
// nearest:
// - each character once (its first cell in the glyph list), in list order, without the cells
//   that leave their page; id is the code point; x, y, width, height and page the cell as placed
//   (borders included; a negative width is 0); xoffset = A - (font border left + character border
//   left), so that the ink lands at pen x + A; yoffset = lineTop - (font border top + the
//   effects' top padding), the cell's first line row being row lineTop of the line (0 for a cell
//   of the whole line); xadvance the advance width as shaping uses it;
// - lineHeight the line height, base the ascent, scaleW and scaleH the page size;
// - info: the face in use (the project's face name without a font), size the em height, bold
//   for weights above 550 (those a face of fixed weights draws bold), italic, smooth for
//   antialiased quality, aa the factor, padding the font borders (up, right, down, left), spacing
//   the packing spacing twice;
// - the kerning pairs the font has between the characters described, each the amount that makes
//   xadvance + kerning the kerned step rounded (kerningInAtlasPixels), without those of 0;
// - channels: what a loader gets from the page. A 32-bit page, and an 8-bit one (indexed, white
//   entries with the coverage as their alpha), is white with the glyph in alpha (alpha 0, red,
//   green and blue 4); a colour page (effects) holds the composed glyph in all four channels (0,
//   or 2, glyph and outline, with an outline), whatever the image kind asked for, and so does an
//   mtsdf page; an msdf page holds the field in red, green and blue (0) and no alpha, which
//   loaders read as one (4). Every character's chnl is 15;
// - outline: the outline's width; distanceRange and fieldType: the result's encoding's.
FontDescription describeFont(const Project& project, const AtlasResult& result,
                             const std::vector<std::string>& pageFiles);

}  // namespace vemro
