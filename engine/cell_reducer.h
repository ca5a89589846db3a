#pragma once

#include <cstdint>
#include <vector>

#include "engine/atlas_size.h"
#include "engine/pixel_surface.h"

namespace vemro {

// Where a glyph's cell goes in the atlas and how it was drawn.
struct CellPlacement {
    std::int32_t x = 0;      // cell's left edge in the atlas
    std::int32_t y = 0;      // cell's top edge in the atlas
    std::int32_t width = 0;  // cell size in atlas pixels
    std::int32_t height = 0;
    std::int32_t factor = 1;  // supersampling factor, 1..4
};

// The atlas pixels (k, j) of a cell that lie inside the texture: columns [firstColumn,
// endColumn) and rows [firstRow, endRow), in cell coordinates. Empty when the cell is wholly
// outside.
struct VisibleCell {
    std::int32_t firstColumn = 0;
    std::int32_t endColumn = 0;
    std::int32_t firstRow = 0;
    std::int32_t endRow = 0;

    bool empty() const { return endColumn <= firstColumn || endRow <= firstRow; }
};

VisibleCell visiblePart(const CellPlacement& cell, AtlasSize texture);

// Reduces a supersampled drawing of a cell into the atlas. The drawing's pixel (sx, sy), in
// supersampled cell coordinates, is render's pixel (sx - originX, sy - originY); render must
// cover every source pixel of the visible part. Factor 1 copies whole pixels; 2, 3 and 4 weight
// the red level of each F x F block with a fixed kernel, divide with truncation and write grey.
// Pixels outside the texture are neither read nor written; any other factor writes nothing.
void reduceCell(const PixelSurface& render, std::int32_t originX, std::int32_t originY,
                const CellPlacement& cell, AtlasSize texture, PixelSurface& atlas);

// A glyph's ink reduced to atlas pixels once, so that later rebuilds with the same font only copy
// it. The ink's left edge lies on a block boundary (borders are whole atlas pixels), so column 0
// is the atlas column of the ink's first F source columns; row 0 is the atlas row `top` rows
// below the row where the ink's vertical offset counts from. Pixels are raw grey words.
struct ReducedInk {
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;  // width x height, row-major
};

// Reduces width x height coverage bytes whose first row lies `top` source rows below a block
// boundary (top may be negative), with the same filters and rounding as reduceCell: each atlas
// pixel is the filtered F x F block of the coverage, zero outside the ink. Factor 1 keeps the
// coverage as it is; any factor outside 1..4 gives no pixels.
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
