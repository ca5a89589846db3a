#include "engine/pack/pack_rows.h"

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

TEST(PackRows, SpacingReplacesTheOnePixelGap) {
    const std::vector<PackItem> items(4, {20, 16});
    for (const auto& [spacing, expected] :
         {std::pair{0, Positions{{0, 0}, {20, 0}, {40, 0}, {0, 16}}},
          std::pair{5, Positions{{0, 0}, {25, 0}, {0, 21}, {25, 21}}}}) {
        PackOptions options;
        options.page = {64, 64};
        options.spacing = spacing;
        Positions positions;
        for (const PackPosition& at : packRows(items, options)) {
            positions.emplace_back(at.x, at.y);
        }
        EXPECT_EQ(positions, expected) << spacing;
    }
}

TEST(PackRows, WithPagesARowThatWouldPassTheBottomStartsTheNextPage) {
    // Two cells fill a row to the right edge and three rows reach the bottom exactly.
    std::vector<PackItem> items(14, {30, 20});
    items.insert(items.begin() + 3, PackItem{63, 10});  // wider than a page: never fits
    const PackOptions options{{62, 64}, 2, true, 2};
    const std::vector<PackPosition> placed = packRows(items, options);
    const std::vector<PackPosition> onPages = {{0, 0, 0},  {0, 32, 0},  {0, 0, 22}, {0, 32, 22},
                                               {0, 0, 44}, {0, 32, 44}, {1, 0, 0},  {1, 32, 0},
                                               {1, 0, 22}, {1, 32, 22}, {1, 0, 44}, {1, 32, 44}};
    std::vector<PackPosition> actual;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (i != 3 && i < 13) {
            actual.push_back(placed[i]);
        }
    }
    EXPECT_EQ(actual, onPages);
    // The wide cell and the two past the last page allowed lie below that page, in list order.
    for (const std::size_t i : {std::size_t{3}, std::size_t{13}, std::size_t{14}}) {
        EXPECT_EQ(placed[i].page, 1) << i;
        EXPECT_GE(placed[i].y, 64 + 2) << i;
    }
    EXPECT_LT(placed[3].y, placed[13].y);
}

}  // namespace
}  // namespace vemro
