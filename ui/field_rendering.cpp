#include "ui/field_rendering.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "engine/atlas/atlas_result.h"

namespace vemro::field_rendering {

double sample(const AtlasPage& page, double x, double y) {
    if (page.width <= 0 || page.height <= 0 || page.channels != 1) {
        return 0.0;
    }
    const double fx = std::clamp(x - 0.5, 0.0, page.width - 1.0);
    const double fy = std::clamp(y - 0.5, 0.0, page.height - 1.0);
    const auto x0 = static_cast<std::int32_t>(fx);
    const auto y0 = static_cast<std::int32_t>(fy);
    const std::int32_t x1 = std::min(x0 + 1, page.width - 1);
    const std::int32_t y1 = std::min(y0 + 1, page.height - 1);
    const double tx = fx - x0;
    const double ty = fy - y0;
    const double top = page.at(x0, y0) * (1.0 - tx) + page.at(x1, y0) * tx;
    const double bottom = page.at(x0, y1) * (1.0 - tx) + page.at(x1, y1) * tx;
    return top * (1.0 - ty) + bottom * ty;
}

std::uint8_t coverage(double value, const AtlasEncoding& encoding, double pixels) {
    const double half = std::max(encoding.valuesPerPixel() * pixels, 1e-6) / 2.0;
    const double t = std::clamp((value - (encoding.edgeValue() - half)) / (2.0 * half), 0.0, 1.0);
    return static_cast<std::uint8_t>(std::lround(t * t * (3.0 - 2.0 * t) * 255.0));
}

}  // namespace vemro::field_rendering
