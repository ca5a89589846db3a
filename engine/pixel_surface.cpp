#include "engine/pixel_surface.h"

#include <limits>
#include <new>

namespace vemro {

namespace {
// Keeps width x height x 4 well inside what a size_t and an int can count.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;
}  // namespace

bool PixelSurface::create(std::int32_t width, std::int32_t height) {
    release();
    if (width <= 0 || height <= 0 || std::int64_t{width} * height > kMaxPixels) {
        return false;
    }
    try {
        pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
    } catch (const std::bad_alloc&) {
        pixels_.clear();
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

bool PixelSurface::release() {
    pixels_.clear();
    pixels_.shrink_to_fit();
    width_ = 0;
    height_ = 0;
    return true;
}

void PixelSurface::setPixel(std::int32_t x, std::int32_t y, std::uint32_t colour) {
    if (contains(x, y)) {
        row(y)[x] = swapRedBlue(colour);
    }
}

std::uint32_t PixelSurface::getPixel(std::int32_t x, std::int32_t y) const {
    return contains(x, y) ? swapRedBlue(row(y)[x]) : 0u;
}

}  // namespace vemro
