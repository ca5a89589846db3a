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

// Floor division for a positive divisor.
std::int32_t floorDiv(std::int32_t value, std::int32_t divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

// One row of atlas pixels is reduced in two passes over plain arrays: first the F source rows
// are summed down each column, each weighted by its kernel entry (the weight of source column x
// in kernel row dy is kernel[dy][x % F]); then the F weighted column sums of each block are
// added. Integer sums in any order are the same sums, so the result is reduceCell's to the bit.
template <int F>
void reduceInkRows(const std::uint8_t* coverage, std::int32_t width, std::int32_t height,
                   std::int32_t top, ReducedInk& ink) {
    constexpr auto& kernel = kReductionKernels[F];
    constexpr std::int32_t divisor = kReductionDivisors[F];
    // A column sum is at most the largest kernel column sum (12) x 255, a block sum at most
    // 36 x 255: 16 bits hold both. Columns past the ink stay zero.
    const std::size_t paddedWidth = static_cast<std::size_t>(ink.width) * F;
    std::vector<std::uint16_t> weights(paddedWidth * F);
    for (int dy = 0; dy < F; ++dy) {
        for (std::size_t x = 0; x < paddedWidth; ++x) {
            weights[dy * paddedWidth + x] = static_cast<std::uint16_t>(kernel[dy][x % F]);
        }
    }
    std::vector<std::uint16_t> columns(paddedWidth);
    const std::int32_t firstSourceRow = ink.top * F - top;  // ink row of the first block row
    for (std::int32_t j = 0; j < ink.height; ++j) {
        std::fill(columns.begin(), columns.end(), std::uint16_t{0});
        for (int dy = 0; dy < F; ++dy) {
            const std::int32_t iy = firstSourceRow + j * F + dy;
            if (iy < 0 || iy >= height) {
                continue;
            }
            const std::uint8_t* row = coverage + static_cast<std::size_t>(iy) * width;
            const std::uint16_t* weight = weights.data() + dy * paddedWidth;
            std::uint16_t* column = columns.data();
            for (std::int32_t x = 0; x < width; ++x) {
                column[x] = static_cast<std::uint16_t>(column[x] + weight[x] * row[x]);
            }
        }
        std::uint32_t* target = ink.pixels.data() + static_cast<std::size_t>(j) * ink.width;
        const std::uint16_t* block = columns.data();
        for (std::int32_t k = 0; k < ink.width; ++k, block += F) {
            std::uint32_t sum = 0;
            for (int dx = 0; dx < F; ++dx) {
                sum += block[dx];
            }
            target[k] = (sum / divisor) * 0x010101u;
        }
    }
}

}  // namespace

ReducedInk reduceInk(const std::uint8_t* coverage, std::int32_t width, std::int32_t height,
                     std::int32_t top, std::int32_t factor) {
    ReducedInk ink;
    if (width <= 0 || height <= 0 || factor < 1 || factor > 4) {
        return ink;
    }
    ink.top = floorDiv(top, factor);
    ink.width = (width + factor - 1) / factor;
    ink.height = floorDiv(top + height - 1, factor) - ink.top + 1;
    ink.pixels.resize(static_cast<std::size_t>(ink.width) * ink.height);
    switch (factor) {
        case 1:
            for (std::size_t i = 0; i < ink.pixels.size(); ++i) {
                ink.pixels[i] = std::uint32_t{coverage[i]} * 0x010101u;
            }
            break;
        case 2:
            reduceInkRows<2>(coverage, width, height, top, ink);
            break;
        case 3:
            reduceInkRows<3>(coverage, width, height, top, ink);
            break;
        default:
            reduceInkRows<4>(coverage, width, height, top, ink);
            break;
    }
    return ink;
}

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
