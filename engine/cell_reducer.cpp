#include "engine/cell_reducer.h"

#include <algorithm>

namespace vemro {

VisibleCell visiblePart(const CellPlacement& cell, AtlasSize texture) {
    VisibleCell visible;
    // Work in 64 bits: positions and sizes of cells loaded from files can be far apart.
    const std::int64_t x = cell.x;
    const std::int64_t y = cell.y;
    visible.firstColumn = static_cast<std::int32_t>(std::clamp<std::int64_t>(-x, 0, cell.width));
    visible.endColumn =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(texture.width - x, 0, cell.width));
    visible.firstRow = static_cast<std::int32_t>(std::clamp<std::int64_t>(-y, 0, cell.height));
    visible.endRow =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(texture.height - y, 0, cell.height));
    if (cell.width <= 0 || cell.height <= 0) {
        visible = {};
    }
    return visible;
}

namespace {

// The red level of a raw 0xXXRRGGBB word.
inline std::int32_t redLevel(std::uint32_t word) {
    return static_cast<std::int32_t>((word >> 16) & 0xFFu);
}

template <int F>
void reduceRows(const PixelSurface& render, std::int32_t originX, std::int32_t originY,
                const CellPlacement& cell, const VisibleCell& visible, PixelSurface& atlas) {
    constexpr auto& kernel = kReductionKernels[F];
    constexpr std::int32_t divisor = kReductionDivisors[F];
    for (std::int32_t j = visible.firstRow; j < visible.endRow; ++j) {
        const std::uint32_t* source[F];
        for (int dy = 0; dy < F; ++dy) {
            source[dy] = render.row(F * j + dy - originY);
        }
        std::uint32_t* target = atlas.row(cell.y + j) + cell.x;
        for (std::int32_t k = visible.firstColumn; k < visible.endColumn; ++k) {
            const std::int32_t sx = F * k - originX;
            std::int32_t sum = 0;
            for (int dy = 0; dy < F; ++dy) {
                for (int dx = 0; dx < F; ++dx) {
                    sum += kernel[dy][dx] * redLevel(source[dy][sx + dx]);
                }
            }
            const auto v = static_cast<std::uint32_t>(sum / divisor);
            target[k] = v * 0x010101u;
        }
    }
}

void copyRows(const PixelSurface& render, std::int32_t originX, std::int32_t originY,
              const CellPlacement& cell, const VisibleCell& visible, PixelSurface& atlas) {
    const std::int32_t count = visible.endColumn - visible.firstColumn;
    for (std::int32_t j = visible.firstRow; j < visible.endRow; ++j) {
        const std::uint32_t* source = render.row(j - originY) + (visible.firstColumn - originX);
        std::uint32_t* target = atlas.row(cell.y + j) + cell.x + visible.firstColumn;
        std::copy(source, source + count, target);
    }
}

}  // namespace

void reduceCell(const PixelSurface& render, std::int32_t originX, std::int32_t originY,
                const CellPlacement& cell, AtlasSize texture, PixelSurface& atlas) {
    // Never write past the atlas surface, whatever the texture size claims.
    texture.width = std::min(texture.width, atlas.width());
    texture.height = std::min(texture.height, atlas.height());
    const VisibleCell visible = visiblePart(cell, texture);
    if (visible.empty()) {
        return;
    }
    switch (cell.factor) {
        case 1:
            copyRows(render, originX, originY, cell, visible, atlas);
            break;
        case 2:
            reduceRows<2>(render, originX, originY, cell, visible, atlas);
            break;
        case 3:
            reduceRows<3>(render, originX, originY, cell, visible, atlas);
            break;
        case 4:
            reduceRows<4>(render, originX, originY, cell, visible, atlas);
            break;
        default:
            break;
    }
}

}  // namespace vemro
