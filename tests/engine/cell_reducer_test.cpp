#include "engine/cell_reducer.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/fill_background.h"

namespace vemro {
namespace {

// The reduction as defined, one bounds-checked sample at a time, reading a render surface that
// holds the whole supersampled cell from (0, 0).
void referenceReduce(const PixelSurface& render, const CellPlacement& cell, AtlasSize texture,
                     PixelSurface& atlas) {
    const int f = cell.factor;
    for (int j = 0; j < cell.height; ++j) {
        for (int k = 0; k < cell.width; ++k) {
            if (f == 1) {
                const std::uint32_t value = render.getPixel(k, j);
                if (cell.y + j < texture.height && cell.x + k < texture.width) {
                    atlas.setPixel(cell.x + k, cell.y + j, value);
                }
                continue;
            }
            if (!(cell.y + j < texture.height && cell.x + k < texture.width)) {
                continue;
            }
            int sum = 0;
            for (int dy = 0; dy < f; ++dy) {
                for (int dx = 0; dx < f; ++dx) {
                    const int level =
                        static_cast<int>(render.getPixel(f * k + dx, f * j + dy) & 0xFF);
                    sum += level * kReductionKernels[f][dy][dx];
                }
            }
            const auto v = static_cast<std::uint32_t>(sum / kReductionDivisors[f]);
            atlas.setPixel(cell.x + k, cell.y + j, v + 256 * v + 65536 * v);
        }
    }
}

PixelSurface blockRender(int factor, std::initializer_list<std::uint32_t> levels) {
    PixelSurface render;
    render.create(factor, factor);
    int index = 0;
    for (std::uint32_t level : levels) {
        render.setPixel(index % factor, index / factor, level * 0x010101u);
        ++index;
    }
    return render;
}

std::uint32_t reduceOnePixel(const PixelSurface& render, int factor) {
    PixelSurface atlas;
    atlas.create(512, 512);
    reduceCell(render, 0, 0, {0, 0, 1, 1, factor}, {256, 256}, atlas);
    return atlas.getPixel(0, 0);
}

TEST(ReductionKernels, DivisorsAreTheSumsOfTheWeights) {
    for (int f = 1; f <= 4; ++f) {
        int sum = 0;
        for (int dy = 0; dy < f; ++dy) {
            for (int dx = 0; dx < f; ++dx) {
                sum += kReductionKernels[f][dy][dx];
            }
        }
        EXPECT_EQ(sum, kReductionDivisors[f]) << f;
    }
}

TEST(ReductionKernels, WorkedExamples) {
    EXPECT_EQ(reduceOnePixel(blockRender(2, {255, 255, 0, 0}), 2), 0x007F7F7Fu);
    EXPECT_EQ(reduceOnePixel(blockRender(3, {0, 0, 0, 0, 255, 0, 0, 0, 0}), 3), 60u * 0x010101u);
    EXPECT_EQ(reduceOnePixel(blockRender(3, {255, 0, 0, 0, 0, 0, 0, 0, 0}), 3), 12u * 0x010101u);
    EXPECT_EQ(reduceOnePixel(blockRender(4, std::initializer_list<std::uint32_t>(
                                                {255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                                 255, 255, 255, 255, 255, 255})),
                             4),
              0x00FFFFFFu);
    EXPECT_EQ(reduceOnePixel(blockRender(4, {0, 0, 0, 0, 0, 255}), 4), 28u * 0x010101u);
    EXPECT_EQ(reduceOnePixel(blockRender(4, {255}), 4), 7u * 0x010101u);
}

TEST(ReductionKernels, FactorOneCopiesAllFourBytes) {
    PixelSurface render;
    render.create(1, 1);
    render.setPixel(0, 0, 0x00C0C0C0);
    EXPECT_EQ(reduceOnePixel(render, 1), 0x00C0C0C0u);
    render.setPixel(0, 0, 0xAB123456);
    EXPECT_EQ(reduceOnePixel(render, 1), 0xAB123456u);
}

TEST(ReductionKernels, HigherFactorsSampleOnlyTheRedLevel) {
    PixelSurface render;
    render.create(2, 2);
    for (int i = 0; i < 4; ++i) {
        render.setPixel(i % 2, i / 2, 0xFFFFFF00);  // everything but red
    }
    EXPECT_EQ(reduceOnePixel(render, 2), 0u);
}

TEST(ReductionKernels, UnknownFactorWritesNothing) {
    PixelSurface render = blockRender(2, {255, 255, 255, 255});
    PixelSurface atlas;
    atlas.create(512, 512);
    atlas.setPixel(0, 0, 0x00123456);
    reduceCell(render, 0, 0, {0, 0, 1, 1, 5}, {256, 256}, atlas);
    EXPECT_EQ(atlas.getPixel(0, 0), 0x00123456u);
}

struct Scenario {
    CellPlacement cell;
    AtlasSize texture;
};

TEST(ReductionKernels, MatchesTheSampleBySampleDefinitionOnRandomCells) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<std::uint32_t> word;
    const Scenario scenarios[] = {
        {{0, 0, 9, 15, 1}, {256, 256}},       // inside
        {{250, 10, 13, 15, 1}, {256, 256}},   // cut at the right edge
        {{10, 250, 13, 15, 1}, {256, 256}},   // cut at the bottom edge
        {{0, 64, 20, 16, 1}, {64, 64}},       // wholly below the texture
        {{0, 0, 70, 16, 1}, {64, 64}},        // wider than the texture
        {{-5, 3, 12, 10, 1}, {64, 64}},       // starting left of the texture
        {{500, 500, 30, 30, 1}, {512, 512}},  // cut at both edges of the surface
    };
    for (int factor = 1; factor <= 4; ++factor) {
        for (Scenario scenario : scenarios) {
            scenario.cell.factor = factor;
            PixelSurface render;
            ASSERT_TRUE(render.create(scenario.cell.width * factor, scenario.cell.height * factor));
            for (int y = 0; y < render.height(); ++y) {
                for (int x = 0; x < render.width(); ++x) {
                    render.setPixel(x, y, word(random));
                }
            }
            PixelSurface expected;
            expected.create(512, 512);
            fillBackground(expected, scenario.texture);
            PixelSurface actual = expected;
            referenceReduce(render, scenario.cell, scenario.texture, expected);
            reduceCell(render, 0, 0, scenario.cell, scenario.texture, actual);
            EXPECT_EQ(actual, expected)
                << "factor " << factor << " cell " << scenario.cell.x << "," << scenario.cell.y;
        }
    }
}

TEST(ReductionKernels, ReadsAnOffsetBufferAsIfItHeldTheWholeCell) {
    std::mt19937 random(99);
    std::uniform_int_distribution<std::uint32_t> word;
    const CellPlacement cell{-4, 0, 12, 8, 3};
    const AtlasSize texture{64, 64};
    PixelSurface whole;
    whole.create(cell.width * 3, cell.height * 3);
    for (int y = 0; y < whole.height(); ++y) {
        for (int x = 0; x < whole.width(); ++x) {
            whole.setPixel(x, y, word(random));
        }
    }
    // Only columns 4.. of the cell are visible; hand over a buffer that starts there.
    const int originX = 4 * 3;
    PixelSurface part;
    part.create(whole.width() - originX, whole.height());
    for (int y = 0; y < part.height(); ++y) {
        for (int x = 0; x < part.width(); ++x) {
            part.setPixel(x, y, whole.getPixel(x + originX, y));
        }
    }
    PixelSurface expected;
    expected.create(512, 512);
    PixelSurface actual = expected;
    referenceReduce(whole, cell, texture, expected);
    reduceCell(part, originX, 0, cell, texture, actual);
    EXPECT_EQ(actual, expected);
}

}  // namespace
}  // namespace vemro
