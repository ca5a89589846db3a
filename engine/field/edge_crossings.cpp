#include "engine/field/edge_crossings.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vemro::field {

namespace {

constexpr int kMaxDepth = 40;

// How far the control points stray from the chord.
double bulge(const EdgeSegment& edge) {
    if (edge.kind() == EdgeKind::line) {
        return 0;
    }
    const Vector2 start = edge.start();
    const Vector2 chord = edge.end() - start;
    const double chordLength = length(chord);
    double most = 0;
    for (int i = 1; i + 1 < edge.pointCount(); ++i) {
        const Vector2 v = edge.controlPoint(i) - start;
        most =
            std::max(most, chordLength > 0 ? std::abs(cross(chord, v)) / chordLength : length(v));
    }
    return most;
}

// The directions from `apex` to the edge's other control points as an arc of the circle: its
// middle angle and half width; false when they spread over half a turn or more. The edge lies
// within the cone of that arc.
bool coneFrom(const EdgeSegment& edge, Vector2 apex, double& middle, double& halfWidth) {
    Vector2 directions[4];
    int count = 0;
    Vector2 sum;
    for (int i = 0; i < edge.pointCount(); ++i) {
        const Vector2 d = normalised(edge.controlPoint(i) - apex);
        if (squaredLength(d) > 0) {
            directions[count++] = d;
            sum += d;
        }
    }
    if (count == 0 || squaredLength(sum) < 1e-6) {
        return false;
    }
    const Vector2 reference = normalised(sum);
    double low = 0;
    double high = 0;
    for (int i = 0; i < count; ++i) {
        const double angle =
            std::atan2(cross(reference, directions[i]), dot(reference, directions[i]));
        low = std::min(low, angle);
        high = std::max(high, angle);
    }
    if (high - low >= std::numbers::pi / 2) {
        return false;
    }
    middle = std::atan2(reference.y, reference.x) + (low + high) / 2;
    halfWidth = (high - low) / 2;
    return true;
}

// Whether two edges that share an end can meet only there: their cones from that end do not
// overlap.
bool meetOnlyAtSharedEnd(const EdgeSegment& a, const EdgeSegment& b) {
    Vector2 apex;
    if (a.end() == b.start() || a.end() == b.end()) {
        apex = a.end();
    } else if (a.start() == b.start() || a.start() == b.end()) {
        apex = a.start();
    } else {
        return false;
    }
    double middleA = 0;
    double halfA = 0;
    double middleB = 0;
    double halfB = 0;
    if (!coneFrom(a, apex, middleA, halfA) || !coneFrom(b, apex, middleB, halfB)) {
        return false;
    }
    const double apart = std::abs(std::remainder(middleB - middleA, 2 * std::numbers::pi));
    return apart > halfA + halfB + 1e-9;
}

class CrossingSearch {
public:
    CrossingSearch(double tolerance, std::size_t limit, std::vector<EdgeCrossing>& out)
        : tolerance_(tolerance), limit_(limit), out_(out) {}

    bool run(const EdgeSegment& a, const EdgeSegment& b) {
        const std::size_t before = out_.size();
        search(a, 0, 1, b, 0, 1, 0);
        if (out_.size() - before > limit_) {
            out_.resize(before);
            return false;
        }
        return true;
    }

private:
    void search(const EdgeSegment& a, double a0, double a1, const EdgeSegment& b, double b0,
                double b1, int depth) {
        Box boxA = a.controlBox();
        boxA.left -= tolerance_;
        boxA.right += tolerance_;
        boxA.bottom -= tolerance_;
        boxA.top += tolerance_;
        if (!boxA.overlaps(b.controlBox()) || out_.size() > limit_ * 4 + 64) {
            return;
        }
        const bool flatA = bulge(a) <= tolerance_;
        const bool flatB = bulge(b) <= tolerance_;
        if ((flatA && flatB) || depth >= kMaxDepth) {
            meetChords(a, a0, a1, b, b0, b1);
            return;
        }
        if (meetOnlyAtSharedEnd(a, b)) {
            return;
        }
        // Halving the larger part shrinks the boxes fastest, a straight one included.
        const Box boxB = b.controlBox();
        const double sizeA = std::max(boxA.right - boxA.left, boxA.top - boxA.bottom);
        const double sizeB = std::max(boxB.right - boxB.left, boxB.top - boxB.bottom);
        if (sizeA >= sizeB) {
            const auto [first, second] = a.splitAt(0.5);
            const double middle = (a0 + a1) / 2;
            search(first, a0, middle, b, b0, b1, depth + 1);
            search(second, middle, a1, b, b0, b1, depth + 1);
        } else {
            const auto [first, second] = b.splitAt(0.5);
            const double middle = (b0 + b1) / 2;
            search(a, a0, a1, first, b0, middle, depth + 1);
            search(a, a0, a1, second, middle, b1, depth + 1);
        }
    }

    void meetChords(const EdgeSegment& a, double a0, double a1, const EdgeSegment& b, double b0,
                    double b1) {
        const Vector2 p = a.start();
        const Vector2 d1 = a.end() - p;
        const Vector2 q = b.start();
        const Vector2 d2 = b.end() - q;
        const Vector2 r = q - p;
        const double l1 = length(d1);
        const double l2 = length(d2);
        if (l1 == 0 || l2 == 0) {
            return;
        }
        const double denominator = cross(d1, d2);
        const auto add = [&](double s, double u) {
            out_.push_back({a0 + (a1 - a0) * s, b0 + (b1 - b0) * u, p + d1 * s});
        };
        if (std::abs(denominator) > 1e-9 * l1 * l2) {
            const double s = cross(r, d2) / denominator;
            const double u = cross(r, d1) / denominator;
            const double marginA = tolerance_ / l1;
            const double marginB = tolerance_ / l2;
            if (s >= -marginA && s <= 1 + marginA && u >= -marginB && u <= 1 + marginB) {
                add(std::clamp(s, 0.0, 1.0), std::clamp(u, 0.0, 1.0));
            }
            return;
        }
        // Parallel: only chords on one line meet, along the stretch both cover.
        if (std::abs(cross(d1, r)) / l1 > tolerance_) {
            return;
        }
        const double inverse = 1 / (l1 * l1);
        const double s0 = dot(q - p, d1) * inverse;
        const double s1 = dot(b.end() - p, d1) * inverse;
        const double from = std::max(0.0, std::min(s0, s1));
        const double to = std::min(1.0, std::max(s0, s1));
        if (from > to) {
            return;
        }
        const auto onB = [&](double s) { return dot(p + d1 * s - q, d2) / (l2 * l2); };
        add(from, std::clamp(onB(from), 0.0, 1.0));
        if (to > from) {
            add(to, std::clamp(onB(to), 0.0, 1.0));
        }
    }

    double tolerance_;
    std::size_t limit_;
    std::vector<EdgeCrossing>& out_;
};

}  // namespace

bool findCrossings(const EdgeSegment& a, const EdgeSegment& b, double tolerance, std::size_t limit,
                   std::vector<EdgeCrossing>& out) {
    return CrossingSearch(tolerance, limit, out).run(a, b);
}

}  // namespace vemro::field
