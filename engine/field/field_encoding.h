#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/field/field_pixels.h"

namespace vemro::field {

// How a distance field is stored in 8-bit channels: 128 on the outline, `spread` pixels of
// distance to either side over the rest of the range, inside above 128:
//     value = clamp(round(128 + distance * 128 / spread), 0, 255)
// so a value v stands for a distance of (v - 128) * spread / 128 pixels. Descriptors state
// the range as 2 x spread (distanceRange), the distance from value 0 to value 256. Whoever reads
// or describes a field takes these from here.

// The value on the outline.
inline constexpr double kEdgeValue = 128;

// How many values one pixel of distance spans.
constexpr double valuesPerPixel(double spread) {
    return kEdgeValue / spread;
}

// The distance between the values 0 and 256, as descriptors state it.
constexpr double distanceRange(double spread) {
    return 2 * spread;
}

std::uint8_t encodeDistance(float distance, double spread);
double decodeDistance(std::uint8_t value, double spread);

// Every value of the field, encoded, into rows of field.width x field.channels bytes, each
// `stride` bytes after the one above.
void encodeField(const FieldView& field, double spread, std::uint8_t* out, std::ptrdiff_t stride);

}  // namespace vemro::field
