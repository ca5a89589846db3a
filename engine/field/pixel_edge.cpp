#include "engine/field/pixel_edge.h"

#include <algorithm>
#include <cmath>

namespace vemro::field {

namespace {

// The largest distance allowed between a cubic curve and the quadratic ones replacing it, in
// pixels.
constexpr double kCubicTolerance = 1.0 / 1024;

void addCubic(Vector2 c0, Vector2 c1, Vector2 c2, Vector2 c3, EdgeColour colour,
              std::vector<PixelEdge>& edges) {
    // The quadratic through both ends with control point (3 (c1 + c2) - c0 - c3) / 4 stays
    // within sqrt(3) / 36 |c3 - 3 c2 + 3 c1 - c0| of the cubic; a part of 1/n of the parameter
    // range has 1/n^3 of that third difference.
    const double third = length(c3 - c2 * 3 + c1 * 3 - c0);
    const double error = std::sqrt(3.0) / 36 * third;
    const int parts =
        std::clamp(static_cast<int>(std::ceil(std::cbrt(error / kCubicTolerance))), 1, 64);
    const EdgeSegment cubic = EdgeSegment::cubic(c0, c1, c2, c3, colour);
    Vector2 start = c0;
    for (int i = 0; i < parts; ++i) {
        const EdgeSegment piece =
            cubic.part(static_cast<double>(i) / parts, static_cast<double>(i + 1) / parts);
        const Vector2 end = i + 1 == parts ? c3 : piece.end();
        const Vector2 control =
            (piece.controlPoint(1) * 3 + piece.controlPoint(2) * 3 - start - end) / 4;
        edges.push_back(PixelEdge::curve(start, control, end, colour));
        start = end;
    }
}

}  // namespace

PixelEdge PixelEdge::line(Vector2 p0, Vector2 p1, EdgeColour colour) {
    PixelEdge edge;
    edge.p0 = p0;
    edge.p2 = p1;
    edge.a = p1 - p0;
    edge.aa = squaredLength(edge.a);
    edge.inverseAa = edge.aa > 0 ? 1 / edge.aa : 0;
    edge.middle = mix(p0, p1, 0.5);
    edge.startDirection = normalised(edge.a);
    edge.endDirection = edge.startDirection;
    edge.box.add(p0);
    edge.box.add(p1);
    edge.colour = colour;
    return edge;
}

PixelEdge PixelEdge::curve(Vector2 p0, Vector2 p1, Vector2 p2, EdgeColour colour) {
    const Vector2 b = p2 - p1 * 2 + p0;
    const Vector2 a = p1 - p0;
    if (squaredLength(b) <= 1e-18 * std::max(squaredLength(a), squaredLength(p2 - p1))) {
        return line(p0, p2, colour);
    }
    PixelEdge edge;
    edge.quadratic = true;
    edge.p0 = p0;
    edge.p2 = p2;
    edge.a = a;
    edge.b = b;
    edge.aa = squaredLength(a);
    edge.ab = dot(a, b);
    edge.bb = squaredLength(b);
    edge.middle = edge.pointAt(0.5);
    // A control point on an end: the curve leaves that end towards the other one.
    edge.startDirection = normalised(squaredLength(a) > 0 ? a : p2 - p0);
    edge.endDirection = normalised(squaredLength(p2 - p1) > 0 ? p2 - p1 : p2 - p0);
    edge.box.add(p0);
    edge.box.add(p1);
    edge.box.add(p2);
    // The curve lies in the triangle of its control points, so between their extremes along
    // and across the chord (or along any axis, where the ends coincide).
    edge.axis = normalised(p2 - p0);
    if (squaredLength(edge.axis) == 0) {
        edge.axis = {1, 0};
    }
    for (const Vector2 q : {p0, p1, p2}) {
        const double u = dot(q - p0, edge.axis);
        const double v = cross(edge.axis, q - p0);
        edge.uLow = std::min(edge.uLow, u);
        edge.uHigh = std::max(edge.uHigh, u);
        edge.vLow = std::min(edge.vLow, v);
        edge.vHigh = std::max(edge.vHigh, v);
    }
    edge.colour = colour;
    return edge;
}

void buildPixelEdges(const Shape& shape, const FieldFrame& frame, std::vector<PixelEdge>& edges) {
    edges.clear();
    const double scale = 1 / frame.pixelSize;
    const double bottom = frame.origin.y - frame.height * frame.pixelSize;
    const auto toPixels = [&](Vector2 p) {
        return Vector2{(p.x - frame.origin.x) * scale, (p.y - bottom) * scale};
    };
    for (const Contour& contour : shape.contours) {
        for (const EdgeSegment& edge : contour.edges) {
            const Vector2 p0 = toPixels(edge.controlPoint(0));
            switch (edge.kind()) {
                case EdgeKind::line:
                    edges.push_back(PixelEdge::line(p0, toPixels(edge.end()), edge.colour()));
                    break;
                case EdgeKind::quadratic:
                    edges.push_back(PixelEdge::curve(p0, toPixels(edge.controlPoint(1)),
                                                     toPixels(edge.end()), edge.colour()));
                    break;
                case EdgeKind::cubic:
                    addCubic(p0, toPixels(edge.controlPoint(1)), toPixels(edge.controlPoint(2)),
                             toPixels(edge.end()), edge.colour(), edges);
                    break;
            }
        }
    }
}

}  // namespace vemro::field
