#pragma once

#include <cmath>
#include <vector>

#include "engine/field/box.h"
#include "engine/field/edge_colour.h"
#include "engine/field/equation_solver.h"
#include "engine/field/field_frame.h"
#include "engine/field/shape.h"

namespace vemro::field {

// An edge ready for distance queries in a field's pixel space (x to the right, y upwards, one
// unit a pixel, pixel (column, row) centred on (column + 0.5, height - row - 0.5)): a line or a
// quadratic curve B(t) = p0 + 2t a + t^2 b, with what every query needs worked out once.
struct PixelEdge {
    Vector2 p0;
    Vector2 p2;              // the end
    Vector2 a;               // a line's p2 - p0; a quadratic's p1 - p0
    Vector2 b;               // a quadratic's p2 - 2 p1 + p0; 0 for a line
    double aa = 0;           // |a|^2
    double ab = 0;           // a . b
    double bb = 0;           // |b|^2
    double inverseAa = 0;    // 1 / |a|^2 for a line
    Vector2 middle;          // the point at t = 0.5
    Vector2 startDirection;  // unit tangents at the ends
    Vector2 endDirection;
    Box box;  // holds the whole edge
    // A quadratic also lies in a box along its chord: from p0, between uLow and uHigh along
    // the unit `axis`, and between vLow and vHigh across it.
    Vector2 axis;
    double uLow = 0, uHigh = 0, vLow = 0, vHigh = 0;
    EdgeColour colour = EdgeColour::white;
    bool quadratic = false;

    static PixelEdge line(Vector2 p0, Vector2 p1, EdgeColour colour);
    // A quadratic whose control point is within rounding of the middle of its ends is a line.
    static PixelEdge curve(Vector2 p0, Vector2 p1, Vector2 p2, EdgeColour colour);

    Vector2 pointAt(double t) const { return quadratic ? p0 + (a * 2 + b * t) * t : p0 + a * t; }
    Vector2 directionAt(double t) const { return quadratic ? a + b * t : a; }

    // At most the squared distance from p to the edge, and cheap: to the box along the chord
    // for a quadratic, to the box of the ends for a line.
    double squaredLowerBound(Vector2 p) const {
        if (!quadratic) {
            return box.squaredDistance(p);
        }
        const Vector2 w = p - p0;
        const double u = dot(w, axis);
        const double v = cross(axis, w);
        const double du = std::max(std::max(uLow - u, u - uHigh), 0.0);
        const double dv = std::max(std::max(vLow - v, v - vHigh), 0.0);
        return du * du + dv * dv;
    }

    // The squared distance from p to the nearest point of the edge, and that point's
    // parameter t (exactly 0 or 1 at an end).
    double squaredDistance(Vector2 p, double& t) const {
        const Vector2 w = p0 - p;
        if (!quadratic) {
            const double s = -dot(w, a) * inverseAa;
            if (s <= 0) {
                t = 0;
                return squaredLength(w);
            }
            if (s >= 1) {
                t = 1;
                return squaredLength(p2 - p);
            }
            t = s;
            const double c = cross(a, w);
            return c * c * inverseAa;
        }
        // Where the derivative of |B(t) - p|^2 vanishes:
        // |b|^2 t^3 + 3 (a.b) t^2 + (2|a|^2 + w.b) t + w.a = 0.
        double roots[3];
        const int count = solveCubic(roots, bb, 3 * ab, 2 * aa + dot(w, b), dot(w, a));
        double best = squaredLength(w);
        t = 0;
        const double atEnd = squaredLength(p2 - p);
        if (atEnd < best) {
            best = atEnd;
            t = 1;
        }
        for (int i = 0; i < count; ++i) {
            const double r = roots[i];
            if (r > 0 && r < 1) {
                const double d = squaredLength(w + (a * 2 + b * r) * r);
                if (d < best) {
                    best = d;
                    t = r;
                }
            }
        }
        return best;
    }

    // The distance from p to the point at t, positive on the edge's left (the filled side of a
    // shape whose fill lies left of every edge).
    double signedDistance(Vector2 p, double t) const {
        const Vector2 v = p - pointAt(t);
        const double d = length(v);
        return cross(directionAt(t), v) >= 0 ? d : -d;
    }
    // As signedDistance, but where the nearest point is an end and p lies beyond that end, the
    // distance to the tangent line there.
    double signedPseudoDistance(Vector2 p, double t) const {
        if (t == 0) {
            const Vector2 v = p - p0;
            if (dot(v, startDirection) < 0) {
                return cross(startDirection, v);
            }
        } else if (t == 1) {
            const Vector2 v = p - p2;
            if (dot(v, endDirection) > 0) {
                return cross(endDirection, v);
            }
        }
        return signedDistance(p, t);
    }
    // Between edges equally near p (at a shared end), how far p lies off the edge's own line
    // there: the cosine between the tangent and the way to p, smaller for the edge p faces more
    // squarely. 0 where the nearest point is inside the edge.
    double obliqueness(Vector2 p, double t) const {
        if (t == 0) {
            return std::abs(dot(startDirection, normalised(p - p0)));
        }
        if (t == 1) {
            return std::abs(dot(endDirection, normalised(p - p2)));
        }
        return 0;
    }
};

// The shape's edges in the frame's pixel space, cubic curves replaced by quadratic ones within
// 1/1024 pixel of them, each edge keeping its colour.
void buildPixelEdges(const Shape& shape, const FieldFrame& frame, std::vector<PixelEdge>& edges);

}  // namespace vemro::field
