#pragma once

#include <cstdint>
#include <vector>

namespace vemro {

// A glyph's ink reduced to atlas pixels once, so that later rebuilds with the same font only copy
// it. The ink's left edge lies on a block boundary (borders are whole atlas pixels), so column 0
// is the atlas column of the ink's first F source columns; row 0 is the atlas row `top` rows
// below the row where the ink's vertical offset counts from. Pixels are 8-bit coverage, or a
// distance field of one, three or four channels (GlyphFieldMaker). An image that reaches past the
// glyph's ink on the left (an outline, a field) starts `-left` columns before the ink's first
// column.
struct ReducedInk {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;  // width x height x channels, row-major
    // 1, or 4 for a colour glyph: red, green, blue and straight alpha.
    std::int32_t channels = 1;
};

// Reduces width x height coverage bytes whose first row lies `top` source rows below a block
// boundary (top may be negative). Each atlas pixel is the F x F block of the coverage under it,
// weighted with the factor's kernel and divided by the kernel's divisor with truncation; the
// coverage counts as zero outside the ink. Factor 1 keeps the coverage as it is; any factor
// outside 1..4 gives no pixels.
ReducedInk reduceInk(const std::uint8_t* coverage, std::int32_t width, std::int32_t height,
                     std::int32_t top, std::int32_t factor);

// The filter kernels, indexed [factor][dy][dx], and their divisors (the sums of the weights).
inline constexpr std::int32_t kReductionKernels[5][4][4] = {
    {},
    {{1}},
    {{1, 1}, {1, 1}},
    {{1, 3, 1}, {3, 5, 3}, {1, 3, 1}},
    {{1, 2, 2, 1}, {2, 4, 4, 2}, {2, 4, 4, 2}, {1, 2, 2, 1}},
};
inline constexpr std::int32_t kReductionDivisors[5] = {0, 1, 4, 21, 36};

}  // namespace vemro
