#include "engine/field/outline_boundary.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>
#include <utility>

#include "engine/field/edge_crossings.h"
#include "engine/field/winding_number.h"

namespace vemro::field {

namespace {

// At most this many crossings between two edges; more means they run along each other.
constexpr std::size_t kCrossingLimit = 32;

enum class Side { fillLeft, fillRight, neither };

struct Split {
    double t;
    Vector2 point;
};

class BoundaryBuilder {
public:
    explicit BoundaryBuilder(const Shape& shape) : shape_(shape), winding_(shape) {
        const Box box = shape.controlBox();
        const double size = std::max(box.right - box.left, box.top - box.bottom);
        tolerance_ = size * 1e-7;
        offset_ = size * 1e-6;
    }

    Shape build() {
        std::vector<EdgeSegment> edges;
        for (const Contour& contour : shape_.contours) {
            edges.insert(edges.end(), contour.edges.begin(), contour.edges.end());
        }
        std::vector<std::vector<Split>> splits(edges.size());
        if (!findSplits(edges, splits)) {
            return byContour();
        }
        std::vector<EdgeSegment> pieces;
        for (std::size_t i = 0; i < edges.size(); ++i) {
            addPieces(edges[i], splits[i], pieces);
        }
        std::optional<Shape> linked = link(pieces);
        if (linked) {
            return *linked;
        }
        // Every contour turned keeps the fill and, where the contours mostly run clockwise,
        // puts it on their left.
        Shape turned = shape_;
        double area = 0;
        for (const Contour& contour : turned.contours) {
            area += contour.signedArea();
        }
        if (area < 0) {
            for (Contour& contour : turned.contours) {
                contour.reverse();
            }
        }
        return turned;
    }

private:
    Side classify(const EdgeSegment& edge) const {
        Vector2 direction = normalised(edge.directionAt(0.5));
        if (squaredLength(direction) == 0) {
            direction = normalised(edge.end() - edge.start());
        }
        if (squaredLength(direction) == 0) {
            return Side::neither;
        }
        const Vector2 middle = edge.pointAt(0.5);
        const Vector2 normal{-direction.y, direction.x};
        const bool left = winding_.at(middle + normal * offset_) != 0;
        const bool right = winding_.at(middle - normal * offset_) != 0;
        if (left == right) {
            return Side::neither;
        }
        return left ? Side::fillLeft : Side::fillRight;
    }

    // Without crossings each contour is wholly outline or wholly hidden, and one edge tells.
    Shape byContour() const {
        Shape result;
        for (const Contour& contour : shape_.contours) {
            const auto longest = std::max_element(contour.edges.begin(), contour.edges.end(),
                                                  [](const EdgeSegment& a, const EdgeSegment& b) {
                                                      return squaredLength(a.end() - a.start()) <
                                                             squaredLength(b.end() - b.start());
                                                  });
            const Side side = classify(*longest);
            if (side == Side::neither) {
                continue;
            }
            result.contours.push_back(contour);
            if (side == Side::fillRight) {
                result.contours.back().reverse();
            }
        }
        return result;
    }

    // Where each edge is to be split; false when no edges cross.
    bool findSplits(const std::vector<EdgeSegment>& edges,
                    std::vector<std::vector<Split>>& splits) const {
        std::vector<Box> boxes;
        for (const EdgeSegment& edge : edges) {
            boxes.push_back(edge.controlBox());
        }
        std::vector<std::size_t> order(edges.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(),
                  [&](std::size_t a, std::size_t b) { return boxes[a].left < boxes[b].left; });
        bool any = false;
        std::vector<EdgeCrossing> found;
        for (std::size_t k = 0; k < order.size(); ++k) {
            const std::size_t i = order[k];
            for (std::size_t l = k + 1; l < order.size(); ++l) {
                const std::size_t j = order[l];
                if (boxes[j].left > boxes[i].right + tolerance_) {
                    break;
                }
                if (boxes[j].bottom > boxes[i].top + tolerance_ ||
                    boxes[i].bottom > boxes[j].top + tolerance_) {
                    continue;
                }
                found.clear();
                findCrossings(edges[i], edges[j], tolerance_, kCrossingLimit, found);
                for (const EdgeCrossing& crossing : found) {
                    const int endI = endAt(edges[i], crossing.point);
                    const int endJ = endAt(edges[j], crossing.point);
                    if (endI >= 0 && endJ >= 0) {
                        continue;  // two edges that only meet at their ends
                    }
                    // Splits at another edge's end go exactly through that end, and one
                    // crossing found twice (from both halves of a part) is one point, so that
                    // the pieces of both edges meet exactly.
                    const Vector2 point = snap(endI >= 0   ? endPoint(edges[i], endI)
                                               : endJ >= 0 ? endPoint(edges[j], endJ)
                                                           : crossing.point);
                    if (endI < 0) {
                        splits[i].push_back({crossing.tA, point});
                    }
                    if (endJ < 0) {
                        splits[j].push_back({crossing.tB, point});
                    }
                    any = true;
                }
            }
        }
        return any;
    }

