#pragma once

// Internal to the FreeType renderer: includes FreeType and fontconfig.

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/font/font_renderer.h"
#include "engine/font/freetype/face_cache.h"
#include "engine/font/freetype/face_location.h"
#include "engine/font/freetype/freetype_handles.h"

namespace vemro {

// The installed typefaces as fontconfig lists them, under the family names Windows programs
// show, and the choice of a face file for a font request.
class FontCatalogue {
public:
    FontCatalogue() = default;
    FontCatalogue(const FontCatalogue&) = delete;
    FontCatalogue& operator=(const FontCatalogue&) = delete;

    // Whether the request asks for a bold face: every weight above 550 does.
    static bool wantsBold(const FontRequest& request);

    // Every scalable typeface once, sorted case-insensitively; built on first call (faces whose
    // files carry several family names are opened through `faces` to read their name table).
    const std::vector<std::string>& names(FaceCache& faces);

    // The face that best fits the request among the faces of its typeface (the name matched
    // exactly, else ignoring case), opening candidates through `faces` to read their style; for
    // a name that is not listed, or whose faces cannot be opened, fontconfig's best match.
    // Nothing when fontconfig finds no file either.
    std::optional<FaceLocation> chooseFace(const FontRequest& request, FaceCache& faces);

    // The listed typeface of the face fontconfig gives for "sans-serif" (the system's default
    // sans-serif face); the first name in the list when that face is not listed, and an empty
    // name when the list is empty.
    std::string defaultSansName(FaceCache& faces);

private:
    // A face that belongs to a typeface of the list, with the style fontconfig read from the
    // file.
    struct FaceEntry {
        FaceLocation location;
        int weight = FC_WEIGHT_REGULAR;
        int width = FC_WIDTH_NORMAL;
    };

    FcConfig* config();
    void build(FaceCache& faces);
    const std::vector<FaceEntry>* facesNamed(const std::string& name) const;
    std::optional<FaceLocation> matchFace(const FontRequest& request);

    ConfigHandle config_{nullptr, &FcConfigDestroy};
    bool built_ = false;
    std::vector<std::string> names_;
    std::map<std::string, std::vector<FaceEntry>> facesByName_;
    std::map<std::string, std::vector<FaceEntry>> facesByFoldedName_;
    // fontconfig's answers for names that are not in the list, keyed by name, bold and italic.
    std::map<std::tuple<std::string, bool, bool>, std::optional<FaceLocation>> matches_;
};

}  // namespace vemro
