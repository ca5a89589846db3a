// The font catalogue's typefaces whose weight varies: a variable font with a `wght` axis, or
// named instances of more than two weights, drawn at any weight from the designer's faces.

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "engine/font/freetype/face_variation.h"
#include "engine/font/freetype/font_catalogue.h"

namespace vemro {

namespace {

// The weight halfway between the lightest and the heaviest on offer.
constexpr std::int32_t kMiddleWeight = 500;

// How far a weight lies from the weights a face has.
double weightDistance(double lightest, double heaviest, double weight) {
    return weight < lightest ? lightest - weight : weight > heaviest ? weight - heaviest : 0.0;
}

// Fixed faces first, then variable fonts, then named instances (which the variable font
// itself draws the same).
int kindRank(bool variable, bool instance) {
    return variable ? 1 : instance ? 2 : 0;
}

}  // namespace

bool FontCatalogue::variesInWeight(const std::vector<FaceEntry>& entries) {
    std::set<int> instanceWeights;
    for (const FaceEntry& entry : entries) {
        if (entry.variable && entry.heaviest > entry.lightest) {
            return true;
        }
        if (entry.instance) {
            instanceWeights.insert(static_cast<int>(std::lround(entry.lightest)));
        }
    }
    return instanceWeights.size() > 2;
}

std::optional<FaceChoice> FontCatalogue::chooseVaryingFace(const FontRequest& request,
                                                           const std::vector<FaceEntry>& entries,
                                                           FaceCache& faces) {
    using Score = std::tuple<bool, double, int, int, bool, std::size_t>;
    const FaceEntry* best = nullptr;
    Score bestScore;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const FaceEntry& entry = entries[i];
        const FT_Face face = faces.open(entry.location);
        if (face == nullptr || !FT_IS_SCALABLE(face)) {
            continue;
        }
        bool upright = entry.upright;
        if (entry.variable && request.italic && upright) {
            // A variable font that leans on an axis has its italic too.
            upright = !setAxes(face, request.weight, true).italic;
            resetAxes(face);
        }
        const Score score{upright == request.italic,
                          weightDistance(entry.lightest, entry.heaviest, request.weight),
                          kindRank(entry.variable, entry.instance),
                          std::abs(entry.width - FC_WIDTH_NORMAL),
                          !FT_IS_SFNT(face),
                          i};
        if (best == nullptr || score < bestScore) {
            best = &entry;
            bestScore = score;
        }
    }
    if (best == nullptr) {
        return std::nullopt;
    }
    return FaceChoice{best->location, best->variable, false, !best->upright};
}

std::vector<FaceWeight> FontCatalogue::weightsOf(const FontRequest& request, FaceCache& faces) {
    build(faces);
    const std::vector<FaceEntry>* entries = facesNamed(request.faceName);
    if (entries == nullptr || !variesInWeight(*entries)) {
        return {};
    }
    // The names of the instances that the request's italic reaches: of the variable font that
    // draws the typeface's middle weight, or else of the named instances listed.
    FontRequest middle = request;
    middle.weight = kMiddleWeight;
    std::vector<FaceWeight> named;
    if (const std::optional<FaceChoice> choice = chooseVaryingFace(middle, *entries, faces);
        choice && choice->onAxes) {
        if (const FT_Face face = faces.open(choice->location)) {
            named = instanceWeights(face, request.italic);
        }
    } else {
        for (const FaceEntry& entry : *entries) {
            if (entry.instance && entry.upright != request.italic) {
                named.push_back(FaceWeight{static_cast<std::int32_t>(std::lround(entry.lightest)),
                                           entry.style});
            }
        }
    }
    return offeredWeights(named);
}

}  // namespace vemro
