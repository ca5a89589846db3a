#include "engine/pack/pack_tight.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace vemro {
namespace {

bool onItsPage(const PackItem& item, const PackPosition& at, AtlasSize page) {
    return at.x >= 0 && at.y >= 0 && at.x + item.width <= page.width &&
           at.y + item.height <= page.height;
}

TEST(PackTight, CellsNeverOverlapKeepTheirSpacingAndStayWhollyOnTheirPage) {
    std::mt19937 random(1414);
    std::uniform_int_distribution<int> side(-3, 40);
    for (const AtlasSize page : {AtlasSize{64, 64}, AtlasSize{100, 37}}) {
        for (const int spacing : {0, 1, 3, 16}) {
            for (const bool pages : {false, true}) {
                std::vector<PackItem> items(120);
                for (PackItem& item : items) {
                    item = {side(random), side(random)};
                }
                const PackOptions options{page, spacing, pages, 3};
                const std::vector<PackPosition> placed = packTight(items, options);
                ASSERT_EQ(placed.size(), items.size());
                int onPages = 0;
                for (std::size_t i = 0; i < items.size(); ++i) {
                    const PackItem a = items[i];
                    SCOPED_TRACE(::testing::Message() << "cell " << i << " spacing " << spacing);
                    if (a.width <= 0 || a.height <= 0) {
                        EXPECT_EQ(placed[i], (PackPosition{0, 0, 0}));
                        continue;
                    }
                    ASSERT_LT(placed[i].page, pages ? 3 : 1);
                    if (placed[i].y >= page.height) {
                        continue;  // left over, below the last page
                    }
                    ASSERT_TRUE(onItsPage(a, placed[i], page));
                    ++onPages;
                    for (std::size_t j = 0; j < i; ++j) {
                        const PackItem b = items[j];
                        const PackPosition p = placed[i];
                        const PackPosition q = placed[j];
                        if (b.width <= 0 || b.height <= 0 || q.page != p.page ||
                            q.y >= page.height) {
                            continue;
                        }
                        const bool apart =
                            p.x >= q.x + b.width + spacing || q.x >= p.x + a.width + spacing ||
                            p.y >= q.y + b.height + spacing || q.y >= p.y + a.height + spacing;
                        ASSERT_TRUE(apart) << "overlaps cell " << j;
                    }
                }
                EXPECT_GT(onPages, 2);
            }
        }
    }
}

TEST(PackTight, LeftoversGoToTheNextPageAndOnlyWhatCanNeverFitStaysBelow) {
    std::vector<PackItem> items(7, {30, 30});
    items.push_back({65, 10});
    items.push_back({10, 65});
    const std::vector<PackPosition> placed = packTight(items, {{64, 64}, 4, true, 8});
    // Four cells of 30 with a spacing of 4 fill a page of 64 exactly.
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(placed[i].page, i < 4 ? 0 : 1) << i;
        EXPECT_TRUE(onItsPage(items[i], placed[i], {64, 64})) << i;
    }
    EXPECT_GE(placed[7].y, 64);
    EXPECT_GE(placed[8].y, 64);
    EXPECT_EQ(placed[8].page, 1);
}

TEST(PackTight, EqualCellsKeepTheirListOrder) {
    const std::vector<PackPosition> placed =
        packTight(std::vector<PackItem>(9, {10, 10}), {{30, 30}, 0, false, 1});
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(placed[static_cast<std::size_t>(i)], (PackPosition{0, i % 3 * 10, i / 3 * 10}));
    }
}

}  // namespace
}  // namespace vemro
