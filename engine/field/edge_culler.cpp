#include "engine/field/edge_culler.h"

#include <algorithm>
#include <limits>

namespace vemro::field {

namespace {

// Cells of at most this many pixels, or with at most this many edges, are not split further.
constexpr int kLeafPixels = 32;
constexpr std::size_t kLeafEdges = 2;

}  // namespace

void EdgeCuller::run(const std::vector<PixelEdge>& edges, int width, int height, double spread,
                     bool perChannel, Visitor& visitor) {
    if (width <= 0 || height <= 0) {
        return;
    }
    edges_ = &edges;
    height_ = height;
    squaredSpread_ = spread * spread;
    perChannel_ = perChannel;
    visitor_ = &visitor;
    entries_.clear();
    entries_.reserve(edges.size() * 8);
    for (std::uint32_t i = 0; i < edges.size(); ++i) {
        entries_.push_back({i, 0});
    }
    visit({0, 0, width, height}, 0, entries_.size());
}

void EdgeCuller::visit(const Cell& cell, std::size_t begin, std::size_t end) {
    // The rectangle of the cell's pixel centres, in pixel space (y up).
    Box centres;
    centres.left = cell.column0 + 0.5;
    centres.right = cell.column1 - 0.5;
    centres.top = height_ - cell.row0 - 0.5;
    centres.bottom = height_ - cell.row1 + 0.5;
    constexpr double kNone = std::numeric_limits<double>::infinity();
    double bound[3] = {kNone, kNone, kNone};
    double nearest = kNone;
    const std::vector<PixelEdge>& edges = *edges_;
    for (std::size_t i = begin; i < end; ++i) {
        Entry& entry = entries_[i];
        entry.lowerBound = edges[entry.edge].box.squaredDistance(centres);
        nearest = std::min(nearest, entry.lowerBound);
    }
    // An edge whose box is farther than a bound so far cannot lower it: its bound is at least
    // as far.
    for (std::size_t i = begin; i < end; ++i) {
        const Entry& entry = entries_[i];
        const PixelEdge& edge = edges[entry.edge];
        const int channels = perChannel_ ? 3 : 1;
        bool useful = false;
        for (int channel = 0; channel < channels && !useful; ++channel) {
            useful = (!perChannel_ || hasChannel(edge.colour, channel)) &&
                     entry.lowerBound < bound[channel];
        }
        if (!useful) {
            continue;
        }
        const double upper =
            std::min(std::min(centres.squaredFarthest(edge.p0), centres.squaredFarthest(edge.p2)),
                     centres.squaredFarthest(edge.middle));
        for (int channel = 0; channel < channels; ++channel) {
            if (!perChannel_ || hasChannel(edge.colour, channel)) {
                bound[channel] = std::min(bound[channel], upper);
            }
        }
    }
    if (nearest > squaredSpread_) {
        visitor_->far(cell);
        return;
    }
    const std::size_t childBegin = entries_.size();
    for (std::size_t i = begin; i < end; ++i) {
        const Entry entry = entries_[i];
        bool keep = false;
        if (!perChannel_) {
            // A pixel whose nearest edge is beyond the spread only needs its sign, so edges
            // beyond it can go too.
            keep = entry.lowerBound <= bound[0] && entry.lowerBound <= squaredSpread_;
        } else {
            const EdgeColour colour = edges[entry.edge].colour;
            for (int channel = 0; channel < 3 && !keep; ++channel) {
                keep = hasChannel(colour, channel) && entry.lowerBound <= bound[channel];
            }
        }
        if (keep) {
            entries_.push_back(entry);
        }
    }
    const std::size_t childEnd = entries_.size();
    const int columns = cell.column1 - cell.column0;
    const int rows = cell.row1 - cell.row0;
    if (columns * rows <= kLeafPixels || childEnd - childBegin <= kLeafEdges) {
        std::sort(entries_.begin() + static_cast<std::ptrdiff_t>(childBegin), entries_.end(),
                  [](const Entry& a, const Entry& b) { return a.lowerBound < b.lowerBound; });
        leaf_.clear();
        for (std::size_t i = childBegin; i < childEnd; ++i) {
            leaf_.push_back(entries_[i].edge);
        }
        visitor_->near(cell, leaf_);
    } else {
        const int middleColumn = cell.column0 + (columns + 1) / 2;
        const int middleRow = cell.row0 + (rows + 1) / 2;
        const Cell parts[4] = {{cell.column0, cell.row0, middleColumn, middleRow},
                               {middleColumn, cell.row0, cell.column1, middleRow},
                               {cell.column0, middleRow, middleColumn, cell.row1},
                               {middleColumn, middleRow, cell.column1, cell.row1}};
        for (const Cell& part : parts) {
            if (part.column1 > part.column0 && part.row1 > part.row0) {
                visit(part, childBegin, childEnd);
            }
        }
    }
    entries_.resize(childBegin);
}

}  // namespace vemro::field
