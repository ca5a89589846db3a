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

// The kernels of factors 2 and 4 are outer products of a weight vector with itself,
// kernel[dy][dx] = v[dy] x v[dx]; the kernel of factor 3 has two different columns, edge
// (dx 0 and 2) and middle. So one row of atlas pixels is reduced in two passes over plain
// arrays: the F source rows are summed down each column with the column weights, then each
// block of F column sums is summed across. Integer sums in any order are the same sums, so the
// result is reduceCell's to the bit.
template <int F>
struct ColumnWeights;

template <>
struct ColumnWeights<2> {
    static constexpr std::uint16_t kEdge[2] = {1, 1};
    static constexpr std::uint16_t kMiddle[2] = {1, 1};
    static constexpr std::uint16_t kAcross[2] = {1, 1};
};

template <>
struct ColumnWeights<3> {
    static constexpr std::uint16_t kEdge[3] = {1, 3, 1};    // kernel columns 0 and 2
    static constexpr std::uint16_t kMiddle[3] = {3, 5, 3};  // kernel column 1
    static constexpr std::uint16_t kAcross[3] = {1, 1, 1};
};

template <>
struct ColumnWeights<4> {
    static constexpr std::uint16_t kEdge[4] = {1, 2, 2, 1};
    static constexpr std::uint16_t kMiddle[4] = {1, 2, 2, 1};
    static constexpr std::uint16_t kAcross[4] = {1, 2, 2, 1};
};

template <int F>
constexpr bool kernelIsColumnsTimesAcross() {
    using W = ColumnWeights<F>;
    for (int dy = 0; dy < F; ++dy) {
        for (int dx = 0; dx < F; ++dx) {
            const std::int32_t column = (F == 3 && dx == 1) ? W::kMiddle[dy] : W::kEdge[dy];
            if (kReductionKernels[F][dy][dx] != column * W::kAcross[dx]) {
                return false;
            }
        }
    }
    return true;
}
static_assert(kernelIsColumnsTimesAcross<2>() && kernelIsColumnsTimesAcross<3>() &&
              kernelIsColumnsTimesAcross<4>());

// Column sums of F rows: at most 12 x 255 (factor 3's middle column), so 16 bits hold them,
// and a block's weighted sum at most 36 x 255.
template <int F>
[[gnu::always_inline]] inline void sumColumns(const std::uint8_t* const* rows, std::int32_t width,
                                              std::uint16_t* __restrict edge,
                                              std::uint16_t* __restrict middle) {
    using W = ColumnWeights<F>;
    for (std::int32_t x = 0; x < width; ++x) {
        std::uint16_t sum = 0;
        for (int dy = 0; dy < F; ++dy) {
            sum = static_cast<std::uint16_t>(sum + W::kEdge[dy] * rows[dy][x]);
        }
        edge[x] = sum;
    }
    if constexpr (F == 3) {
        for (std::int32_t x = 0; x < width; ++x) {
            std::uint16_t sum = 0;
            for (int dy = 0; dy < F; ++dy) {
                sum = static_cast<std::uint16_t>(sum + W::kMiddle[dy] * rows[dy][x]);
            }
            middle[x] = sum;
        }
    }
}

// The column sums are the bulk of the work; they are built for AVX2 as well, chosen when the
// program loads where the processor has it.
__attribute__((target_clones("avx2", "default"))) void sumColumns2(const std::uint8_t* const* rows,
                                                                   std::int32_t width,
                                                                   std::uint16_t* edge,
                                                                   std::uint16_t* middle) {
    sumColumns<2>(rows, width, edge, middle);
}

__attribute__((target_clones("avx2", "default"))) void sumColumns3(const std::uint8_t* const* rows,
                                                                   std::int32_t width,
                                                                   std::uint16_t* edge,
                                                                   std::uint16_t* middle) {
    sumColumns<3>(rows, width, edge, middle);
}

__attribute__((target_clones("avx2", "default"))) void sumColumns4(const std::uint8_t* const* rows,
                                                                   std::int32_t width,
                                                                   std::uint16_t* edge,
                                                                   std::uint16_t* middle) {
    sumColumns<4>(rows, width, edge, middle);
}

template <int F>
void reduceInkRows(const std::uint8_t* coverage, std::int32_t width, std::int32_t height,
                   std::int32_t top, ReducedInk& ink) {
    using W = ColumnWeights<F>;
    constexpr std::int32_t divisor = kReductionDivisors[F];
    // Columns past the ink stay zero; rows above and below it read a row of zeros.
    const std::size_t paddedWidth = static_cast<std::size_t>(ink.width) * F;
    std::vector<std::uint16_t> edge(paddedWidth, 0);
    std::vector<std::uint16_t> middle(F == 3 ? paddedWidth : 0, 0);
    const std::vector<std::uint8_t> blank(static_cast<std::size_t>(width), 0);
    const std::int32_t firstSourceRow = ink.top * F - top;  // ink row of the first block row
    for (std::int32_t j = 0; j < ink.height; ++j) {
        const std::uint8_t* rows[F];
        for (int dy = 0; dy < F; ++dy) {
            const std::int32_t iy = firstSourceRow + j * F + dy;
            rows[dy] = iy < 0 || iy >= height ? blank.data()
                                              : coverage + static_cast<std::size_t>(iy) * width;
        }
        if constexpr (F == 2) {
            sumColumns2(rows, width, edge.data(), middle.data());
        } else if constexpr (F == 3) {
            sumColumns3(rows, width, edge.data(), middle.data());
        } else {
            sumColumns4(rows, width, edge.data(), middle.data());
        }
        std::uint32_t* target = ink.pixels.data() + static_cast<std::size_t>(j) * ink.width;
        for (std::int32_t k = 0; k < ink.width; ++k) {
            const std::size_t base = static_cast<std::size_t>(k) * F;
            std::uint32_t sum = 0;
            for (int dx = 0; dx < F; ++dx) {
                const std::uint16_t column =
                    (F == 3 && dx == 1) ? middle[base + 1] : edge[base + dx];
                sum += W::kAcross[dx] * column;
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
