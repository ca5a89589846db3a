#include "engine/raster/shadow_blur.h"

#include <cmath>
#include <cstddef>

namespace vemro {

std::vector<float> shadowBlurWeights(std::int32_t radius) {
    if (radius <= 0) {
        return {1.0f};
    }
    const double sigma = radius / 2.0;
    std::vector<double> weights;
    double sum = 0.0;
    for (std::int32_t x = -radius; x <= radius; ++x) {
        weights.push_back(std::exp(-(x * x) / (2.0 * sigma * sigma)));
        sum += weights.back();
    }
    std::vector<float> scaled;
    for (const double weight : weights) {
        scaled.push_back(static_cast<float>(weight / sum));
    }
    return scaled;
}

void blurShadow(std::vector<float>& values, std::int32_t width, std::int32_t height,
                std::int32_t radius) {
    if (radius <= 0 || width <= 0 || height <= 0) {
        return;
    }
    const std::vector<float> weights = shadowBlurWeights(radius);
    const auto w = static_cast<std::size_t>(width);
    std::vector<float> pass(values.size(), 0.0f);
    for (std::int32_t y = 0; y < height; ++y) {
        const float* row = values.data() + static_cast<std::size_t>(y) * w;
        float* out = pass.data() + static_cast<std::size_t>(y) * w;
        for (std::int32_t x = 0; x < width; ++x) {
            float sum = 0.0f;
            for (std::int32_t k = -radius; k <= radius; ++k) {
                const std::int32_t from = x + k;
                if (from >= 0 && from < width) {
                    sum += weights[static_cast<std::size_t>(k + radius)] * row[from];
                }
            }
            out[x] = sum;
        }
    }
    for (std::int32_t y = 0; y < height; ++y) {
        float* out = values.data() + static_cast<std::size_t>(y) * w;
        for (std::int32_t x = 0; x < width; ++x) {
            float sum = 0.0f;
            for (std::int32_t k = -radius; k <= radius; ++k) {
                const std::int32_t from = y + k;
                if (from >= 0 && from < height) {
                    sum += weights[static_cast<std::size_t>(k + radius)] *
                           pass[static_cast<std::size_t>(from) * w + static_cast<std::size_t>(x)];
                }
            }
            out[x] = sum;
        }
    }
}

}  // namespace vemro
