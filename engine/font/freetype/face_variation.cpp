#include "engine/font/freetype/face_variation.h"

#include FT_MULTIPLE_MASTERS_H

#include <algorithm>
#include <memory>
#include <optional>

#include "engine/font/freetype/sfnt_names.h"

namespace vemro {

namespace {

constexpr FT_ULong kWeightTag = FT_MAKE_TAG('w', 'g', 'h', 't');
constexpr FT_ULong kItalicTag = FT_MAKE_TAG('i', 't', 'a', 'l');
constexpr FT_ULong kSlantTag = FT_MAKE_TAG('s', 'l', 'n', 't');
constexpr FT_Fixed kOne = 0x10000;
// The weights every face whose weight varies offers.
constexpr std::int32_t kLightest = 100;
constexpr std::int32_t kHeaviest = 900;
constexpr std::int32_t kStep = 100;

struct MmVarDelete {
    FT_Library library;
    void operator()(FT_MM_Var* variation) const { FT_Done_MM_Var(library, variation); }
};
using MmVar = std::unique_ptr<FT_MM_Var, MmVarDelete>;

// The face's axes and named instances; null for a face without them.
MmVar axesOf(FT_Face face) {
    FT_MM_Var* variation = nullptr;
    if (!FT_HAS_MULTIPLE_MASTERS(face) || FT_Get_MM_Var(face, &variation) != 0) {
        return MmVar(nullptr, MmVarDelete{face->glyph->library});
    }
    return MmVar(variation, MmVarDelete{face->glyph->library});
}

std::optional<FT_UInt> axisIndex(const FT_MM_Var& variation, FT_ULong tag) {
    for (FT_UInt i = 0; i < variation.num_axis; ++i) {
        if (variation.axis[i].tag == tag) {
            return i;
        }
    }
    return std::nullopt;
}

// The design coordinates setAxes sets, the `wght` axis at its default, and what they carry.
std::vector<FT_Fixed> baseCoordinates(FT_Face face, const FT_MM_Var& variation, bool italic,
                                      AxisStyle& style) {
    std::vector<FT_Fixed> coordinates(variation.num_axis);
    for (FT_UInt i = 0; i < variation.num_axis; ++i) {
        coordinates[i] = variation.axis[i].def;
    }
    if (italic && (face->style_flags & FT_STYLE_FLAG_ITALIC) == 0) {
        if (const auto ital = axisIndex(variation, kItalicTag);
            ital && variation.axis[*ital].maximum >= kOne) {
            coordinates[*ital] = kOne;
            style.italic = true;
        } else if (const auto slant = axisIndex(variation, kSlantTag);
                   slant && variation.axis[*slant].minimum < 0) {
            // A negative slant leans forward, as italics do.
            coordinates[*slant] = variation.axis[*slant].minimum;
            style.italic = true;
        }
    }
    return coordinates;
}

}  // namespace

bool hasWeightAxis(FT_Face face) {
    const MmVar variation = axesOf(face);
    return variation && axisIndex(*variation, kWeightTag).has_value();
}

AxisStyle setAxes(FT_Face face, std::int32_t weight, bool italic) {
    AxisStyle style;
    const MmVar variation = axesOf(face);
    if (!variation) {
        return style;
    }
    std::vector<FT_Fixed> coordinates = baseCoordinates(face, *variation, italic, style);
    if (const auto axis = axisIndex(*variation, kWeightTag)) {
        const FT_Var_Axis& range = variation->axis[*axis];
        coordinates[*axis] = std::clamp(FT_Fixed{weight} * kOne, range.minimum, range.maximum);
        style.weight = true;
    }
    if (FT_Set_Var_Design_Coordinates(face, variation->num_axis, coordinates.data()) != 0) {
        return AxisStyle{};
    }
    return style;
}

std::vector<FT_Fixed> designCoordinates(FT_Face face) {
    const MmVar variation = axesOf(face);
    if (!variation) {
        return {};
    }
    std::vector<FT_Fixed> coordinates(variation->num_axis);
    if (FT_Get_Var_Design_Coordinates(face, variation->num_axis, coordinates.data()) != 0) {
        return {};
    }
    return coordinates;
}

void resetAxes(FT_Face face) {
    if (FT_HAS_MULTIPLE_MASTERS(face)) {
        FT_Set_Var_Design_Coordinates(face, 0, nullptr);
    }
}

std::vector<FaceWeight> instanceWeights(FT_Face face, bool italic) {
    std::vector<FaceWeight> weights;
    const MmVar variation = axesOf(face);
    const std::optional<FT_UInt> weightAxis =
        variation ? axisIndex(*variation, kWeightTag) : std::nullopt;
    if (!weightAxis) {
        return weights;
    }
    AxisStyle ignored;
    const std::vector<FT_Fixed> base = baseCoordinates(face, *variation, italic, ignored);
    for (FT_UInt n = 0; n < variation->num_namedstyles; ++n) {
        const FT_Var_Named_Style& instance = variation->namedstyle[n];
        // Some versions of FreeType do not sign-extend instance coordinates.
        const auto at = [&instance](FT_UInt axis) {
            return static_cast<FT_Fixed>(static_cast<std::int32_t>(instance.coords[axis]));
        };
        bool reached = true;
        for (FT_UInt axis = 0; axis < variation->num_axis; ++axis) {
            reached = reached && (axis == *weightAxis || at(axis) == base[axis]);
        }
        const FT_Fixed weight = at(*weightAxis);
        if (!reached || weight % kOne != 0) {
            continue;  // only whole weights can be chosen
        }
        weights.push_back(FaceWeight{static_cast<std::int32_t>(weight / kOne),
                                     englishName(face, instance.strid)});
    }
    std::sort(weights.begin(), weights.end(),
              [](const FaceWeight& l, const FaceWeight& r) { return l.weight < r.weight; });
    weights.erase(
        std::unique(weights.begin(), weights.end(),
                    [](const FaceWeight& l, const FaceWeight& r) { return l.weight == r.weight; }),
        weights.end());
    return weights;
}

std::vector<FaceWeight> offeredWeights(const std::vector<FaceWeight>& instances) {
    std::vector<FaceWeight> weights;
    for (std::int32_t weight = kLightest; weight <= kHeaviest; weight += kStep) {
        weights.push_back(FaceWeight{weight, {}});
    }
    for (const FaceWeight& instance : instances) {
        const auto at = std::find_if(weights.begin(), weights.end(), [&](const FaceWeight& w) {
            return w.weight >= instance.weight;
        });
        if (at != weights.end() && at->weight == instance.weight) {
            at->name = instance.name;
        } else {
            weights.insert(at, instance);
        }
    }
    return weights;
}

std::vector<FaceWeight> fontFileWeights(FT_Face face, bool italic) {
    if (!hasWeightAxis(face)) {
        return {};
    }
    return offeredWeights(instanceWeights(face, italic));
}

}  // namespace vemro
