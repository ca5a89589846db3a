#include "engine/fill_background.h"

namespace vemro {

void fillBackground(PixelSurface& surface, AtlasSize size) {
    const std::int32_t side = PixelSurface::kAtlasSide;
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        std::uint32_t* row = surface.row(y);
        const std::int32_t yMod = y % 10;
        for (std::int32_t x = 0; x < surface.width(); ++x) {
            std::uint32_t colour = kHatchGrey;
            if (x < size.width && y < size.height) {
                colour = 0;
            } else if (x % 10 == yMod || (side - x) % 10 == yMod) {
                colour = 0;
            }
            // Grey and black read the same with red and blue exchanged.
            row[x] = PixelSurface::swapRedBlue(colour);
        }
    }
}

}  // namespace vemro
