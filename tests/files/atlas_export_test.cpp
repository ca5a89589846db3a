#include "files/atlas_export.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/fill_background.h"
#include "tests/files/fake_font_renderer.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

constexpr std::size_t kHeader = 18;

PixelSurface atlasSideSurface() {
    PixelSurface surface;
    surface.create(PixelSurface::kAtlasSide, PixelSurface::kAtlasSide);
    return surface;
}

// The image as defined pixel by pixel: rows from the bottom, each pixel FF FF FF and the low
// byte of getPixel.
std::vector<std::uint8_t> referencePixels(const PixelSurface& surface, AtlasSize size) {
    std::vector<std::uint8_t> pixels;
    for (std::int32_t y = size.height - 1; y >= 0; --y) {
        for (std::int32_t x = 0; x < size.width; ++x) {
            const std::uint32_t colour = surface.getPixel(x, y);
            pixels.insert(pixels.end(), {0xFF, 0xFF, 0xFF, static_cast<std::uint8_t>(colour)});
        }
    }
    return pixels;
}

std::vector<std::uint8_t> pixelsOf(const std::vector<std::uint8_t>& image) {
    return std::vector<std::uint8_t>(image.begin() + kHeader, image.end());
}

TEST(AtlasImage, HeaderAndSizeForEachTextureShape) {
    const PixelSurface surface = atlasSideSurface();
    const struct {
        AtlasSize size;
        std::size_t bytes;
    } cases[] = {{{64, 64}, 16402},
                 {{256, 256}, 262162},
                 {{512, 64}, 131090},
                 {{128, 512}, 262162},
                 {{512, 512}, 1048594}};
    for (const auto& c : cases) {
        const std::vector<std::uint8_t> image = encodeAtlasImage(surface, c.size);
        ASSERT_EQ(image.size(), c.bytes) << c.size.width << " x " << c.size.height;
        const std::vector<std::uint8_t> header(image.begin(), image.begin() + kHeader);
        const auto lo = [](std::int32_t v) { return static_cast<std::uint8_t>(v & 0xFF); };
        const auto hi = [](std::int32_t v) { return static_cast<std::uint8_t>(v >> 8); };
        // clang-format off
        const std::vector<std::uint8_t> expected = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                    lo(c.size.width), hi(c.size.width),
                                                    lo(c.size.height), hi(c.size.height), 32, 8};
        // clang-format on
        EXPECT_EQ(header, expected);
    }
}

TEST(AtlasImage, FirstPixelIsBottomLeftAndLastIsTopRight) {
    PixelSurface surface = atlasSideSurface();
    const AtlasSize size{128, 64};
    surface.setPixel(0, 63, 0x00000011);    // bottom-left, red 0x11
    surface.setPixel(127, 0, 0x00000022);   // top-right, red 0x22
    surface.setPixel(0, 0, 0x00000033);     // top-left
    surface.setPixel(127, 63, 0x00000044);  // bottom-right
    const std::vector<std::uint8_t> image = encodeAtlasImage(surface, size);
    const auto pixelAt = [&image](std::size_t index) {
        return std::vector<std::uint8_t>(image.begin() + kHeader + 4 * index,
                                         image.begin() + kHeader + 4 * index + 4);
    };
    EXPECT_EQ(pixelAt(0), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x11}));
    EXPECT_EQ(pixelAt(127), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x44}));
    EXPECT_EQ(pixelAt(63 * 128), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x33}));
    EXPECT_EQ(pixelAt(64 * 128 - 1), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x22}));
}

