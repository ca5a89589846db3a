#include "engine/font/freetype/face_source.h"

#include <filesystem>

#include "engine/font/freetype/character_lookup.h"
#include "engine/font/freetype/harfbuzz_kerning.h"
#include "engine/font/freetype/sfnt_names.h"

namespace vemro {

namespace {

// Faces kept beyond this many (fonts of one face alive at the same time) are closed.
constexpr std::size_t kMaxKept = 4;

}  // namespace

FreetypeLibrary::Face FaceSource::take(FreetypeLibrary& library, FT_Error* error) {
    {
        const std::lock_guard lock(mutex_);
        if (!kept_.empty()) {
            FreetypeLibrary::Face face = std::move(kept_.back());
            kept_.pop_back();
            return face;
        }
    }
    return library.open(path_, index_, error);
}

void FaceSource::giveBack(FreetypeLibrary::Face face) {
    const std::lock_guard lock(mutex_);
    if (kept_.size() < kMaxKept) {
        kept_.push_back(std::move(face));
    }
}

const std::string& FaceSource::familyName(FT_Face face) {
    std::call_once(nameFound_, [&] {
        familyName_ = familyNameOf(face);
        if (familyName_.empty()) {
            familyName_ = std::filesystem::path(path_).filename().string();
        }
    });
    return familyName_;
}

const std::vector<char32_t>& FaceSource::characters(FT_Face face) {
    std::call_once(charactersFound_, [&] { characters_ = charactersOf(face); });
    return characters_;
}

std::vector<KerningPair> FaceSource::kerning(FT_Face face, const std::vector<char32_t>& characters,
                                             const std::vector<FT_Fixed>& coordinates) {
    const std::vector<char32_t>& all = this->characters(face);
    const std::lock_guard lock(kerningMutex_);
    if (kerningCharacters_ != characters || kerningCoordinates_ != coordinates) {
        kerning_ = kerningInDesignUnits(face, characters, all);
        kerningCharacters_ = characters;
        kerningCoordinates_ = coordinates;
    }
    return kerning_;
}

}  // namespace vemro
