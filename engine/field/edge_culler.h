#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/field/pixel_edge.h"

namespace vemro::field {

// Splits a field's pixels into cells and finds for each cell the few edges that can be nearest
// to one of its pixels, so that the work per pixel grows with the edges near it rather than
// with all the edges of the shape.
//
// Starting from the whole field and all edges, each cell keeps the edges of its parent whose
// box is no farther from the cell than the nearest any edge is sure to be: for an edge e, the
// farthest point of the cell from any one point of e bounds the distance from every pixel of
// the cell to e from above; an edge whose box lies farther than the least such bound cannot
// be nearest anywhere in the cell. Multi-channel fields keep that bound per channel, as each
// channel needs the nearest edge of its own colour. Cells farther than `spread` from every
// edge need no distance at all.
class EdgeCuller {
public:
    struct Cell {
        int column0, row0, column1, row1;  // pixels [column0, column1) x [row0, row1)
    };
    class Visitor {
    public:
        virtual ~Visitor() = default;
        // The edges (indices) that may be nearest somewhere in the cell, nearest box first.
        virtual void near(const Cell& cell, std::span<const std::uint32_t> edges) = 0;
        // Every pixel of the cell is farther than the spread from every edge.
        virtual void far(const Cell& cell) = 0;
    };

    // Visits every pixel of a width x height field once, in cells. With perChannel false all
    // edges count as one colour.
    void run(const std::vector<PixelEdge>& edges, int width, int height, double spread,
             bool perChannel, Visitor& visitor);

private:
    struct Entry {
        std::uint32_t edge;
        double lowerBound;  // squared distance from the cell to the edge's box
    };

    void visit(const Cell& cell, std::size_t begin, std::size_t end);

    const std::vector<PixelEdge>* edges_ = nullptr;
    int height_ = 0;
    double squaredSpread_ = 0;
    bool perChannel_ = false;
    Visitor* visitor_ = nullptr;
    std::vector<Entry> entries_;
    std::vector<std::uint32_t> leaf_;
};

}  // namespace vemro::field
