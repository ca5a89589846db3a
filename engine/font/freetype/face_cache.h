#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <map>
#include <memory>

#include "engine/font/freetype/face_location.h"
#include "engine/font/freetype/face_source.h"
#include "engine/font/freetype/freetype_library.h"

namespace vemro {

// Faces opened to choose among them, and the source of every face a font was made from. Faces
// stay open for the life of the cache, so choosing again costs little. The cache is used by one
// thread at a time (the renderer's lock); its faces are read for their style and names only,
// never used to draw: each font draws with a face of its own from the face's source.
class FaceCache {
public:
    // The library must outlive the cache.
    explicit FaceCache(FreetypeLibrary& library) : library_(library) {}
    FaceCache(const FaceCache&) = delete;
    FaceCache& operator=(const FaceCache&) = delete;

    FreetypeLibrary& library() { return library_; }

    // The face at a location, opened on first request; null when the file cannot be opened (that
    // answer is kept too). A face without a Unicode character map gets its first map selected.
    FT_Face open(const FaceLocation& location);

    // The source of fonts of the face at a location, made on first request.
    std::shared_ptr<FaceSource> source(const FaceLocation& location);

private:
    FreetypeLibrary& library_;
    std::map<FaceLocation, FreetypeLibrary::Face> faces_;
    std::map<FaceLocation, std::shared_ptr<FaceSource>> sources_;
};

}  // namespace vemro
