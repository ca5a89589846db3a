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

// The face a font request is drawn from, and how its weight and italic are drawn.
struct FaceChoice {
    FaceLocation location;
    // Whether the weight and italic are set on the face's variation axes (a variable font).
    bool onAxes = false;
    // Whether a bold the face lacks may be synthesized; never in a typeface whose weight
    // varies, where the weights are the designer's.
    bool mayEmbolden = true;
    // Whether the face leans already, though its style may not say so (a named instance of a
    // variable font); an upright face is sheared for italic.
    bool leans = false;
};

// The installed typefaces as fontconfig lists them, under the family names Windows programs
// show, and the choice of a face file for a font request. A variable font is listed under its
// family with its named instances; a typeface whose weight varies (a `wght` axis, or named
// instances of more than two weights) is drawn at any weight from its axis or nearest face.
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
    // Nothing when fontconfig finds no file either. In a typeface whose weight varies: the
    // italic first, then the nearest weight (a variable font's whole `wght` range being its
    // weights), a fixed face before a variable font before a named instance of equal weight.
    std::optional<FaceChoice> chooseFace(const FontRequest& request, FaceCache& faces);

    // The weights the request's typeface offers when its weight varies (FontRenderer::weightsOf);
    // empty for a typeface of fixed weights or one that is not listed.
    std::vector<FaceWeight> weightsOf(const FontRequest& request, FaceCache& faces);

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
        // The weights in 1..1000 (a variable font's range on its `wght` axis, else one weight),
        // whether it is upright, and what kind of face it is.
        double lightest = 400;
        double heaviest = 400;
        bool upright = true;
        bool variable = false;  // a variable font, drawn at any point of its axes
        bool instance = false;  // a named instance of a variable font
        std::string style;      // fontconfig's style name
    };

    // A listed face as fontconfig describes it, all but its file.
    static FaceEntry describeEntry(FcPattern* font);
    FcConfig* config();
    void build(FaceCache& faces);
    const std::vector<FaceEntry>* facesNamed(const std::string& name) const;
    std::optional<FaceLocation> matchFace(const FontRequest& request);
    // matchFace's location drawn as it is.
    std::optional<FaceChoice> matched(const FontRequest& request);
    // Whether the weight of a typeface of these faces varies.
    static bool variesInWeight(const std::vector<FaceEntry>& entries);
    std::optional<FaceChoice> chooseVaryingFace(const FontRequest& request,
                                                const std::vector<FaceEntry>& entries,
                                                FaceCache& faces);

    ConfigHandle config_{nullptr, &FcConfigDestroy};
    bool built_ = false;
    std::vector<std::string> names_;
    std::map<std::string, std::vector<FaceEntry>> facesByName_;
    std::map<std::string, std::vector<FaceEntry>> facesByFoldedName_;
    // fontconfig's answers for names that are not in the list, keyed by name, bold and italic.
    std::map<std::tuple<std::string, bool, bool>, std::optional<FaceLocation>> matches_;
};

}  // namespace vemro
