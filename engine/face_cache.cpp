#include "engine/face_cache.h"

#include <utility>

namespace vemro {

FT_Library FaceCache::library() {
    if (!library_) {
        FT_Library created = nullptr;
        if (FT_Init_FreeType(&created) == 0) {
            library_.reset(created);
        }
    }
    return library_.get();
}

FT_Face FaceCache::open(const FaceLocation& location) {
    const auto cached = faces_.find(location);
    if (cached != faces_.end()) {
        return cached->second.get();
    }
    FT_Face opened = nullptr;
    if (library() == nullptr ||
        FT_New_Face(library_.get(), location.path.c_str(), location.index, &opened) != 0) {
        opened = nullptr;
    }
    FaceHandle handle(opened, &FT_Done_Face);
    if (opened != nullptr && opened->charmap == nullptr && opened->num_charmaps > 0) {
        // No Unicode map (a symbol font): use the font's own first map.
        FT_Set_Charmap(opened, opened->charmaps[0]);
    }
    faces_.emplace(location, std::move(handle));
    return opened;
}

}  // namespace vemro
