#include "engine/face_facts.h"

#include <filesystem>

#include "engine/character_lookup.h"
#include "engine/sfnt_names.h"

namespace vemro {

const std::string& FaceFacts::familyName(FT_Face face) {
    std::call_once(nameFound_, [&] {
        familyName_ = familyNameOf(face);
        if (familyName_.empty()) {
            familyName_ = std::filesystem::path(path_).filename().string();
        }
    });
    return familyName_;
}

const std::vector<char32_t>& FaceFacts::characters(FT_Face face) {
    std::call_once(charactersFound_, [&] { characters_ = charactersOf(face); });
    return characters_;
}

}  // namespace vemro
