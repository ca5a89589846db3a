#pragma once

// Internal to the FreeType renderer: includes fontconfig.

#include <optional>
#include <string>
#include <vector>

#include "engine/font/freetype/face_location.h"
#include "engine/font/freetype/freetype_handles.h"

namespace vemro {

// Installed faces found by fontconfig for fallbacks, bitmap colour faces included (the catalogue
// lists only faces with outlines): a face by its family name, and the face that covers most of a
// set of characters. Not thread-safe; the renderer guards it.
class FontconfigChoice {
public:
    // The installed face of the family (case-insensitive) closest to the weight and slant;
    // nothing when no installed face has that family name.
    std::optional<FaceLocation> faceNamed(const std::string& family, int weight, bool italic);

    // The family of the first face in fontconfig's order for the characters (FcFontSort) that
    // has the most of them; nothing when no face has any.
    std::optional<std::string> familyCovering(const std::vector<char32_t>& characters);

private:
    FcConfig* config();

    ConfigHandle config_{nullptr, &FcConfigDestroy};
};

}  // namespace vemro
