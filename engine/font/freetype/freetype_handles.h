#pragma once

// FreeType's headers and owning handles for fontconfig objects. Internal to the FreeType renderer:
// only its own .cpp files include this header.

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

namespace vemro {

using ConfigHandle = std::unique_ptr<FcConfig, decltype(&FcConfigDestroy)>;
using PatternHandle = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;
using ObjectSetHandle = std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)>;
using FontSetHandle = std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)>;

}  // namespace vemro