TEST(AtlasImage, EmptyAndFullPixels) {
    PixelSurface surface = atlasSideSurface();
    surface.setPixel(1, 0, 0x00FFFFFF);
    const std::vector<std::uint8_t> pixels = pixelsOf(encodeAtlasImage(surface, {2, 1}));
    EXPECT_EQ(pixels, (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(AtlasImage, AlphaIsTheRedLevelOnlyAndMatchesThePerPixelDefinition) {
    std::mt19937 random(12345);
    PixelSurface surface = atlasSideSurface();
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        for (std::int32_t x = 0; x < surface.width(); ++x) {
            surface.setPixel(x, y, static_cast<std::uint32_t>(random()));
        }
    }
    for (const AtlasSize size : {AtlasSize{512, 512}, AtlasSize{37, 101}, AtlasSize{1, 1}}) {
        EXPECT_EQ(pixelsOf(encodeAtlasImage(surface, size)), referencePixels(surface, size))
            << size.width << " x " << size.height;
    }

    // A surface smaller than the texture reads as empty where it has no pixels.
    PixelSurface small;
    small.create(50, 20);
    small.setPixel(49, 19, 0x000000AB);
    small.setPixel(10, 5, 0x00CD0000);  // blue only: no alpha
    const std::vector<std::uint8_t> pixels = pixelsOf(encodeAtlasImage(small, {64, 64}));
    EXPECT_EQ(pixels, referencePixels(small, {64, 64}));
    EXPECT_EQ(pixels[4 * (44 * 64 + 49) + 3], 0xAB);
}

TEST(AtlasImage, HatchAroundTheTextureNeverReachesTheImage) {
    PixelSurface surface = atlasSideSurface();
    fillBackground(surface, {64, 128});
    ASSERT_NE(surface.getPixel(64, 0) & 0xFF, 0u);  // the hatch is there, grey
    ASSERT_NE(surface.getPixel(0, 128) & 0xFF, 0u);
    const std::vector<std::uint8_t> pixels = pixelsOf(encodeAtlasImage(surface, {64, 128}));
    ASSERT_EQ(pixels.size(), 4u * 64 * 128);
    for (std::size_t i = 3; i < pixels.size(); i += 4) {
        ASSERT_EQ(pixels[i], 0) << "pixel " << i / 4;
    }
}

Glyph placed(std::uint8_t code, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    Glyph glyph;
    glyph.code = code;
    glyph.x = x;
    glyph.y = y;
    glyph.width = w;
    glyph.height = h;
    return glyph;
}

const std::string kDescriptionHead =
    "// TORVYN Ravfont. version=\"1.1\" encoding=\"UTF-8\"\r\n"
    "// \"<texture width>\" \"<texture height>\"\r\n";
const std::string kGlyphHead = "// \"<char>\" \"<x>\" \"<y>\" \"<width>\" \"<height>\"\r\n";

TEST(GlyphDescription, EmptyListGivesFiveLinesEndingWithEnd) {
    EXPECT_EQ(encodeGlyphDescription({256, 64}, GlyphList{}),
              kDescriptionHead + "256 64\r\n" + kGlyphHead + "end\r\n");
}

TEST(GlyphDescription, GlyphLinesInListOrderWithUnsignedCodes) {
    GlyphList glyphs;
    glyphs.append(placed(65, 0, 0, 9, 15));
    glyphs.append(placed(233, 10, 0, 8, 15));
    glyphs.append(placed(255, -7, 600, -3, 0));
    glyphs.append(placed(65, 20, 16, 9, 15));
    EXPECT_EQ(encodeGlyphDescription({256, 256}, glyphs), kDescriptionHead + "256 256\r\n" +
                                                              kGlyphHead +
                                                              "65 0 0 9 15\r\n"
                                                              "233 10 0 8 15\r\n"
                                                              "255 -7 600 -3 0\r\n"
                                                              "65 20 16 9 15\r\n"
                                                              "end\r\n");
}

TEST(ExportPath, ReplacesOnlyTheExtensionOfTheLastComponent) {
    const struct {
        const char* chosen;
        const char* image;
        const char* description;
    } cases[] = {
        {"big.png", "big.tga", "big.tfd"},
        {"/tmp/out/a.b.tga", "/tmp/out/a.b.tga", "/tmp/out/a.b.tfd"},
        {"dir.x/name", "dir.x/name.tga", "dir.x/name.tfd"},
        {"name", "name.tga", "name.tfd"},
        {"/a.d/b.c/font.", "/a.d/b.c/font.tga", "/a.d/b.c/font.tfd"},
        {"back\\slash.x", "back\\slash.tga", "back\\slash.tfd"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(exportPath(c.chosen, ".tga"), c.image) << c.chosen;
        EXPECT_EQ(exportPath(c.chosen, ".tfd"), c.description) << c.chosen;
    }
}

class ExportAtlasTest : public ::testing::Test {
protected:
    ExportAtlasTest() : atlas(renderer) {
        atlas.setTextureSize({64, 64});
        for (const int code : {int{'A'}, int{' '}, int{'B'}, 233}) {
            atlas.glyphs().addCharacter(static_cast<std::uint8_t>(code));
        }
        FontSettings settings;
        settings.size = 9;  // 12 pixels: cells 6 x 12
        atlas.recreateFont(settings);
        atlas.rebuildAtlas(1);
    }

    FakeFontRenderer renderer;
    Atlas atlas;
    TestFolder folder;
};

TEST_F(ExportAtlasTest, WritesBothFilesFromTheLastRebuild) {
    const std::vector<std::string> failures = exportAtlas(folder.path("font.png"), atlas);
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"font.tfd", "font.tga"}));
    EXPECT_EQ(readBytes(folder.path("font.tga")),
              encodeAtlasImage(atlas.atlasSurface(), atlas.textureSize()));
    EXPECT_EQ(readText(folder.path("font.tfd")),
              kDescriptionHead + "64 64\r\n" + kGlyphHead +
                  "65 0 0 6 12\r\n32 7 0 6 12\r\n66 14 0 6 12\r\n233 21 0 6 12\r\nend\r\n");
    // Code 65 is a solid 6 x 12 block at the top-left; the space next to it has no ink.
    const std::vector<std::uint8_t> image = readBytes(folder.path("font.tga"));
    const auto alpha = [&image](int x, int y) {
        return image[kHeader + 4 * ((63 - y) * 64 + x) + 3];
    };
    EXPECT_EQ(alpha(0, 0), 0xFF);
    EXPECT_EQ(alpha(5, 11), 0xFF);
    EXPECT_EQ(alpha(6, 0), 0x00);
    EXPECT_EQ(alpha(8, 5), 0x00);
    EXPECT_EQ(alpha(0, 12), 0x00);

    const std::vector<std::uint8_t> firstImage = readBytes(folder.path("font.tga"));
    const std::string firstText = readText(folder.path("font.tfd"));
    EXPECT_TRUE(exportAtlas(folder.path("font.tga"), atlas).empty());
    EXPECT_EQ(readBytes(folder.path("font.tga")), firstImage);
    EXPECT_EQ(readText(folder.path("font.tfd")), firstText);
}

