#pragma once

#include <cstdint>
#include <vector>

#include "engine/field/field_pixels.h"

namespace vemro::field {

// Finds and mends the pixels of a multi-channel field whose channels would put the outline
// where it is not, given the true signed distance of every pixel:
// - a pixel whose median lies on the other side of the outline than the pixel itself gets the
//   true distance in all three channels;
// - two neighbouring pixels (side by side, one above the other, or the four round a point)
//   that are together too far from the outline for it to pass between them, but between which
//   the median of the interpolated channels crosses to the other side (a clash: channels that
//   swap order between them), have the pixel farther from the outline set to its own median in
//   all three channels. Interpolating towards a pixel with equal channels is a straight line
//   in the median, so that ends the clash without moving the outline elsewhere.
class ArtefactCorrector {
public:
    // The first three channels of the field; trueDistance holds field.width x field.height
    // values, row by row.
    void correct(const FieldView& field, const float* trueDistance);

private:
    void checkPair(const FieldView& field, const float* trueDistance, int c0, int r0, int c1,
                   int r1);
    void checkSquare(const FieldView& field, const float* trueDistance, int column, int row);
    void mark(std::size_t index, std::uint8_t how);

    std::vector<std::uint8_t> marks_;
    // Whether a pixel's three channels are equal, all positive, all negative or mixed.
    std::vector<std::uint8_t> uniform_;
};

}  // namespace vemro::field
