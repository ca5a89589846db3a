#include "engine/pixel_surface.h"

#include <gtest/gtest.h>

#include "engine/fill_background.h"

namespace vemro {
namespace {

PixelSurface atlasSurface() {
    PixelSurface surface;
    EXPECT_TRUE(surface.create(512, 512));
    return surface;
}

TEST(PixelSurface, NewSurfaceIsEmpty) {
    PixelSurface surface;
    EXPECT_EQ(surface.width(), 0);
    EXPECT_EQ(surface.height(), 0);
    surface.setPixel(0, 0, 0xFFFFFF);
    EXPECT_EQ(surface.getPixel(0, 0), 0u);
}

TEST(PixelSurface, CreateGivesABlackBufferOfTheRequestedSize) {
    PixelSurface surface;
    ASSERT_TRUE(surface.create(7, 3));
    EXPECT_EQ(surface.width(), 7);
    EXPECT_EQ(surface.height(), 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(surface.getPixel(x, y), 0u);
        }
    }
}

TEST(PixelSurface, CreateRejectsNonPositiveSizes) {
    PixelSurface surface;
    ASSERT_TRUE(surface.create(4, 4));
    EXPECT_FALSE(surface.create(0, 4));
    EXPECT_EQ(surface.width(), 0);
    EXPECT_FALSE(surface.create(4, -1));
    EXPECT_EQ(surface.height(), 0);
}

TEST(PixelSurface, AccessOutsideTheSurfaceIsIgnored) {
    PixelSurface surface = atlasSurface();
    const PixelSurface before = surface;
    for (auto [x, y] : {std::pair{512, 0}, {0, 512}, {-1, 5}, {5, -1}, {512, 512}}) {
        surface.setPixel(x, y, 0x00FFFFFF);
        EXPECT_EQ(surface.getPixel(x, y), 0u) << x << "," << y;
    }
    EXPECT_EQ(surface, before);
}

TEST(PixelSurface, RedAndBlueAreExchangedInMemory) {
    PixelSurface surface = atlasSurface();
    surface.setPixel(10, 20, 0x000000FF);  // pure red in the program's colour layout
    EXPECT_EQ(surface.row(20)[10], 0x00FF0000u);
    EXPECT_EQ(surface.getPixel(10, 20), 0x000000FFu);

    surface.setPixel(11, 20, 0x00808080);
    EXPECT_EQ(surface.row(20)[11], 0x00808080u);
    EXPECT_EQ(surface.getPixel(11, 20), 0x00808080u);

    surface.setPixel(12, 20, 0x00123456);
    EXPECT_EQ(surface.row(20)[12], 0x00563412u);
    EXPECT_EQ(surface.getPixel(12, 20), 0x00123456u);
}

TEST(PixelSurface, TopByteIsStoredAndReturnedUnchanged) {
    PixelSurface surface = atlasSurface();
    surface.setPixel(0, 0, 0xAA000000);
    EXPECT_EQ(surface.row(0)[0], 0xAA000000u);
    EXPECT_EQ(surface.getPixel(0, 0), 0xAA000000u);
    surface.setPixel(511, 511, 0xAB0000CD);
    EXPECT_EQ(surface.getPixel(511, 511), 0xAB0000CDu);
}

TEST(PixelSurface, RowsAreTopDownWithoutPadding) {
    PixelSurface surface;
    ASSERT_TRUE(surface.create(3, 2));
    surface.setPixel(2, 0, 0x00000001);
    surface.setPixel(0, 1, 0x00000002);
    EXPECT_EQ(surface.data()[2], 0x00010000u);
    EXPECT_EQ(surface.data()[3], 0x00020000u);
}

TEST(PixelSurface, ReleaseMakesEveryAccessOutOfRange) {
    PixelSurface surface = atlasSurface();
    surface.setPixel(1, 1, 0x00FFFFFF);
    EXPECT_TRUE(surface.release());
    EXPECT_EQ(surface.width(), 0);
    EXPECT_EQ(surface.height(), 0);
    EXPECT_EQ(surface.getPixel(1, 1), 0u);
    surface.setPixel(1, 1, 0x00FFFFFF);
    EXPECT_EQ(surface.getPixel(1, 1), 0u);
    EXPECT_TRUE(surface.release());
}

TEST(PixelSurface, CreateReplacesTheEarlierBuffer) {
    PixelSurface surface = atlasSurface();
    surface.setPixel(1, 1, 0x00FFFFFF);
    ASSERT_TRUE(surface.create(2, 2));
    EXPECT_EQ(surface.getPixel(1, 1), 0u);
    EXPECT_EQ(surface.getPixel(3, 3), 0u);
}

TEST(FillBackground, FullTextureIsEntirelyBlack) {
    PixelSurface surface = atlasSurface();
    surface.setPixel(300, 300, 0x00FFFFFF);
    fillBackground(surface, {512, 512});
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            ASSERT_EQ(surface.getPixel(x, y), 0u) << x << "," << y;
        }
    }
}

TEST(FillBackground, SmallTextureIsBlackWithHatchAround) {
    PixelSurface surface = atlasSurface();
    fillBackground(surface, {64, 64});
    EXPECT_EQ(surface.getPixel(63, 63), 0u);
    EXPECT_EQ(surface.getPixel(0, 0), 0u);
    EXPECT_EQ(surface.getPixel(64, 0), kHatchGrey);
    EXPECT_EQ(surface.getPixel(70, 0), 0u);   // 70 mod 10 == 0 mod 10
    EXPECT_EQ(surface.getPixel(502, 0), 0u);  // (512 - 502) mod 10 == 0
    EXPECT_EQ(surface.getPixel(10, 100), 0u);
    EXPECT_EQ(surface.getPixel(11, 100), kHatchGrey);
    EXPECT_EQ(surface.getPixel(0, 64), kHatchGrey);
}

TEST(FillBackground, WideTextureLeavesTheAreaBelowHatched) {
    PixelSurface surface = atlasSurface();
    fillBackground(surface, {256, 64});
    EXPECT_EQ(surface.getPixel(100, 100), 0u);          // both remainders 0
    EXPECT_EQ(surface.getPixel(101, 100), kHatchGrey);  // 1, 411 and 100 mod 10 differ
    EXPECT_EQ(surface.getPixel(255, 63), 0u);
    EXPECT_EQ(surface.getPixel(256, 63), kHatchGrey);  // 6 and 6 differ from 3
}

TEST(FillBackground, HatchFollowsBothDiagonalsEverywhereOutsideTheTexture) {
    PixelSurface surface = atlasSurface();
    fillBackground(surface, {64, 128});
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            const bool inside = x < 64 && y < 128;
            const bool line = x % 10 == y % 10 || (512 - x) % 10 == y % 10;
            const std::uint32_t expected = inside || line ? 0u : kHatchGrey;
            ASSERT_EQ(surface.getPixel(x, y), expected) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace vemro
