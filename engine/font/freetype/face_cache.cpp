#include "engine/font/freetype/face_cache.h"

#include <utility>

namespace vemro {

FT_Face FaceCache::open(const FaceLocation& location) {
    auto cached = faces_.find(location);
    if (cached == faces_.end()) {
        cached = faces_.emplace(location, library_.open(location.path, location.index)).first;
    }
    return cached->second.get();
}

std::shared_ptr<FaceSource> FaceCache::source(const FaceLocation& location) {
    std::shared_ptr<FaceSource>& source = sources_[location];
    if (!source) {
        source = std::make_shared<FaceSource>(location.path, location.index);
    }
    return source;
}

}  // namespace vemro
