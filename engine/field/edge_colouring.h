#pragma once

#include <cstdint>

#include "engine/field/shape.h"

namespace vemro::field {

// The angle below which a join counts as a corner by default: any join where the outline turns
// by more than pi - 3 radians (about 8 degrees).
inline constexpr double kDefaultCornerAngle = 3.0;

// Colours the edges of every contour for a multi-channel field, so that the two edges meeting
// at each corner share exactly one channel and the median of the three channels keeps the
// corner sharp:
// - a contour without corners is white (all channels);
// - a contour with one corner (a teardrop) runs from the corner through one colour, white and a
//   second colour back to the corner; a contour of fewer than three edges has its edges split
//   for that;
// - a contour with two or more corners gives each run of edges between two corners one of cyan,
//   magenta and yellow, each run a different colour from the run before it, the last also from
//   the first.
// A corner is a join whose inside angle is below cornerAngle radians, that is where the outline
// turns by more than pi - cornerAngle. The seed picks among equally good colours.
void colourEdges(Shape& shape, double cornerAngle = kDefaultCornerAngle, std::uint64_t seed = 0);

}  // namespace vemro::field
