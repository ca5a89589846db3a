#pragma once

#include <cstdint>

namespace vemro {

struct AtlasPage;

// A distance-field page drawn as a game draws it: the field sampled between its pixels and
// thresholded at 128 with a ramp about one screen pixel wide, so that text stays sharp however
// far it is magnified.
namespace field_rendering {

// The field of an 8-bit page at atlas position (x, y), interpolated bilinearly between the
// centres of its pixels (pixel (i, j) has its centre at (i + 0.5, j + 0.5)); positions past the
// page's edge take the edge's values.
double sample(const AtlasPage& page, double x, double y);

// The coverage a field value gives where one screen pixel spans `valuesPerPixel` of the field's
// values (128 / spread per atlas pixel, divided by the magnification): smoothstep from half
// that below 128 to half that above, 0..255.
std::uint8_t coverage(double value, double valuesPerPixel);

}  // namespace field_rendering
}  // namespace vemro
