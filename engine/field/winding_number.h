#pragma once

#include <vector>

#include "engine/field/shape.h"

namespace vemro::field {

// How many times a shape's contours wind round points (counter-clockwise positive), counted
// along a ray to the right over the parts of the edges that run one way in y.
class WindingNumber {
public:
    explicit WindingNumber(const Shape& shape);
    int at(Vector2 p) const;

private:
    struct Piece {
        EdgeSegment edge;
        double low, high;  // the y range, the lower end included
        int direction;     // +1 upwards
        Box box;
    };

    void addPiece(const EdgeSegment& edge);

    std::vector<Piece> pieces_;
};

}  // namespace vemro::field
