#pragma once

#include <cstdint>
#include <string>

#include "engine/atlas/atlas_result.h"
#include "engine/core/result.h"

namespace vemro {

// The .tfd text of one page of an atlas, every line ended with CR LF: two comment lines, the
// page's width and height, a comment line, then "<char> <x> <y> <width> <height>" for every glyph
// placed on that page in the order of the glyph list, and "end". <char> is the character's
// Windows-1252 byte; a character the code page lacks is written as its code point, which is
// always 256 or more. Page 0 of a single-page atlas lists every glyph.
std::string encodeGlyphDescription(const AtlasResult& result, std::int32_t page = 0);

// Writes encodeGlyphDescription(result, page) to path, whole or not at all.
Status writeGlyphDescription(const std::string& path, const AtlasResult& result,
                             std::int32_t page = 0);

}  // namespace vemro
