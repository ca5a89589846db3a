#pragma once

// Brute-force answers about an outline, to check the fields against: the outline cut into
// straight pieces of at most 1/16 pixel, which of them are visible (fill on one side only), the
// winding by counting crossings, and the distance to the nearest visible piece.

#include <cstdint>
#include <vector>

#include "engine/field/shape.h"

namespace vemro::field::test {

class OutlineOracle {
public:
    explicit OutlineOracle(const Shape& shape);

    bool inside(Vector2 p) const;
    // inside() of the points (x0 + i * step, y) for i in 0..count-1, into out.
    void insideAlong(double y, double x0, double step, int count, std::uint8_t* out) const;
    // The distance from p to the outline of the fill.
    double distance(Vector2 p) const;

private:
    struct Segment {
        Vector2 a, b;
    };

    std::vector<Segment> segments_;
    std::vector<Segment> visible_;
    // visible_ by square cells of kCell pixels they reach, from gridOrigin_, to find the nearest
    // without looking at all of them.
    static constexpr double kCell = 2;
    Vector2 gridOrigin_;
    int gridColumns_ = 0;
    int gridRows_ = 0;
    std::vector<std::vector<std::size_t>> cells_;
    // segments_ by the rows of one pixel they reach, from the bottom of the outline.
    double bottom_ = 0;
    std::vector<std::vector<std::size_t>> bands_;
};

// Bernstein form of the edge's point at t, separate from the generator's own evaluation.
Vector2 bezierPoint(const EdgeSegment& edge, double t);

}  // namespace vemro::field::test
