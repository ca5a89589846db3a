#pragma once

#include <vector>

#include "engine/field/edge_segment.h"

namespace vemro::field {

// A closed loop of edges, each starting where the one before it ends, the last ending where the
// first starts.
class Contour {
public:
    std::vector<EdgeSegment> edges;

    // Twice the area the contour encloses by the shoelace formula over its control polygon:
    // positive for a counter-clockwise contour (y up).
    double signedArea() const;
    // Runs the contour the other way round.
    void reverse();
};

}  // namespace vemro::field
