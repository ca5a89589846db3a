#include "engine/font/freetype/freetype_library.h"

namespace vemro {

void FreetypeLibrary::FaceCloser::operator()(FT_Face face) const {
    const std::lock_guard lock(library->facesMutex_);
    FT_Done_Face(face);
}

FreetypeLibrary::~FreetypeLibrary() {
    if (library_ != nullptr) {
        FT_Done_FreeType(library_);
    }
}

FT_Library FreetypeLibrary::get() {
    std::call_once(started_, [this] {
        if (FT_Init_FreeType(&library_) != 0) {
            library_ = nullptr;
        }
    });
    return library_;
}

FreetypeLibrary::Face FreetypeLibrary::open(const std::string& path, FT_Long index,
                                            FT_Error* error) {
    FT_Face opened = nullptr;
    FT_Error failure = FT_Err_Cannot_Open_Resource;
    if (const FT_Library library = get(); library != nullptr) {
        const std::lock_guard lock(facesMutex_);
        failure = FT_New_Face(library, path.c_str(), index, &opened);
    }
    if (error != nullptr) {
        *error = failure;
    }
    if (failure != 0) {
        return Face(nullptr, FaceCloser{this});
    }
    if (opened->charmap == nullptr && opened->num_charmaps > 0) {
        // No Unicode map (a symbol font): use the font's own first map.
        FT_Set_Charmap(opened, opened->charmaps[0]);
    }
    return Face(opened, FaceCloser{this});
}

}  // namespace vemro
