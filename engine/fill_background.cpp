#include "engine/fill_background.h"

#include <algorithm>
#include <vector>

namespace vemro {

namespace {

// Grey and black read the same with red and blue exchanged.
constexpr std::uint32_t kGreyWord = PixelSurface::swapRedBlue(kHatchGrey);

// The hatch repeats every 10 rows; row y of the surface outside the texture is pattern row
// y % 10.
constexpr std::int32_t kHatchPeriod = 10;

}  // namespace

void fillBackground(PixelSurface& surface, AtlasSize size) {
    const std::int32_t side = PixelSurface::kAtlasSide;
    const std::int32_t width = surface.width();
    if (width <= 0) {
        return;
    }
    std::vector<std::uint32_t> pattern(static_cast<std::size_t>(kHatchPeriod) * width);
    for (std::int32_t yMod = 0; yMod < kHatchPeriod; ++yMod) {
        std::uint32_t* row = pattern.data() + static_cast<std::size_t>(yMod) * width;
        for (std::int32_t x = 0; x < width; ++x) {
            row[x] = (x % 10 == yMod || (side - x) % 10 == yMod) ? 0u : kGreyWord;
        }
    }
    const std::int32_t textureColumns = std::clamp(size.width, 0, width);
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        std::uint32_t* row = surface.row(y);
        const std::uint32_t* hatch = pattern.data() + static_cast<std::size_t>(y % 10) * width;
        const std::int32_t black = y < size.height ? textureColumns : 0;
        std::fill(row, row + black, 0u);
        std::copy(hatch + black, hatch + width, row + black);
    }
}

}  // namespace vemro
