#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/field/field_pixels.h"

namespace vemro::field {

// How a distance field is stored in 8-bit channels: 128 on the outline, `spread` pixels of
// distance to either side over the rest of the range, inside above 128:
//     value = clamp(round(128 + distance * 128 / spread), 0, 255)
// so a value v stands for a distance of (v - 128) * spread / 128 pixels. Descriptors state
// the range as 2 x spread (distanceRange), the distance from value 0 to value 256.
std::uint8_t encodeDistance(float distance, double spread);
double decodeDistance(std::uint8_t value, double spread);

// Every value of the field, encoded, into rows of field.width x field.channels bytes, each
// `stride` bytes after the one above.
void encodeField(const FieldView& field, double spread, std::uint8_t* out, std::ptrdiff_t stride);

}  // namespace vemro::field
