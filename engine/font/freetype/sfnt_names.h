#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <string>

#include "engine/font/freetype/freetype_handles.h"

namespace vemro {

// The English record with the name id on the Microsoft platform, as UTF-8 (US English
// preferred); empty when the face has none.
std::string englishName(FT_Face face, FT_UInt nameId);

// The family name a Windows program lists for the face: the English name record with name id 1
// on the Microsoft platform, as UTF-8 (US English preferred). Empty when the face has none (for
// example a Type 1 font).
std::string legacyFamilyName(FT_Face face);

// The family name the program shows for the face: the legacy name above, else FreeType's family
// name (empty when the face has neither).
std::string familyNameOf(FT_Face face);

}  // namespace vemro
