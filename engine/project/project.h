#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/font/font_renderer.h"
#include "engine/project/atlas_size.h"
#include "engine/project/effect_settings.h"
#include "engine/project/font_borders.h"
#include "engine/project/font_settings.h"
#include "engine/project/glyph_list.h"
#include "engine/project/packing_settings.h"

namespace vemro {

// Everything a project is: the inputs of an atlas. The window shows it in its controls and
// writes every change into it; the project file stores it; a rebuild turns it into an atlas.
// Its values are brought into their ranges where they enter (the project file, the command line,
// the window's controls), so that the engine takes them as they are (withinRanges).
// A plain value: copies are independent, and two projects are equal when every setting is, so
// two equal projects make the same atlas.
struct Project {
    AtlasSize textureSize;
    FontBorders fontBorders;
    FontSettings font;  // face, size, weight, quality, supersampling factor, italic
    // Faces that draw, in order, the characters the font's face lacks (empty: none).
    std::vector<FallbackFace> fallbacks;
    GlyphList glyphs;
    PackingSettings packing;
    // Whether the atlas carries the font's kerning pairs among its characters, which the
    // descriptors list and the sample line applies.
    bool kerning = true;
    // Fill colour, outline, shadow or a distance field baked into the pages.
    EffectSettings effects;

    friend bool operator==(const Project&, const Project&) = default;
};

// The project a new session starts with: an empty character list, a 256 x 256 texture, no
// borders, the given face at 11 points, "Normal", "Antialiased", no supersampling, upright, and
// kerning on.
Project startupProject(const std::string& faceName);

// Whether every value the engine computes with lies in its range: the texture's sides in
// 1..AtlasSize::kMaxSide, the font borders, size and supersampling factor, the packer and the
// spacing, and the effects' widths, offsets, blur and spread, each within its settings' limits.
bool withinRanges(const Project& project);

// Pixel em height for a size in points at a fixed 96 pixels per inch: size x factor x 96 / 72
// rounded to nearest, halves away from zero.
std::int32_t pixelHeightFor(std::int32_t size, std::int32_t factor);

// The supersampling factor a rebuild draws with: the project's; 1 for a distance field, which is
// drawn from the outline at the atlas's own size.
std::int32_t drawingFactor(const Project& project);

// The font a project asks for: its face (or font file) and style at
// pixelHeightFor(size, drawingFactor(project)), made for distance fields when it has one.
FontRequest fontRequestFor(const Project& project);

}  // namespace vemro
