#include "tests/field/outline_oracle.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vemro::field::test {

Vector2 bezierPoint(const EdgeSegment& edge, double t) {
    const double s = 1 - t;
    const auto p = [&](int i) { return edge.controlPoint(i); };
    switch (edge.kind()) {
        case EdgeKind::line:
            return p(0) * s + p(1) * t;
        case EdgeKind::quadratic:
            return p(0) * (s * s) + p(1) * (2 * s * t) + p(2) * (t * t);
        case EdgeKind::cubic:
            return p(0) * (s * s * s) + p(1) * (3 * s * s * t) + p(2) * (3 * s * t * t) +
                   p(3) * (t * t * t);
    }
    return p(0);
}

OutlineOracle::OutlineOracle(const Shape& shape) {
    for (const Contour& contour : shape.contours) {
        for (const EdgeSegment& edge : contour.edges) {
            double reach = 0;
            for (int i = 1; i < edge.pointCount(); ++i) {
                reach += length(edge.controlPoint(i) - edge.controlPoint(i - 1));
            }
            const int pieces = std::max(1, static_cast<int>(std::ceil(reach * 16)));
            Vector2 from = edge.start();
            for (int i = 1; i <= pieces; ++i) {
                const Vector2 to = i == pieces ? edge.end() : bezierPoint(edge, double(i) / pieces);
                segments_.push_back({from, to});
                from = to;
            }
        }
    }
    if (segments_.empty()) {
        return;
    }
    double top = -std::numeric_limits<double>::infinity();
    bottom_ = std::numeric_limits<double>::infinity();
    for (const Segment& s : segments_) {
        bottom_ = std::min({bottom_, s.a.y, s.b.y});
        top = std::max({top, s.a.y, s.b.y});
    }
    bands_.resize(static_cast<std::size_t>(top - bottom_) + 1);
    for (std::size_t i = 0; i < segments_.size(); ++i) {
        const Segment& s = segments_[i];
        const auto low = static_cast<std::size_t>(std::min(s.a.y, s.b.y) - bottom_);
        const auto high = static_cast<std::size_t>(std::max(s.a.y, s.b.y) - bottom_);
        for (std::size_t band = low; band <= high; ++band) {
            bands_[band].push_back(i);
        }
    }
    // A piece is visible where the fill differs a hair to its left and right.
    for (const Segment& s : segments_) {
        const Vector2 d = s.b - s.a;
        const double l = length(d);
        if (l == 0) {
            continue;
        }
        const Vector2 middle = (s.a + s.b) * 0.5;
        const Vector2 normal{-d.y / l * 1e-5, d.x / l * 1e-5};
        if (inside(middle + normal) != inside(middle - normal)) {
            visible_.push_back(s);
        }
    }
    Box box;
    for (const Segment& s : visible_) {
        box.add(s.a);
        box.add(s.b);
    }
    if (box.empty()) {
        return;
    }
    gridOrigin_ = {box.left - 16, box.bottom - 16};
    gridColumns_ = static_cast<int>((box.right - box.left + 32) / kCell) + 1;
    gridRows_ = static_cast<int>((box.top - box.bottom + 32) / kCell) + 1;
    cells_.resize(static_cast<std::size_t>(gridColumns_) * gridRows_);
    for (std::size_t i = 0; i < visible_.size(); ++i) {
        const Segment& s = visible_[i];
        const int c0 = static_cast<int>((std::min(s.a.x, s.b.x) - gridOrigin_.x) / kCell);
        const int c1 = static_cast<int>((std::max(s.a.x, s.b.x) - gridOrigin_.x) / kCell);
        const int r0 = static_cast<int>((std::min(s.a.y, s.b.y) - gridOrigin_.y) / kCell);
        const int r1 = static_cast<int>((std::max(s.a.y, s.b.y) - gridOrigin_.y) / kCell);
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) {
                cells_[static_cast<std::size_t>(r) * gridColumns_ + c].push_back(i);
            }
        }
    }
}

bool OutlineOracle::inside(Vector2 p) const {
    std::uint8_t inside = 0;
    insideAlong(p.y, p.x, 0, 1, &inside);
    return inside != 0;
}

void OutlineOracle::insideAlong(double y, double x0, double step, int count,
                                std::uint8_t* out) const {
    std::fill(out, out + count, 0);
    if (bands_.empty() || y < bottom_ || y >= bottom_ + static_cast<double>(bands_.size())) {
        return;
    }
    // The crossings of the line with the pieces, left to right: upward pieces count from their
    // lower end up to but not including their upper end, downward ones likewise.
    std::vector<std::pair<double, int>> crossings;
    for (const std::size_t i : bands_[static_cast<std::size_t>(y - bottom_)]) {
        const Segment& s = segments_[i];
        if ((s.a.y <= y) != (s.b.y <= y)) {
            const double x = s.a.x + (y - s.a.y) / (s.b.y - s.a.y) * (s.b.x - s.a.x);
            crossings.emplace_back(x, s.b.y > s.a.y ? 1 : -1);
        }
    }
    std::sort(crossings.begin(), crossings.end());
    // A point's winding counts the crossings right of it; over the whole line they add to 0.
    int winding = 0;
    for (const auto& crossing : crossings) {
        winding += crossing.second;
    }
    std::size_t next = 0;
    for (int i = 0; i < count; ++i) {
        const double x = x0 + i * step;
        while (next < crossings.size() && crossings[next].first <= x) {
            winding -= crossings[next++].second;
        }
        out[i] = winding != 0 ? 1 : 0;
    }
}

double OutlineOracle::distance(Vector2 p) const {
    double best = std::numeric_limits<double>::infinity();
    const auto measure = [&](const Segment& s) {
        const Vector2 d = s.b - s.a;
        const double l2 = squaredLength(d);
        const double t = l2 > 0 ? std::clamp(dot(p - s.a, d) / l2, 0.0, 1.0) : 0;
        best = std::min(best, squaredLength(p - (s.a + d * t)));
    };
    const int column = static_cast<int>(std::floor((p.x - gridOrigin_.x) / kCell));
    const int row = static_cast<int>(std::floor((p.y - gridOrigin_.y) / kCell));
    if (column < 0 || row < 0 || column >= gridColumns_ || row >= gridRows_) {
        std::for_each(visible_.begin(), visible_.end(), measure);
        return std::sqrt(best);
    }
    // Rings of cells round p's cell; every cell of ring r + 1 is at least r cells away.
    const int rings = std::max(gridColumns_, gridRows_);
    for (int r = 0; r <= rings; ++r) {
        if (r > 0 && (r - 1) * kCell * (r - 1) * kCell > best) {
            break;
        }
        for (int y = row - r; y <= row + r; ++y) {
            for (int x = column - r; x <= column + r; ++x) {
                const bool onRing = std::abs(y - row) == r || std::abs(x - column) == r;
                if (!onRing || x < 0 || y < 0 || x >= gridColumns_ || y >= gridRows_) {
                    continue;
                }
                for (const std::size_t i : cells_[static_cast<std::size_t>(y) * gridColumns_ + x]) {
                    measure(visible_[i]);
                }
            }
        }
    }
    return std::sqrt(best);
}

}  // namespace vemro::field::test