    // The crossing point already found within the tolerance of p, or p as a new one.
    Vector2 snap(Vector2 p) const {
        const double near = 4 * tolerance_ * 4 * tolerance_;
        for (const Vector2 known : crossingPoints_) {
            if (squaredLength(p - known) <= near) {
                return known;
            }
        }
        crossingPoints_.push_back(p);
        return p;
    }

    // 0 or 1 when p is the edge's start or end within the tolerance, else -1.
    int endAt(const EdgeSegment& edge, Vector2 p) const {
        const double near = 4 * tolerance_ * 4 * tolerance_;
        if (squaredLength(p - edge.start()) <= near) {
            return 0;
        }
        if (squaredLength(p - edge.end()) <= near) {
            return 1;
        }
        return -1;
    }
    static Vector2 endPoint(const EdgeSegment& edge, int end) {
        return end == 0 ? edge.start() : edge.end();
    }

    // The parts of the edge between its splits that are outline, turned to have the fill on
    // their left.
    void addPieces(const EdgeSegment& edge, std::vector<Split>& splits,
                   std::vector<EdgeSegment>& pieces) const {
        std::sort(splits.begin(), splits.end(),
                  [](const Split& a, const Split& b) { return a.t < b.t; });
        double t0 = 0;
        Vector2 start = edge.start();
        for (std::size_t k = 0; k <= splits.size(); ++k) {
            const bool last = k == splits.size();
            const double t1 = last ? 1 : splits[k].t;
            const Vector2 end = last ? edge.end() : splits[k].point;
            if (!last &&
                (t1 - t0 <= 1e-12 || squaredLength(end - start) <= tolerance_ * tolerance_)) {
                continue;
            }
            if (t1 > t0) {
                const EdgeSegment piece = edge.part(t0, t1).withEnds(start, end);
                const Side side = classify(piece);
                if (side == Side::fillLeft) {
                    pieces.push_back(piece);
                } else if (side == Side::fillRight) {
                    pieces.push_back(piece.reversed());
                }
            }
            t0 = t1;
            start = end;
        }
    }

    static bool sameEdge(const EdgeSegment& a, const EdgeSegment& b) {
        if (a.kind() != b.kind()) {
            return false;
        }
        for (int i = 0; i < a.pointCount(); ++i) {
            if (a.controlPoint(i) != b.controlPoint(i)) {
                return false;
            }
        }
        return true;
    }

    // The pieces joined end to start into closed contours; nothing when they do not close.
    static std::optional<Shape> link(const std::vector<EdgeSegment>& pieces) {
        std::map<std::pair<double, double>, std::vector<std::size_t>> startingAt;
        std::vector<bool> used(pieces.size(), false);
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            std::vector<std::size_t>& here = startingAt[{pieces[i].start().x, pieces[i].start().y}];
            // Where two contours run along each other the same way, both copies of the common
            // stretch are outline; one is enough.
            if (std::any_of(here.begin(), here.end(),
                            [&](std::size_t k) { return sameEdge(pieces[k], pieces[i]); })) {
                used[i] = true;
                continue;
            }
            here.push_back(i);
        }
        Shape result;
        for (std::size_t first = 0; first < pieces.size(); ++first) {
            if (used[first]) {
                continue;
            }
            Contour contour;
            std::size_t current = first;
            while (true) {
                used[current] = true;
                contour.edges.push_back(pieces[current]);
                const Vector2 end = pieces[current].end();
                if (end == pieces[first].start()) {
                    break;
                }
                const auto next = startingAt.find({end.x, end.y});
                if (next == startingAt.end()) {
                    return std::nullopt;
                }
                const auto unused = std::find_if(next->second.begin(), next->second.end(),
                                                 [&](std::size_t i) { return !used[i]; });
                if (unused == next->second.end()) {
                    return std::nullopt;
                }
                current = *unused;
            }
            result.contours.push_back(std::move(contour));
        }
        return result;
    }

    const Shape& shape_;
    WindingNumber winding_;
    mutable std::vector<Vector2> crossingPoints_;
    double tolerance_ = 0;
    double offset_ = 0;
};

}  // namespace

Shape outlineBoundary(const Shape& shape) {
    Shape tidy = shape;
    tidy.tidy();
    if (tidy.contours.empty()) {
        return tidy;
    }
    return BoundaryBuilder(tidy).build();
}

}  // namespace vemro::field
