#pragma once

#include <cstddef>
#include <vector>

#include "engine/field/edge_segment.h"

namespace vemro::field {

// A point where two edges meet, at parameter tA of the first and tB of the second.
struct EdgeCrossing {
    double tA;
    double tB;
    Vector2 point;
};

// Where two edges cross or touch, found by halving both until the parts are straight within
// `tolerance`, then meeting their chords; where the edges run along each other, the ends of
// the common stretch. Appends to `out`; gives up (returns false, leaving out as it was) on
// more than `limit` points, as for two copies of the same curve.
bool findCrossings(const EdgeSegment& a, const EdgeSegment& b, double tolerance, std::size_t limit,
                   std::vector<EdgeCrossing>& out);

}  // namespace vemro::field
