#pragma once

#include <cstdint>

namespace vemro {

struct AtlasEncoding;
struct AtlasPage;

// A distance-field page drawn as a game draws it: the field sampled between its pixels and
// thresholded at 128 with a ramp about one screen pixel wide, so that text stays sharp however
// far it is magnified.
namespace field_rendering {

// The field of an 8-bit page at atlas position (x, y), interpolated bilinearly between the
// centres of its pixels (pixel (i, j) has its centre at (i + 0.5, j + 0.5)); positions past the
// page's edge take the edge's values.
double sample(const AtlasPage& page, double x, double y);

// The coverage a field value gives where one screen pixel spans `pixels` atlas pixels (the
// magnification's inverse) of a field of the encoding: smoothstep over one screen pixel's worth
// of values around the outline's value, 0..255.
std::uint8_t coverage(double value, const AtlasEncoding& encoding, double pixels);

}  // namespace field_rendering
}  // namespace vemro
