#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <vector>

#include "engine/font/freetype/freetype_handles.h"

namespace vemro {

// The glyph index of a Unicode code point in the face's selected character map; 0 when the face
// has no glyph for it.
//
// A Unicode map is asked for the code point itself. Faces without one carry characters under
// Windows-1252 bytes: the code point's byte is used (the code point itself when the code page
// has none), and a Microsoft symbol map is asked for 0xF000 plus that value first, where symbol
// fonts put their characters, then for the value itself.
FT_UInt glyphIndexFor(FT_Face face, char32_t code);

// Every Unicode scalar value glyphIndexFor finds a glyph for, ascending: the codes of a Unicode
// map, or for the other maps the characters whose lookup reaches one of the map's codes.
std::vector<char32_t> charactersOf(FT_Face face);

}  // namespace vemro
