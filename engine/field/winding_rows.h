#pragma once

#include <cstdint>
#include <vector>

#include "engine/field/pixel_edge.h"

namespace vemro::field {

// Which pixel centres of a field lie inside its shape by the non-zero rule, one row at a time:
// each row's crossings with the edges are found once and swept from left to right, rather than
// every pixel counting windings by itself.
class WindingRows {
public:
    // Prepares the rows of a field `height` pixels high over edges in its pixel space.
    void build(const std::vector<PixelEdge>& edges, int height);
    // For the row's pixels 0..width-1, 1 where the shape winds round the centre, else 0.
    void inside(int row, int width, std::uint8_t* out) const;

private:
    struct Crossing {
        double x;
        int direction;  // +1 where the edge goes up, -1 where it goes down
    };
    // The part of an edge between two of its extremes in y: a quadratic whose y runs one way.
    struct Piece {
        Vector2 p0, p1, p2;
        int direction;
    };

    void addPiece(Vector2 p0, Vector2 p1, Vector2 p2);

    int height_ = 0;
    std::vector<Piece> pieces_;
    std::vector<std::size_t> rowStart_;  // crossings_ of row r: rowStart_[r]..rowStart_[r + 1]
    std::vector<Crossing> crossings_;
};

}  // namespace vemro::field
