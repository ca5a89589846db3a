#include "engine/font/colour_box_filter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace vemro {

namespace {

const std::array<float, 256>& linearTable() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> values{};
        for (std::size_t i = 0; i < values.size(); ++i) {
            const double c = static_cast<double>(i) / 255.0;
            values[i] =
                static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return values;
    }();
    return table;
}

// The source pixels an output pixel covers along one axis, with the share of each.
struct Span {
    std::int32_t first = 0;
    std::vector<float> weights;
};

std::vector<Span> spansFor(std::int32_t source, std::int32_t out) {
    std::vector<Span> spans(static_cast<std::size_t>(out));
    const double step = static_cast<double>(source) / out;
    for (std::int32_t i = 0; i < out; ++i) {
        const double begin = i * step;
        const double end = (i + 1) * step;
        Span& span = spans[static_cast<std::size_t>(i)];
        span.first = static_cast<std::int32_t>(std::floor(begin));
        const auto last = std::min(source - 1, static_cast<std::int32_t>(std::ceil(end)) - 1);
        for (std::int32_t s = span.first; s <= last; ++s) {
            const double covered = std::min<double>(end, s + 1) - std::max<double>(begin, s);
            span.weights.push_back(static_cast<float>(std::max(covered, 0.0)));
        }
    }
    return spans;
}

}  // namespace

float linearFromSrgb(std::uint8_t value) {
    return linearTable()[value];
}

std::uint8_t srgbFromLinear(float value) {
    const double c = std::clamp(static_cast<double>(value), 0.0, 1.0);
    const double encoded = c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
    return static_cast<std::uint8_t>(std::lround(encoded * 255.0));
}

std::vector<std::uint8_t> boxFilterColour(const std::uint8_t* rgba, std::int32_t width,
                                          std::int32_t height, std::int32_t outWidth,
                                          std::int32_t outHeight) {
    if (width <= 0 || height <= 0 || outWidth <= 0 || outHeight <= 0) {
        return {};
    }
    const std::vector<Span> columns = spansFor(width, outWidth);
    const std::vector<Span> rows = spansFor(height, outHeight);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(outWidth) * outHeight * 4);
    for (std::int32_t y = 0; y < outHeight; ++y) {
        const Span& row = rows[static_cast<std::size_t>(y)];
        for (std::int32_t x = 0; x < outWidth; ++x) {
            const Span& column = columns[static_cast<std::size_t>(x)];
            double sum[4] = {0, 0, 0, 0};  // premultiplied linear red, green, blue; alpha
            double area = 0;
            for (std::size_t j = 0; j < row.weights.size(); ++j) {
                const std::uint8_t* line =
                    rgba + (static_cast<std::size_t>(row.first) + j) * width * 4;
                for (std::size_t i = 0; i < column.weights.size(); ++i) {
                    const std::uint8_t* pixel =
                        line + (static_cast<std::size_t>(column.first) + i) * 4;
                    const double weight = double{row.weights[j]} * column.weights[i];
                    const double alpha = pixel[3] / 255.0 * weight;
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += linearFromSrgb(pixel[c]) * alpha;
                    }
                    sum[3] += alpha;
                    area += weight;
                }
            }
            std::uint8_t* target = &out[(static_cast<std::size_t>(y) * outWidth + x) * 4];
            const double alpha = area > 0 ? sum[3] / area : 0.0;
            for (int c = 0; c < 3; ++c) {
                target[c] = sum[3] > 0 ? srgbFromLinear(static_cast<float>(sum[c] / sum[3])) : 0;
            }
            target[3] = static_cast<std::uint8_t>(std::lround(std::clamp(alpha, 0.0, 1.0) * 255));
        }
    }
    return out;
}

}  // namespace vemro
