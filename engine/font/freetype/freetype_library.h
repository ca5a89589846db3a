#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "engine/font/freetype/freetype_handles.h"

namespace vemro {

// The FreeType library of a renderer. FreeType lets several threads use one library as long as
// opening and closing faces is serialised; every face of the renderer is therefore opened and
// closed here, under one lock, while everything else done with a face needs no lock as long as
// only one thread uses that face at a time.
class FreetypeLibrary {
public:
    // Closes a face under the library's lock.
    struct FaceCloser {
        FreetypeLibrary* library = nullptr;
        void operator()(FT_Face face) const;
    };
    using Face = std::unique_ptr<FT_FaceRec_, FaceCloser>;

    FreetypeLibrary() = default;
    ~FreetypeLibrary();
    FreetypeLibrary(const FreetypeLibrary&) = delete;
    FreetypeLibrary& operator=(const FreetypeLibrary&) = delete;

    // Starts FreeType on first call; null when it cannot be started. Safe from any thread.
    FT_Library get();

    // Opens a face of a file (FT_New_Face's index: -1 only counts the faces); null with
    // FreeType's error in *error when it cannot. A face without a Unicode character map gets its
    // first map selected. Safe from any thread; the face must be closed before the library goes.
    Face open(const std::string& path, FT_Long index, FT_Error* error = nullptr);

private:
    std::once_flag started_;
    FT_Library library_ = nullptr;
    std::mutex facesMutex_;
};

}  // namespace vemro
