#include "engine/field/winding_rows.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/field/equation_solver.h"

namespace vemro::field {

namespace {

// The parameter in [0, 1] where a quadratic that runs one way in y reaches y.
double parameterAt(const Vector2& p0, const Vector2& p1, const Vector2& p2, double y) {
    const double a = p0.y - 2 * p1.y + p2.y;
    const double b = 2 * (p1.y - p0.y);
    const double c = p0.y - y;
    double roots[2];
    const int count = solveQuadratic(roots, a, b, c);
    double best = 0.5;
    double bestMiss = std::numeric_limits<double>::infinity();
    for (int i = 0; i < count; ++i) {
        const double miss = std::max({-roots[i], roots[i] - 1, 0.0});
        if (miss < bestMiss) {
            bestMiss = miss;
            best = std::clamp(roots[i], 0.0, 1.0);
        }
    }
    return best;
}

}  // namespace

void WindingRows::addPiece(Vector2 p0, Vector2 p1, Vector2 p2) {
    if (p0.y == p2.y) {
        return;  // level: crosses no row
    }
    pieces_.push_back({p0, p1, p2, p2.y > p0.y ? 1 : -1});
}

void WindingRows::build(const std::vector<PixelEdge>& edges, int height) {
    height_ = height;
    pieces_.clear();
    for (const PixelEdge& edge : edges) {
        if (!edge.quadratic) {
            addPiece(edge.p0, mix(edge.p0, edge.p2, 0.5), edge.p2);
            continue;
        }
        const Vector2 p1 = edge.p0 + edge.a;
        // y'(t) = 2 (a.y + t b.y) vanishes inside the edge: split there so each part runs one
        // way; the two parts share the turning point exactly.
        const double turn = edge.b.y != 0 ? -edge.a.y / edge.b.y : -1;
        if (turn > 0 && turn < 1) {
            const Vector2 q0 = mix(edge.p0, p1, turn);
            const Vector2 q1 = mix(p1, edge.p2, turn);
            const Vector2 m = mix(q0, q1, turn);
            addPiece(edge.p0, q0, m);
            addPiece(m, q1, edge.p2);
        } else {
            addPiece(edge.p0, p1, edge.p2);
        }
    }
    // Each piece crosses the rows whose centre y lies in [lower end, upper end): a vertex on a
    // row's centre line counts once for the two pieces meeting there when the outline passes
    // through, and not at all where it only touches.
    rowStart_.assign(static_cast<std::size_t>(height) + 2, 0);
    const auto rowsOf = [height](const Piece& piece, int& first, int& last) {
        const double low = std::min(piece.p0.y, piece.p2.y);
        const double high = std::max(piece.p0.y, piece.p2.y);
        // Row r is centred on y = height - r - 0.5.
        first = std::max(0, static_cast<int>(std::floor(height - 0.5 - high)));
        last = std::min(height - 1, static_cast<int>(std::ceil(height - 0.5 - low)));
    };
    const auto crosses = [height](const Piece& piece, int row) {
        const double y = height - row - 0.5;
        const double low = std::min(piece.p0.y, piece.p2.y);
        const double high = std::max(piece.p0.y, piece.p2.y);
        return low <= y && y < high;
    };
    for (const Piece& piece : pieces_) {
        int first = 0;
        int last = -1;
        rowsOf(piece, first, last);
        for (int row = first; row <= last; ++row) {
            if (crosses(piece, row)) {
                ++rowStart_[static_cast<std::size_t>(row) + 2];
            }
        }
    }
    for (std::size_t r = 2; r < rowStart_.size(); ++r) {
        rowStart_[r] += rowStart_[r - 1];
    }
    crossings_.resize(rowStart_.back());
    for (const Piece& piece : pieces_) {
        int first = 0;
        int last = -1;
        rowsOf(piece, first, last);
        for (int row = first; row <= last; ++row) {
            if (crosses(piece, row)) {
                const double y = height - row - 0.5;
                const double t = parameterAt(piece.p0, piece.p1, piece.p2, y);
                const double x = mix(mix(piece.p0, piece.p1, t), mix(piece.p1, piece.p2, t), t).x;
                crossings_[rowStart_[static_cast<std::size_t>(row) + 1]++] = {x, piece.direction};
            }
        }
    }
    for (int row = 0; row < height; ++row) {
        std::sort(crossings_.begin() + static_cast<std::ptrdiff_t>(rowStart_[row]),
                  crossings_.begin() + static_cast<std::ptrdiff_t>(rowStart_[row + 1]),
                  [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    }
}

void WindingRows::inside(int row, int width, std::uint8_t* out) const {
    const Crossing* crossing = crossings_.data() + rowStart_[static_cast<std::size_t>(row)];
    const Crossing* end = crossings_.data() + rowStart_[static_cast<std::size_t>(row) + 1];
    int winding = 0;
    for (int column = 0; column < width; ++column) {
        const double x = column + 0.5;
        while (crossing != end && crossing->x < x) {
            winding += crossing->direction;
            ++crossing;
        }
        out[column] = winding != 0 ? 1 : 0;
    }
}

}  // namespace vemro::field
