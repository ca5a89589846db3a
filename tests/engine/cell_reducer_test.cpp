#include "engine/raster/cell_reducer.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace vemro {
namespace {

// One atlas pixel reduced from an F x F block of coverage.
int reduceBlock(int factor, std::vector<std::uint8_t> levels) {
    levels.resize(static_cast<std::size_t>(factor * factor), 0);
    const ReducedInk ink = reduceInk(levels.data(), factor, factor, 0, factor);
    EXPECT_EQ(ink.width, 1);
    EXPECT_EQ(ink.height, 1);
    return ink.pixels.empty() ? -1 : ink.pixels[0];
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
    EXPECT_EQ(reduceBlock(2, {255, 255, 0, 0}), 127);  // 510 / 4
    EXPECT_EQ(reduceBlock(3, {0, 0, 0, 0, 255}), 60);  // 5 x 255 / 21
    EXPECT_EQ(reduceBlock(3, {255}), 12);              // 255 / 21
    EXPECT_EQ(reduceBlock(4, std::vector<std::uint8_t>(16, 255)), 255);
    EXPECT_EQ(reduceBlock(4, {0, 0, 0, 0, 0, 255}), 28);  // 4 x 255 / 36
    EXPECT_EQ(reduceBlock(4, {255}), 7);                  // 255 / 36
    EXPECT_EQ(reduceBlock(1, {200}), 200);
}

TEST(ReduceInk, NoInkOrAnUnknownFactorGivesNoPixels) {
    const std::vector<std::uint8_t> coverage(16, 255);
    for (int factor : {0, 5, -1}) {
        const ReducedInk ink = reduceInk(coverage.data(), 4, 4, 0, factor);
        EXPECT_TRUE(ink.pixels.empty() && ink.width == 0 && ink.height == 0) << factor;
    }
    EXPECT_TRUE(reduceInk(coverage.data(), 0, 4, 0, 2).pixels.empty());
    EXPECT_TRUE(reduceInk(coverage.data(), 4, 0, 0, 2).pixels.empty());
}

// The coverage sample at ink column x, ink row y; zero outside the ink.
int sampleAt(const std::vector<std::uint8_t>& coverage, int width, int height, int x, int y) {
    if (x < 0 || x >= width || y < 0 || y >= height) {
        return 0;
    }
    return coverage[static_cast<std::size_t>(y * width + x)];
}

TEST(ReduceInk, MatchesTheSampleBySampleDefinitionOnRandomInk) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> level(0, 255);
    std::uniform_int_distribution<int> width(1, 75);  // past one vector of column sums
    std::uniform_int_distribution<int> height(1, 30);
    std::uniform_int_distribution<int> top(-9, 9);
    for (int round = 0; round < 40; ++round) {
        const int w = width(random);
        const int h = height(random);
        const int t = top(random);
        std::vector<std::uint8_t> coverage(static_cast<std::size_t>(w * h));
        for (std::uint8_t& value : coverage) {
            value = static_cast<std::uint8_t>(level(random));
        }
        for (int f = 1; f <= 4; ++f) {
            const ReducedInk ink = reduceInk(coverage.data(), w, h, t, f);
            // Atlas row r holds source rows r * F .. r * F + F - 1, counted from the row the
            // ink's offset t counts from. The reduced rows cover every row of ink, and their
            // first and last rows each hold some of it.
            ASSERT_LE(ink.top * f, t);
            ASSERT_GT(ink.top * f + f, t);
            ASSERT_GE((ink.top + ink.height) * f, t + h);
            ASSERT_LT((ink.top + ink.height - 1) * f, t + h);
            ASSERT_EQ(ink.width, (w + f - 1) / f);
            ASSERT_EQ(ink.pixels.size(), static_cast<std::size_t>(ink.width * ink.height));
            for (int j = 0; j < ink.height; ++j) {
                for (int k = 0; k < ink.width; ++k) {
                    int sum = 0;
                    for (int dy = 0; dy < f; ++dy) {
                        for (int dx = 0; dx < f; ++dx) {
                            const int y = (ink.top + j) * f + dy - t;
                            sum += kReductionKernels[f][dy][dx] *
                                   sampleAt(coverage, w, h, k * f + dx, y);
                        }
                    }
                    ASSERT_EQ(ink.pixels[static_cast<std::size_t>(j * ink.width + k)],
                              sum / kReductionDivisors[f])
                        << "factor " << f << " size " << w << "x" << h << " top " << t << " at "
                        << k << "," << j;
                }
            }
        }
    }
}

}  // namespace
}  // namespace vemro
