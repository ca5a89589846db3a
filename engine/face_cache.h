#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <map>

#include "engine/face_location.h"
#include "engine/freetype_handles.h"

namespace vemro {

// The FreeType library and every face opened through it. Faces stay open for the life of the
// cache, so making a font from a face opened before costs little; a face is closed only when the
// cache goes, together with every size made on it.
class FaceCache {
public:
    FaceCache() = default;
    FaceCache(const FaceCache&) = delete;
    FaceCache& operator=(const FaceCache&) = delete;

    // Starts FreeType on first call; null when it cannot be started.
    FT_Library library();

    // The face at a location, opened on first request; null when the file cannot be opened (that
    // answer is kept too). A face without a Unicode character map gets its first map selected.
    FT_Face open(const FaceLocation& location);

private:
    // Declared first so that it is destroyed last, after the faces.
    LibraryHandle library_{nullptr, &FT_Done_FreeType};
    std::map<FaceLocation, FaceHandle> faces_;
};

}  // namespace vemro
