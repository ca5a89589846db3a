#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <cstdint>
#include <vector>

#include "engine/font/font_renderer.h"
#include "engine/font/freetype/freetype_handles.h"

namespace vemro {

// What setAxes set on a face's variation axes.
struct AxisStyle {
    bool weight = false;  // the weight, on the face's `wght` axis
    bool italic = false;  // italic, on its `ital` or `slnt` axis
};

// Whether the face has a `wght` axis.
bool hasWeightAxis(FT_Face face);

// Draws the face at a weight and italic through its variation axes (FreeType's design
// coordinates): the weight on the `wght` axis, kept within the axis's range; italic, when asked
// for and the face's default instance is upright, as 1 on an `ital` axis or else the most forward
// lean of a `slnt` axis; every other axis at its default. A face without axes is left as it is.
AxisStyle setAxes(FT_Face face, std::int32_t weight, bool italic);

// The face's design coordinates; empty for a face without axes.
std::vector<FT_Fixed> designCoordinates(FT_Face face);

// Puts a face with axes back to its default instance.
void resetAxes(FT_Face face);

// The weights on the `wght` axis of the face's named instances that setAxes reaches for the
// italic (their other axes at what setAxes sets), ascending, each with the instance's English
// style name; empty for a face without a `wght` axis.
std::vector<FaceWeight> instanceWeights(FT_Face face, bool italic);

// The nine weights 100, 200, ... 900 and the weights of the named instances, ascending, each
// with the name of the instance at that weight (the nine without one unnamed).
std::vector<FaceWeight> offeredWeights(const std::vector<FaceWeight>& instances);

// What a font file's face offers: offeredWeights of its instances for the italic when it has a
// `wght` axis, else nothing.
std::vector<FaceWeight> fontFileWeights(FT_Face face, bool italic);

}  // namespace vemro
