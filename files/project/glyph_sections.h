#pragma once

#include <cstddef>

#include "files/project/project_section.h"

namespace vemro {

// The project extension's sections for the characters and the font file:
//   CHRS  uint32 count, then per character uint32 code point, int32 left and right border: the
//         complete, ordered glyph list, duplicates included (every extension holds it; it is
//         needed when a character has no Windows-1252 byte)
//   FONT  uint32 path length, the path's UTF-8 bytes, int32 face index: the font file used
//         instead of an installed face, as stored (absolute, or relative to the project file's
//         folder), and the face inside it (only with a font file)
// Fields are little-endian.
extern const ProjectSection kCharactersSection;
extern const ProjectSection kFontSection;

}  // namespace vemro
