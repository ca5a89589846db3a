#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include "engine/freetype_handles.h"

namespace vemro {

// The glyph index of a Unicode code point in the face's selected character map; 0 when the face
// has no glyph for it.
//
// A Unicode map is asked for the code point itself. Faces without one carry characters under
// Windows-1252 bytes: the code point's byte is used (the code point itself when the code page
// has none), and a Microsoft symbol map is asked for 0xF000 plus that value first, where symbol
// fonts put their characters, then for the value itself.
FT_UInt glyphIndexFor(FT_Face face, char32_t code);

}  // namespace vemro
