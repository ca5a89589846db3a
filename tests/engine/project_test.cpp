#include "engine/project/project.h"

#include <gtest/gtest.h>

namespace vemro {
namespace {

TEST(PixelHeight, RoundsHalvesAwayFromZeroAt96Dpi) {
    EXPECT_EQ(pixelHeightFor(11, 1), 15);  // 14.67
    EXPECT_EQ(pixelHeightFor(11, 4), 59);  // 58.67
    EXPECT_EQ(pixelHeightFor(100, 4), 533);
    EXPECT_EQ(pixelHeightFor(13, 1), 17);  // 17.33 rounds down
    EXPECT_EQ(pixelHeightFor(9, 2), 24);   // exact
    EXPECT_EQ(pixelHeightFor(15, 3), 60);  // 45 points: exact
}

TEST(FontRequestFor, PassesFaceAndStyleAtThePixelHeightOfSizeAndFactor) {
    Project project = startupProject("Fake Sans");
    project.font.size = 11;
    project.font.factor = 4;
    project.font.weight = FontSettings::kWeightMedium;
    project.font.quality = FontSettings::kQualityNonAntialiased;
    project.font.italic = true;
    const FontRequest request = fontRequestFor(project);
    EXPECT_EQ(request.faceName, "Fake Sans");
    EXPECT_EQ(request.pixelHeight, 59);
    EXPECT_EQ(request.weight, 600);
    EXPECT_FALSE(request.antialiased);
    EXPECT_TRUE(request.italic);
    // Any quality but the non-antialiased one draws grey levels.
    for (std::int32_t quality : {FontSettings::kQualityAntialiased, 0, 5}) {
        project.font.quality = quality;
        EXPECT_TRUE(fontRequestFor(project).antialiased) << quality;
    }
}

}  // namespace
}  // namespace vemro
