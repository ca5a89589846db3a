#pragma once

#include <cstdint>
#include <vector>

namespace vemro {

// The weights of the shadow's blur of radius r (1..8): a Gaussian of standard deviation r / 2
// sampled at -r..r and scaled to add up to 1, so that the blur moves no alpha out of the shadow
// but what falls past r pixels (about 5 % of a Gaussian's weight lies beyond two standard
// deviations; it is given back to the taps within).
std::vector<float> shadowBlurWeights(std::int32_t radius);

// Blurs width x height values (row-major) in place with the weights, across and then down;
// values outside count as 0. The image must have room for what spreads out: `radius` columns
// and rows around what is not 0.
void blurShadow(std::vector<float>& values, std::int32_t width, std::int32_t height,
                std::int32_t radius);

}  // namespace vemro
