#pragma once

#include <string>

#include "engine/atlas_result.h"
#include "engine/result.h"

namespace vemro {

// The .tfd text of an atlas, every line ended with CR LF: two comment lines, the texture's width
// and height, a comment line, then "<char> <x> <y> <width> <height>" for every placed glyph in
// the order of the glyph list, and "end". <char> is the character's Windows-1252 byte; a
// character the code page lacks is written as its code point, which is always 256 or more.
std::string encodeGlyphDescription(const AtlasResult& result);

// Writes encodeGlyphDescription(result) to path, whole or not at all.
Status writeGlyphDescription(const std::string& path, const AtlasResult& result);

}  // namespace vemro
