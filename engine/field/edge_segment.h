#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "engine/field/box.h"
#include "engine/field/edge_colour.h"
#include "engine/field/vector2.h"

namespace vemro::field {

enum class EdgeKind : std::uint8_t { line, quadratic, cubic };

// One edge of a contour: a line, or a quadratic or cubic Bezier curve, from its first control
// point to its last, with the channels it counts for in a multi-channel field.
class EdgeSegment {
public:
    static EdgeSegment line(Vector2 p0, Vector2 p1, EdgeColour colour = EdgeColour::white);
    static EdgeSegment quadratic(Vector2 p0, Vector2 p1, Vector2 p2,
                                 EdgeColour colour = EdgeColour::white);
    static EdgeSegment cubic(Vector2 p0, Vector2 p1, Vector2 p2, Vector2 p3,
                             EdgeColour colour = EdgeColour::white);

    EdgeKind kind() const { return kind_; }
    EdgeColour colour() const { return colour_; }
    void setColour(EdgeColour colour) { colour_ = colour; }
    // 2, 3 or 4 control points.
    int pointCount() const { return static_cast<int>(kind_) + 2; }
    Vector2 controlPoint(int i) const { return p_[static_cast<std::size_t>(i)]; }
    Vector2 start() const { return p_[0]; }
    Vector2 end() const { return p_[static_cast<std::size_t>(pointCount() - 1)]; }

    Vector2 pointAt(double t) const;
    // The derivative at t; at an end where it vanishes (a control point on the end point), the
    // direction the curve leaves or enters that end in instead.
    Vector2 directionAt(double t) const;
    Vector2 startDirection() const { return directionAt(0); }
    Vector2 endDirection() const { return directionAt(1); }
    // The box of the control points, which holds the whole edge.
    Box controlBox() const;
    // True when every control point is the same point.
    bool degenerate() const;

    // The two parts before and after t, of the same kind and colour.
    std::pair<EdgeSegment, EdgeSegment> splitAt(double t) const;
    // The part between t0 and t1 (t0 < t1), of the same kind and colour.
    EdgeSegment part(double t0, double t1) const;
    // The same edge run from its end to its start.
    EdgeSegment reversed() const;
    // The edge with its first and last control points moved to start and end.
    EdgeSegment withEnds(Vector2 start, Vector2 end) const;

private:
    EdgeSegment(EdgeKind kind, std::array<Vector2, 4> points, EdgeColour colour)
        : p_(points), kind_(kind), colour_(colour) {}

    std::array<Vector2, 4> p_;
    EdgeKind kind_;
    EdgeColour colour_;
};

}  // namespace vemro::field
