#include "engine/font/freetype/counter_repair.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace vemro {

namespace {

// Farther than any distance in an image.
constexpr double kFar = 1e20;

// The pixels of the image below full coverage that cannot be reached from outside it through
// pixels below full coverage (4-connected), in row-major order.
std::vector<std::size_t> enclosedPixels(const GlyphImage& image) {
    const std::int32_t width = image.width;
    const std::int32_t height = image.height;
    std::vector<std::uint8_t> reached(image.pixels.size(), 0);
    struct Pixel {
        std::int32_t x;
        std::int32_t y;
    };
    std::vector<Pixel> open;
    const auto visit = [&](std::int32_t x, std::int32_t y) {
        const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                               static_cast<std::size_t>(x);
        if (reached[at] == 0 && image.pixels[at] < 255) {
            reached[at] = 1;
            open.push_back({x, y});
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
        const Pixel pixel = open.back();
        open.pop_back();
        if (pixel.x > 0) {
            visit(pixel.x - 1, pixel.y);
        }
        if (pixel.x + 1 < width) {
            visit(pixel.x + 1, pixel.y);
        }
        if (pixel.y > 0) {
            visit(pixel.x, pixel.y - 1);
        }
        if (pixel.y + 1 < height) {
            visit(pixel.x, pixel.y + 1);
        }
    }
    std::vector<std::size_t> enclosed;
    for (std::size_t at = 0; at < image.pixels.size(); ++at) {
        if (reached[at] == 0 && image.pixels[at] < 255) {
            enclosed.push_back(at);
        }
    }
    return enclosed;
}

// Squared distances along one line: out[q] = min over p of (q - p)^2 + f[p] (the lower envelope
// of parabolas, after Felzenszwalb and Huttenlocher).
void squaredDistances(const std::vector<double>& f, std::vector<double>& out) {
    const auto n = static_cast<std::int32_t>(f.size());
    std::vector<std::int32_t> parabola(f.size());
    std::vector<double> boundary(f.size() + 1);
    std::int32_t k = 0;
    parabola[0] = 0;
    boundary[0] = -kFar;
    boundary[1] = kFar;
    for (std::int32_t q = 1; q < n; ++q) {
        const auto crossing = [&](std::int32_t p) {
            return ((f[static_cast<std::size_t>(q)] + double(q) * q) -
                    (f[static_cast<std::size_t>(p)] + double(p) * p)) /
                   (2.0 * (q - p));
        };
        double s = crossing(parabola[static_cast<std::size_t>(k)]);
        while (k > 0 && s <= boundary[static_cast<std::size_t>(k)]) {
            --k;
            s = crossing(parabola[static_cast<std::size_t>(k)]);
        }
        ++k;
        parabola[static_cast<std::size_t>(k)] = q;
        boundary[static_cast<std::size_t>(k)] = s;
        boundary[static_cast<std::size_t>(k) + 1] = kFar;
    }
    k = 0;
    for (std::int32_t q = 0; q < n; ++q) {
        while (boundary[static_cast<std::size_t>(k) + 1] < q) {
            ++k;
        }
        const std::int32_t p = parabola[static_cast<std::size_t>(k)];
        out[static_cast<std::size_t>(q)] = double(q - p) * (q - p) + f[static_cast<std::size_t>(p)];
    }
}

// The squared distance from every pixel of a width x height frame to the nearest marked pixel.
std::vector<double> squaredDistanceMap(const std::vector<bool>& marked, std::int32_t width,
                                       std::int32_t height) {
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    std::vector<double> map(marked.size());
    std::vector<double> line(h);
    std::vector<double> out(std::max(w, h));
    for (std::size_t x = 0; x < w; ++x) {
        for (std::size_t y = 0; y < h; ++y) {
            line[y] = marked[y * w + x] ? 0.0 : kFar;
        }
        out.resize(h);
        squaredDistances(line, out);
        for (std::size_t y = 0; y < h; ++y) {
            map[y * w + x] = out[y];
        }
    }
    line.resize(w);
    out.resize(w);
    for (std::size_t y = 0; y < h; ++y) {
        std::copy(map.begin() + static_cast<std::ptrdiff_t>(y * w),
                  map.begin() + static_cast<std::ptrdiff_t>((y + 1) * w), line.begin());
        squaredDistances(line, out);
        std::copy(out.begin(), out.end(), map.begin() + static_cast<std::ptrdiff_t>(y * w));
    }
    return map;
}

}  // namespace

bool closeCounters(GlyphImage& bordered, const std::function<GlyphImage()>& drawGlyph,
                   std::int32_t radius) {
    const auto size = [](const GlyphImage& image) {
        return static_cast<std::size_t>(std::max(image.width, 0)) *
               static_cast<std::size_t>(std::max(image.height, 0));
    };
    if (size(bordered) == 0 || bordered.pixels.size() < size(bordered)) {
        return false;
    }
    const std::vector<std::size_t> enclosed = enclosedPixels(bordered);
    if (enclosed.empty()) {
        return false;
    }
    const GlyphImage glyph = drawGlyph();
    if (glyph.pixels.size() < size(glyph)) {
        return true;
    }
    // The glyph's solid pixels on the widened glyph's pixels, and the distance to the nearest.
    const std::int32_t dx = glyph.a - glyph.margin - (bordered.a - bordered.margin);
    const std::int32_t dy = glyph.top - bordered.top;
    std::vector<bool> solid(bordered.pixels.size(), false);
    for (std::int32_t j = 0; j < glyph.height; ++j) {
        for (std::int32_t i = 0; i < glyph.width; ++i) {
            const std::int32_t x = i + dx;
            const std::int32_t y = j + dy;
            if (x >= 0 && y >= 0 && x < bordered.width && y < bordered.height &&
                glyph.pixels[static_cast<std::size_t>(j) * static_cast<std::size_t>(glyph.width) +
                             static_cast<std::size_t>(i)] >= 128) {
                solid[static_cast<std::size_t>(y) * static_cast<std::size_t>(bordered.width) +
                      static_cast<std::size_t>(x)] = true;
            }
        }
    }
    const std::vector<double> distances =
        squaredDistanceMap(solid, bordered.width, bordered.height);
    for (const std::size_t at : enclosed) {
        // The edge lies about half a pixel past a solid pixel's centre.
        const double inside = std::clamp(radius + 1.0 - std::sqrt(distances[at]), 0.0, 1.0);
        std::uint8_t& value = bordered.pixels[at];
        value = std::max(value, static_cast<std::uint8_t>(std::lround(inside * 255.0)));
    }
    return true;
}

}  // namespace vemro
