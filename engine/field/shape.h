#pragma once

#include <cstddef>
#include <vector>

#include "engine/field/box.h"
#include "engine/field/contour.h"

namespace vemro::field {

// A glyph outline as closed contours of lines and quadratic and cubic Bezier curves, in any unit
// with y growing upwards. Its inside is where the contours wind a non-zero number of times
// round a point (the non-zero fill rule), whatever their direction and however they overlap.
class Shape {
public:
    std::vector<Contour> contours;

    std::size_t edgeCount() const;
    // The box of every control point; empty for a shape without edges.
    Box controlBox() const;
    // Drops edges whose control points all coincide and contours left without edges, and
    // closes each contour exactly: an edge's start is set to the previous edge's end where the
    // two differ by rounding.
    void tidy();
};

}  // namespace vemro::field
