#include "engine/face_cache.h"

#include <utility>

namespace vemro {

FT_Face FaceCache::open(const FaceLocation& location) {
    auto cached = faces_.find(location);
    if (cached == faces_.end()) {
        cached = faces_.emplace(location, library_.open(location.path, location.index)).first;
    }
    return cached->second.get();
}

std::shared_ptr<FaceFacts> FaceCache::facts(const FaceLocation& location) {
    std::shared_ptr<FaceFacts>& facts = facts_[location];
    if (!facts) {
        facts = std::make_shared<FaceFacts>(location.path);
    }
    return facts;
}

}  // namespace vemro
