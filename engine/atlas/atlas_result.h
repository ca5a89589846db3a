#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/font/font_renderer.h"
#include "engine/project/atlas_kind.h"
#include "engine/project/atlas_size.h"
#include "engine/project/effect_settings.h"
#include "engine/project/font_borders.h"

namespace vemro {

// One texture of the atlas, exactly the texture's size, top row first, holding what the result's
// encoding says: 8-bit coverage or a distance field, or 32-bit red, green, blue and straight
// alpha.
struct AtlasPage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;  // width x height x channels, row-major
    std::int32_t channels = 1;         // the encoding's

    // The value of an 8-bit page, or channel `channel` of a colour page, at (x, y).
    std::uint8_t at(std::int32_t x, std::int32_t y, std::int32_t channel = 0) const {
        return pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(x)) *
                          static_cast<std::size_t>(channels) +
                      static_cast<std::size_t>(channel)];
    }

    friend bool operator==(const AtlasPage&, const AtlasPage&) = default;
};

// One character as the rebuild placed it, in the order of the project's glyph list.
struct PlacedGlyph {
    char32_t code = 0;
    // The cell, borders included, in atlas pixels on its page. A cell may lie partly or wholly
    // outside the page (a texture too small for every glyph); only its part on the page is
    // drawn.
    std::int32_t page = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    // Where the ink starts inside the cell: the font's and the character's left borders and what
    // the effects add on the left. An outline, shadow or distance field reaching past the ink is
    // drawn to its left; the descriptors keep the ink where it lies without effects.
    std::int32_t inkLeft = 0;
    // The rows of the line the cell holds below its top border and the effects' padding: from
    // row lineTop of the line (counted from the line's top; negative above it), lineRows of them.
    // A full cell holds the whole line (0 and the line height); a cell trimmed to its glyph's
    // ink only the ink's rows (none without ink).
    std::int32_t lineTop = 0;
    std::int32_t lineRows = 0;
    // Metrics at atlas scale (the supersampled values divided by the factor, not rounded):
    // the distance from the pen to the left edge of the ink (A), the width of the ink (B) and
    // the advance width as shaping uses it.
    double a = 0.0;
    double b = 0.0;
    double advance = 0.0;
    // The glyph's index in the face; 0 when the face has no glyph for the character.
    std::uint32_t glyphIndex = 0;
    // Whether the glyph is drawn in its own colours (an emoji) rather than as white ink.
    bool colour = false;

    friend bool operator==(const PlacedGlyph&, const PlacedGlyph&) = default;
};

// What a rebuild produces from a project: the pages and the placed glyphs with the metrics that
// exporters and the preview need. A plain value; nothing in it refers back to the project.
struct AtlasResult {
    // The size of every page.
    AtlasSize textureSize;
    // Always at least one page.
    std::vector<AtlasPage> pages;
    std::vector<PlacedGlyph> glyphs;
    // What the pages hold and how their values are read.
    AtlasEncoding encoding;
    // The supersampling factor the glyphs were drawn with, 1..4.
    std::int32_t factor = 1;
    // The padding of every cell, as the project gave it.
    FontBorders fontBorders;
    // The effects as the pages hold them (appliedEffects: a distance field has no outline or
    // shadow), and what they add around every glyph's ink inside its cell.
    EffectSettings effects;
    EffectPadding effectPadding;
    // Line metrics at atlas scale: the cell height without borders and effect padding (the
    // supersampled line height divided by the factor, truncated) and the ascent (divided, not
    // rounded).
    std::int32_t lineHeight = 0;
    double ascent = 0.0;
    // The distance between lines of text at atlas scale: the supersampled line height divided by
    // the factor, not rounded.
    double lineSpacing = 0.0;
    // Empty pixels the packer keeps between neighbouring cells.
    std::int32_t spacing = 1;
    // The kerning between the characters of the glyph list, in 1/64 pixel at the font's em
    // height (the supersampled one; kerningInAtlasPixels gives atlas pixels), ordered by left and
    // then right character. Empty when the project's kerning option is off or the font has none;
    // shared between the results of one font and character set; never null.
    std::shared_ptr<const std::vector<KerningPair>> kerning =
        std::make_shared<const std::vector<KerningPair>>();
    // Glyphs whose cell lies partly or wholly outside its page.
    std::size_t glyphsOutsideTexture = 0;
    // The family name of the face the glyphs come from; empty without a font.
    std::string fontName;
    // Every character that face maps to a glyph, ascending (shared between the results of one
    // font); never null.
    std::shared_ptr<const std::vector<char32_t>> fontCharacters =
        std::make_shared<const std::vector<char32_t>>();
    // Empty when the font was made; otherwise why not, in a sentence naming the face. Every
    // glyph is then an empty cell of the borders' size.
    std::string fontProblem;

    friend bool operator==(const AtlasResult& left, const AtlasResult& right);
};

// A kerning pair's amount in whole atlas pixels, to go with the left character's advance rounded
// to nearest (halves away from zero), as a descriptor writes them: an engine moves the pen by both,
// so the amount is chosen to make that step the font's kerned step rounded,
// round(advance + kerning) - round(advance), the kerning divided by 64 and the factor. leftAdvance
// is the left character's advance at atlas scale, not rounded.
std::int32_t kerningInAtlasPixels(const KerningPair& pair, double leftAdvance, std::int32_t factor);

// The characters of the result's glyphs that the font has no glyph for, each once, in list order.
std::vector<char32_t> charactersMissingFromFont(const AtlasResult& result);

}  // namespace vemro
