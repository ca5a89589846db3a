#include "engine/raster/cell_reducer.h"

#include <algorithm>

namespace vemro {

namespace {

// Floor division for a positive divisor.
std::int32_t floorDiv(std::int32_t value, std::int32_t divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

// The kernels of factors 2 and 4 are outer products of a weight vector with itself,
// kernel[dy][dx] = v[dy] x v[dx]; the kernel of factor 3 has two different columns, edge
// (dx 0 and 2) and middle. So one row of atlas pixels is reduced in two passes over plain
// arrays: the F source rows are summed down each column with the column weights, then each
// block of F column sums is summed across. Integer sums in any order are the same sums, so the
// result is the kernel's weighted block sum to the bit.
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

// The column sums are the bulk of the work; on x86-64 they are built for AVX2 as well, chosen
// when the program loads where the processor has it.
#if defined(__x86_64__)
#define VEMRO_COLUMN_SUMS_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define VEMRO_COLUMN_SUMS_CLONES
#endif

VEMRO_COLUMN_SUMS_CLONES void sumColumns2(const std::uint8_t* const* rows, std::int32_t width,
                                          std::uint16_t* edge, std::uint16_t* middle) {
    sumColumns<2>(rows, width, edge, middle);
}

VEMRO_COLUMN_SUMS_CLONES void sumColumns3(const std::uint8_t* const* rows, std::int32_t width,
                                          std::uint16_t* edge, std::uint16_t* middle) {
    sumColumns<3>(rows, width, edge, middle);
}

VEMRO_COLUMN_SUMS_CLONES void sumColumns4(const std::uint8_t* const* rows, std::int32_t width,
                                          std::uint16_t* edge, std::uint16_t* middle) {
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
        std::uint8_t* target = ink.pixels.data() + static_cast<std::size_t>(j) * ink.width;
        for (std::int32_t k = 0; k < ink.width; ++k) {
            const std::size_t base = static_cast<std::size_t>(k) * F;
            std::uint32_t sum = 0;
            for (int dx = 0; dx < F; ++dx) {
                const std::uint16_t column =
                    (F == 3 && dx == 1) ? middle[base + 1] : edge[base + dx];
                sum += W::kAcross[dx] * column;
            }
            target[k] = static_cast<std::uint8_t>(sum / divisor);
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
            std::copy(coverage, coverage + ink.pixels.size(), ink.pixels.begin());
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

}  // namespace vemro
