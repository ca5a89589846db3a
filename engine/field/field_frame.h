#pragma once

#include <cmath>

#include "engine/field/box.h"
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

    // The frame of whole pixels, one shape unit each, round a box (a shape's controlBox), with
    // `margin` more pixels on every side: a glyph's field reaching its spread past the glyph, as
    // FreeType frames its own fields. An empty box gets a square of 2 x margin round 0.
    static FieldFrame around(const Box& box, int margin) {
        if (box.empty()) {
            return {2 * margin, 2 * margin, {-static_cast<double>(margin), 1.0 * margin}, 1};
        }
        const int left = static_cast<int>(std::floor(box.left)) - margin;
        const int right = static_cast<int>(std::ceil(box.right)) + margin;
        const int bottom = static_cast<int>(std::floor(box.bottom)) - margin;
        const int top = static_cast<int>(std::ceil(box.top)) + margin;
        return {right - left, top - bottom, {1.0 * left, 1.0 * top}, 1};
    }

    Vector2 pixelCentre(int column, int row) const {
        return {origin.x + (column + 0.5) * pixelSize, origin.y - (row + 0.5) * pixelSize};
    }
};

}  // namespace vemro::field
