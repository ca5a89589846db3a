#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <vector>

#include "engine/font/font_renderer.h"
#include "engine/font/freetype/freetype_handles.h"

namespace vemro {

// The kerning HarfBuzz applies between every ordered pair of `characters` when it shapes the two
// characters of the pair as text (the GPOS `kern` feature, or a legacy `kern` table where HarfBuzz
// uses that), in the face's design units; pairs of 0 are left out, and so are characters the face
// has no glyph for. `fontCharacters` are every character the face maps, ascending.
//
// Only glyphs that a kerning lookup or the kern table names can kern, so only pairs of those are
// shaped, with every other feature off, many pairs to one buffer. A pair of characters of two
// different scripts is never shaped as one run, so it does not kern; a pair of punctuation or
// digits is shaped in the script of its other character, or else the script most of the
// characters have. Combining marks, default-ignorable and control characters, and characters of
// scripts written right to left do not kern here. At most 2^21 pairs are shaped (half a second),
// those of the characters first in code point order.
std::vector<KerningPair> kerningInDesignUnits(FT_Face face, const std::vector<char32_t>& characters,
                                              const std::vector<char32_t>& fontCharacters);

}  // namespace vemro
