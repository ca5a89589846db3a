#include "engine/field/field_generator.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vemro::field {

namespace {

constexpr double kNone = std::numeric_limits<double>::infinity();

// The nearest edge found so far for one channel.
struct Nearest {
    double squaredDistance = kNone;
    const PixelEdge* edge = nullptr;
    double t = 0;

    // Takes the edge when it is nearer, or as near and faces p more squarely (which, at a
    // corner, picks the edge whose line p is farthest from and so keeps the corner sharp).
    void offer(const PixelEdge& candidate, double d, double at, Vector2 p) {
        if (d < squaredDistance ||
            (d == squaredDistance && candidate.obliqueness(p, at) < edge->obliqueness(p, t))) {
            squaredDistance = d;
            edge = &candidate;
            t = at;
        }
    }
};

}  // namespace

class FieldGenerator::PixelVisitor final : public EdgeCuller::Visitor {
public:
    PixelVisitor(FieldGenerator& generator, FieldKind kind, double spread, const FieldView& out)
        : edges_(generator.edges_),
          inside_(generator.inside_),
          trueDistance_(generator.trueDistance_),
          kind_(kind),
          spread_(spread),
          out_(out) {}

    void far(const EdgeCuller::Cell& cell) override {
        for (int row = cell.row0; row < cell.row1; ++row) {
            for (int column = cell.column0; column < cell.column1; ++column) {
                saturate(column, row);
            }
        }
    }

    void near(const EdgeCuller::Cell& cell, std::span<const std::uint32_t> edges) override {
        for (int row = cell.row0; row < cell.row1; ++row) {
            for (int column = cell.column0; column < cell.column1; ++column) {
                if (isMultiChannel(kind_)) {
                    multiChannel(column, row, edges);
                } else {
                    singleChannel(column, row, edges);
                }
            }
        }
    }

private:
    std::size_t index(int column, int row) const {
        return static_cast<std::size_t>(row) * out_.width + column;
    }
    Vector2 centre(int column, int row) const { return {column + 0.5, out_.height - row - 0.5}; }
    float clamped(double distance) const {
        return static_cast<float>(std::clamp(distance, -spread_, spread_));
    }

    void saturate(int column, int row) {
        const float value = inside_[index(column, row)] != 0 ? static_cast<float>(spread_)
                                                             : -static_cast<float>(spread_);
        float* pixel = out_.pixel(column, row);
        std::fill(pixel, pixel + out_.channels, value);
        trueDistance_[index(column, row)] = value;
    }

    void singleChannel(int column, int row, std::span<const std::uint32_t> edges) {
        const Vector2 p = centre(column, row);
        Nearest nearest;
        for (const std::uint32_t e : edges) {
            const PixelEdge& edge = edges_[e];
            if (edge.squaredLowerBound(p) > nearest.squaredDistance) {
                continue;
            }
            double t = 0;
            const double d = edge.squaredDistance(p, t);
            nearest.offer(edge, d, t, p);
        }
        if (nearest.edge == nullptr || nearest.squaredDistance >= spread_ * spread_) {
            saturate(column, row);
            return;
        }
        const bool inside = inside_[index(column, row)] != 0;
        const double distance = std::sqrt(nearest.squaredDistance);
        const double trueDistance = inside ? distance : -distance;
        double value = trueDistance;
        if (kind_ == FieldKind::psdf) {
            // The pseudo-distance where its side agrees with the winding; else, as the edge's
            // line then passes the wrong way, the true distance.
            const double pseudo = nearest.edge->signedPseudoDistance(p, nearest.t);
            if ((pseudo > 0) == inside) {
                value = pseudo;
            }
        }
        *out_.pixel(column, row) = clamped(value);
        trueDistance_[index(column, row)] = clamped(trueDistance);
    }

    void multiChannel(int column, int row, std::span<const std::uint32_t> edges) {
        const Vector2 p = centre(column, row);
        Nearest nearest[3];
        for (const std::uint32_t e : edges) {
            const PixelEdge& edge = edges_[e];
            double limit = 0;
            for (int channel = 0; channel < 3; ++channel) {
                if (hasChannel(edge.colour, channel)) {
                    limit = std::max(limit, nearest[channel].squaredDistance);
                }
            }
            if (edge.squaredLowerBound(p) > limit) {
                continue;
            }
            double t = 0;
            const double d = edge.squaredDistance(p, t);
            for (int channel = 0; channel < 3; ++channel) {
                if (hasChannel(edge.colour, channel)) {
                    nearest[channel].offer(edge, d, t, p);
                }
            }
        }
        const double squared = std::min(
            {nearest[0].squaredDistance, nearest[1].squaredDistance, nearest[2].squaredDistance});
        if (squared >= spread_ * spread_) {
            saturate(column, row);
            return;
        }
        const bool inside = inside_[index(column, row)] != 0;
        const double distance = std::sqrt(squared);
        float* pixel = out_.pixel(column, row);
        for (int channel = 0; channel < 3; ++channel) {
            const Nearest& n = nearest[channel];
            if (n.edge == nullptr) {
                pixel[channel] = clamped(inside ? spread_ : -spread_);
            } else if (channel > 0 && n.edge == nearest[channel - 1].edge) {
                pixel[channel] = pixel[channel - 1];  // a white or shared edge: the same value
            } else if (channel == 2 && n.edge == nearest[0].edge) {
                pixel[channel] = pixel[0];
            } else {
                pixel[channel] = clamped(n.edge->signedPseudoDistance(p, n.t));
            }
        }
        const float trueDistance = clamped(inside ? distance : -distance);
        if (kind_ == FieldKind::mtsdf) {
            pixel[3] = trueDistance;
        }
        trueDistance_[index(column, row)] = trueDistance;
    }

    const std::vector<PixelEdge>& edges_;
    const std::vector<std::uint8_t>& inside_;
    std::vector<float>& trueDistance_;
    FieldKind kind_;
    double spread_;
    FieldView out_;
};

void FieldGenerator::generate(const Shape& shape, FieldKind kind, const FieldFrame& frame,
                              double spread, const FieldView& out) {
    const int width = frame.width;
    const int height = frame.height;
    if (width <= 0 || height <= 0) {
        return;
    }
    buildPixelEdges(shape, frame, edges_);
    winding_.build(edges_, height);
    const std::size_t pixels = static_cast<std::size_t>(width) * height;
    inside_.resize(pixels);
    trueDistance_.resize(pixels);
    for (int row = 0; row < height; ++row) {
        winding_.inside(row, width, inside_.data() + static_cast<std::size_t>(row) * width);
    }
    PixelVisitor visitor(*this, kind, spread, out);
    culler_.run(edges_, width, height, spread, isMultiChannel(kind), visitor);
    if (isMultiChannel(kind)) {
        corrector_.correct(out, trueDistance_.data());
    }
}

}  // namespace vemro::field
