#include "engine/counter_repair.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace vemro {

namespace {

// The pixels of the image below full coverage that cannot be reached from outside it through
// pixels below full coverage (4-connected), in row-major order.
std::vector<std::size_t> enclosedPixels(const GlyphImage& image) {
    const std::int32_t width = image.width;
    const std::int32_t height = image.height;
    const auto index = [width](std::int32_t x, std::int32_t y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    };
    std::vector<bool> reached(image.coverage.size(), false);
    std::vector<std::size_t> open;
    const auto visit = [&](std::int32_t x, std::int32_t y) {
        const std::size_t at = index(x, y);
        if (!reached[at] && image.coverage[at] < 255) {
            reached[at] = true;
            open.push_back(at);
        }
    };
    for (std::int32_t x = 0; x < width; ++x) {
        visit(x, 0);
        visit(x, height - 1);
    }
    for (std::int32_t y = 0; y < height; ++y) {
        visit(0, y);
        visit(width - 1, y);
    }
    while (!open.empty()) {
        const std::size_t at = open.back();
        open.pop_back();
        const auto x = static_cast<std::int32_t>(at % static_cast<std::size_t>(width));
        const auto y = static_cast<std::int32_t>(at / static_cast<std::size_t>(width));
        if (x > 0) {
            visit(x - 1, y);
        }
        if (x + 1 < width) {
            visit(x + 1, y);
        }
        if (y > 0) {
            visit(x, y - 1);
        }
        if (y + 1 < height) {
            visit(x, y + 1);
        }
    }
    std::vector<std::size_t> enclosed;
    for (std::size_t at = 0; at < image.coverage.size(); ++at) {
        if (!reached[at] && image.coverage[at] < 255) {
            enclosed.push_back(at);
        }
    }
    return enclosed;
}

}  // namespace

bool closeCounters(GlyphImage& bordered, const std::function<GlyphImage()>& drawGlyph,
                   std::int32_t radius) {
    const auto size = [](const GlyphImage& image) {
        return static_cast<std::size_t>(std::max(image.width, 0)) *
               static_cast<std::size_t>(std::max(image.height, 0));
    };
    if (size(bordered) == 0 || bordered.coverage.size() < size(bordered)) {
        return false;
    }
    const std::vector<std::size_t> enclosed = enclosedPixels(bordered);
    if (enclosed.empty()) {
        return false;
    }
    const GlyphImage glyph = drawGlyph();
    if (glyph.coverage.size() < size(glyph)) {
        return true;
    }
    const std::int32_t glyphLeft = glyph.a - glyph.margin;
    const std::int32_t reach = radius + 2;
    for (const std::size_t at : enclosed) {
        // The pixel in glyph image coordinates.
        const std::int32_t x =
            static_cast<std::int32_t>(at % static_cast<std::size_t>(bordered.width)) + bordered.a -
            bordered.margin - glyphLeft;
        const std::int32_t y =
            static_cast<std::int32_t>(at / static_cast<std::size_t>(bordered.width)) +
            bordered.top - glyph.top;
        double nearest = std::numeric_limits<double>::infinity();
        for (std::int32_t j = std::max(y - reach, 0); j <= std::min(y + reach, glyph.height - 1);
             ++j) {
            for (std::int32_t i = std::max(x - reach, 0); i <= std::min(x + reach, glyph.width - 1);
                 ++i) {
                if (glyph.coverage[static_cast<std::size_t>(j) *
                                       static_cast<std::size_t>(glyph.width) +
                                   static_cast<std::size_t>(i)] >= 128) {
                    nearest = std::min(nearest, std::hypot(i - x, j - y));
                }
            }
        }
        // The edge lies about half a pixel past a solid pixel's centre.
        const double inside = std::clamp(radius + 1.0 - nearest, 0.0, 1.0);
        std::uint8_t& value = bordered.coverage[at];
        value = std::max(value, static_cast<std::uint8_t>(std::lround(inside * 255.0)));
    }
    return true;
}

}  // namespace vemro
