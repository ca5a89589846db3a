#pragma once

#include <cstdint>

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
