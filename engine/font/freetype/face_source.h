#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/font/font_renderer.h"
#include "engine/font/freetype/freetype_library.h"

namespace vemro {

// One face of one font file as fonts are made from it. Every font gets a FreeType face to itself,
// so that fonts may be used on different threads at once; a face whose font has gone is kept for
// the next font, so that making a font again costs no opening of the file. Also what the face
// holds whatever the size and style, found once: its family name, its characters, and its kerning
// for the last list of characters asked about. Safe to use from several threads at once.
class FaceSource {
public:
    // The face at `index` of the font file at `path`.
    FaceSource(std::string path, FT_Long index) : path_(std::move(path)), index_(index) {}
    FaceSource(const FaceSource&) = delete;
    FaceSource& operator=(const FaceSource&) = delete;

    // A face for one font alone: one kept from an earlier font, or else newly opened (null with
    // FreeType's error in *error when the file cannot be opened).
    FreetypeLibrary::Face take(FreetypeLibrary& library, FT_Error* error);
    // Takes back the face of a font that has gone, as it was taken (any size made on it done).
    void giveBack(FreetypeLibrary::Face face);

    // The face must be one taken from this source. The family name is the file's name for a face
    // that names no family.
    const std::string& familyName(FT_Face face);
    const std::vector<char32_t>& characters(FT_Face face);
    // The kerning between the characters in design units (see kerningInDesignUnits) at the
    // face's design coordinates (those of a variable font, else none); found again only when the
    // characters or the coordinates differ from the last call's, so that fonts of every size of
    // the face share it.
    std::vector<KerningPair> kerning(FT_Face face, const std::vector<char32_t>& characters,
                                     const std::vector<FT_Fixed>& coordinates);

private:
    std::string path_;
    FT_Long index_;
    std::mutex mutex_;
    std::vector<FreetypeLibrary::Face> kept_;
    std::once_flag nameFound_;
    std::string familyName_;
    std::once_flag charactersFound_;
    std::vector<char32_t> characters_;
    std::mutex kerningMutex_;
    std::optional<std::vector<char32_t>> kerningCharacters_;
    std::vector<FT_Fixed> kerningCoordinates_;
    std::vector<KerningPair> kerning_;
};

}  // namespace vemro
