#include "engine/field/winding_number.h"

#include <algorithm>

#include "engine/field/equation_solver.h"

namespace vemro::field {

namespace {

// The parameters inside (0, 1) where the edge turns in y, in order.
int turnsInY(const EdgeSegment& edge, double turns[2]) {
    int count = 0;
    double roots[2];
    int found = 0;
    if (edge.kind() == EdgeKind::quadratic) {
        const double d =
            edge.controlPoint(0).y - 2 * edge.controlPoint(1).y + edge.controlPoint(2).y;
        if (d != 0) {
            roots[0] = (edge.controlPoint(0).y - edge.controlPoint(1).y) / d;
            found = 1;
        }
    } else if (edge.kind() == EdgeKind::cubic) {
        const double d0 = edge.controlPoint(1).y - edge.controlPoint(0).y;
        const double d1 = edge.controlPoint(2).y - edge.controlPoint(1).y;
        const double d2 = edge.controlPoint(3).y - edge.controlPoint(2).y;
        found = solveQuadratic(roots, d0 - 2 * d1 + d2, 2 * (d1 - d0), d0);
    }
    for (int i = 0; i < found; ++i) {
        if (roots[i] > 0 && roots[i] < 1) {
            turns[count++] = roots[i];
        }
    }
    if (count == 2 && turns[0] > turns[1]) {
        std::swap(turns[0], turns[1]);
    }
    return count;
}

}  // namespace

WindingNumber::WindingNumber(const Shape& shape) {
    for (const Contour& contour : shape.contours) {
        for (const EdgeSegment& edge : contour.edges) {
            double turns[2];
            const int count = turnsInY(edge, turns);
            double from = 0;
            Vector2 start = edge.start();
            for (int i = 0; i <= count; ++i) {
                const double to = i < count ? turns[i] : 1;
                const EdgeSegment part = edge.part(from, to);
                // Parts meet exactly, so that no crossing is counted twice or lost.
                const Vector2 end = i < count ? part.end() : edge.end();
                addPiece(part.withEnds(start, end));
                start = end;
                from = to;
            }
        }
    }
}

void WindingNumber::addPiece(const EdgeSegment& edge) {
    const double y0 = edge.start().y;
    const double y1 = edge.end().y;
    if (y0 == y1) {
        return;
    }
    pieces_.push_back(
        {edge, std::min(y0, y1), std::max(y0, y1), y1 > y0 ? 1 : -1, edge.controlBox()});
}

int WindingNumber::at(Vector2 p) const {
    int winding = 0;
    for (const Piece& piece : pieces_) {
        if (p.y < piece.low || p.y >= piece.high || piece.box.right < p.x) {
            continue;
        }
        bool right = piece.box.left > p.x;
        if (!right) {
            // Where the piece reaches p.y, by bisection: y runs one way along it.
            double lo = 0;
            double hi = 1;
            for (int i = 0; i < 60; ++i) {
                const double mid = (lo + hi) / 2;
                const bool below = piece.edge.pointAt(mid).y < p.y;
                ((below == (piece.direction > 0)) ? lo : hi) = mid;
            }
            right = piece.edge.pointAt((lo + hi) / 2).x > p.x;
        }
        if (right) {
            winding += piece.direction;
        }
    }
    return winding;
}

}  // namespace vemro::field
