#include "engine/field/field_encoding.h"

#include <algorithm>
#include <cmath>

namespace vemro::field {

std::uint8_t encodeDistance(float distance, double spread) {
    // Rounded half up; clamped first, so the value is never negative.
    const double value = std::clamp(kEdgeValue + distance * valuesPerPixel(spread), 0.0, 255.0);
    return static_cast<std::uint8_t>(value + 0.5);
}

double decodeDistance(std::uint8_t value, double spread) {
    return (static_cast<double>(value) - kEdgeValue) / valuesPerPixel(spread);
}

void encodeField(const FieldView& field, double spread, std::uint8_t* out, std::ptrdiff_t stride) {
    const int values = field.width * field.channels;
    for (int row = 0; row < field.height; ++row) {
        const float* from = field.data + row * field.stride;
        std::uint8_t* to = out + row * stride;
        for (int i = 0; i < values; ++i) {
            to[i] = encodeDistance(from[i], spread);
        }
    }
}

}  // namespace vemro::field
