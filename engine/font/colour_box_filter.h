#pragma once

#include <cstdint>
#include <vector>

namespace vemro {

// Scales an image of red, green, blue and straight alpha (4 bytes a pixel, sRGB) to
// outWidth x outHeight with an area (box) filter: each output pixel is the average of the source
// area under it, every source pixel weighted by how much of it that area covers. The average is
// taken in linear light with the colours premultiplied by alpha, so that transparent pixels lend
// no colour and dark edges do not grow; the result is straight alpha again, in sRGB.
std::vector<std::uint8_t> boxFilterColour(const std::uint8_t* rgba, std::int32_t width,
                                          std::int32_t height, std::int32_t outWidth,
                                          std::int32_t outHeight);

// sRGB byte to linear light 0..1 and back (rounded to nearest).
float linearFromSrgb(std::uint8_t value);
std::uint8_t srgbFromLinear(float value);

}  // namespace vemro