TEST_F(ExportAtlasTest, DescriptionIsStillWrittenWhenTheImageFails) {
    std::filesystem::create_directory(folder.path("font.tga"));
    const std::vector<std::string> failures = exportAtlas(folder.path("font"), atlas);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "cannot write \"" + folder.path("font.tga") + "\": it is a folder");
    EXPECT_EQ(readText(folder.path("font.tfd")),
              encodeGlyphDescription(atlas.textureSize(), atlas.glyphs()));
}

TEST_F(ExportAtlasTest, EachFileThatFailsIsReportedOnItsOwn) {
    writeBytes(folder.path("font.tga"), {'o', 'l', 'd'});
    std::filesystem::create_directory(folder.path("font.tfd"));
    std::vector<std::string> failures = exportAtlas(folder.path("font.x"), atlas);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("font.tfd"), std::string::npos);
    EXPECT_EQ(readBytes(folder.path("font.tga")),
              encodeAtlasImage(atlas.atlasSurface(), atlas.textureSize()));

    failures = exportAtlas(folder.path("missing/font"), atlas);
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_NE(failures[0].find("missing/font.tga\": No such file or directory"), std::string::npos);
    EXPECT_NE(failures[1].find("missing/font.tfd\": No such file or directory"), std::string::npos);
}

}  // namespace
}  // namespace vemro
