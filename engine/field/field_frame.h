#pragma once

#include "engine/field/vector2.h"

namespace vemro::field {

// Where a rectangle of field pixels lies on a shape. Rows run downwards from the top, the shape's
// y upwards: the centre of pixel (column, row) is at
//     x = origin.x + (column + 0.5) * pixelSize,  y = origin.y - (row + 0.5) * pixelSize
// in shape units, origin being the rectangle's top-left corner. Distances in the field are in
// pixels, that is shape units divided by pixelSize.
struct FieldFrame {
    int width = 0;
    int height = 0;
    Vector2 origin;
    double pixelSize = 1;

    Vector2 pixelCentre(int column, int row) const {
        return {origin.x + (column + 0.5) * pixelSize, origin.y - (row + 0.5) * pixelSize};
    }
};

}  // namespace vemro::field
