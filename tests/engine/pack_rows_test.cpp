#include "engine/pack_rows.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace vemro {
namespace {

using Positions = std::vector<std::pair<int, int>>;

// Packs cells of the given sizes into a texture of the given width and returns their corners,
// checking on the way that every cell lands on page 0.
Positions pack(int textureWidth, const std::vector<PackItem>& items, int textureHeight = 256) {
    PackOptions options;
    options.page = {textureWidth, textureHeight};
    const std::vector<PackPosition> placed = packRows(items, options);
    EXPECT_EQ(placed.size(), items.size());
    Positions positions;
    for (const PackPosition& position : placed) {
        EXPECT_EQ(position.page, 0);
        positions.emplace_back(position.x, position.y);
    }
    return positions;
}

TEST(PackRows, RowsFillLeftToRightWithOnePixelGaps) {
    EXPECT_EQ(pack(64, {{20, 16}, {20, 16}, {20, 16}, {20, 16}}),
              (Positions{{0, 0}, {21, 0}, {42, 0}, {0, 17}}));
    EXPECT_TRUE(pack(64, {}).empty());
}

TEST(PackRows, CellEndingExactlyAtTheEdgeStaysOnTheRow) {
    EXPECT_EQ(pack(64, {{20, 16}, {20, 16}, {22, 16}, {1, 16}}),
              (Positions{{0, 0}, {21, 0}, {42, 0}, {0, 17}}));
}

TEST(PackRows, RowAdvanceIsTheTallestCellSoFar) {
    EXPECT_EQ(pack(64, {{30, 10}, {30, 30}, {30, 10}}), (Positions{{0, 0}, {31, 0}, {0, 31}}));
    // The running maximum is never reset: the middle row holds only a short cell.
    EXPECT_EQ(pack(64, {{60, 30}, {60, 10}, {60, 10}}), (Positions{{0, 0}, {0, 31}, {0, 62}}));
}

TEST(PackRows, OverWideFirstCellStillMovesDownARow) {
    EXPECT_EQ(pack(64, {{70, 12}, {5, 12}}), (Positions{{0, 13}, {0, 26}}));
}

TEST(PackRows, CellsPastTheBottomArePlacedAllTheSame) {
    const std::vector<PackItem> items(40, {60, 20});
    const Positions positions = pack(64, items, 64);
    EXPECT_EQ(positions[3], (std::pair{0, 63}));
    EXPECT_EQ(positions.back(), (std::pair{0, 39 * 21}));
}

TEST(PackRows, NegativeWidthMovesThePenBack) {
    // x goes 0 -> 11 -> 11 + (-5) + 1 = 7, so the third cell overlaps the second.
    EXPECT_EQ(pack(64, {{10, 8}, {-5, 8}, {4, 8}}), (Positions{{0, 0}, {11, 0}, {7, 0}}));
    // A pen moved left of the texture lets a cell wider than the texture stay on the row.
    EXPECT_EQ(pack(64, {{-9, 8}, {-9, 8}, {70, 8}, {20, 8}}),
              (Positions{{0, 0}, {-8, 0}, {-16, 0}, {0, 9}}));
}

}  // namespace
}  // namespace vemro
