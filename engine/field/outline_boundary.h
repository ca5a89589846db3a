#pragma once

#include "engine/field/shape.h"

namespace vemro::field {

// The outline of a shape's fill by the non-zero rule, as contours that run with the fill on
// their left (counter-clockwise round the outside, y up). Edges or parts of edges with fill on
// both sides (where contours overlap, or inside a contour wound the same way round) or on
// neither side are dropped, and edges are split where contours cross, so that the distance to
// the result is the distance to the visible outline. A contour that runs the other way round is
// turned. The fill stays as it was.
//
// Should the pieces form no closed contours (where curves touch along a stretch, say: about one
// glyph in 20,000 of hinted CJK faces), the contours come back as given, tidied, and all turned
// if they mostly run clockwise; distances then count hidden edges too, and the fill is kept.
Shape outlineBoundary(const Shape& shape);

}  // namespace vemro::field
