#include "files/export/tfd_exporter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/atlas/atlas_builder.h"
#include "files/export/export_path.h"
#include "files/export/glyph_description.h"
#include "files/export/tga_image.h"
#include "tests/fake_font_renderer.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

using testing::FakeFontRenderer;

constexpr std::size_t kHeader = 18;

AtlasPage blankPage(std::int32_t width, std::int32_t height) {
    AtlasPage page;
    page.width = width;
    page.height = height;
    page.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    return page;
}

void setCoverage(AtlasPage& page, std::int32_t x, std::int32_t y, std::uint8_t value) {
    page.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(page.width) +
                static_cast<std::size_t>(x)] = value;
}

// The image as defined pixel by pixel: rows from the bottom, each pixel FF FF FF and the
// coverage, none where the page has no pixel.
std::vector<std::uint8_t> referencePixels(const AtlasPage& page, AtlasSize size) {
    std::vector<std::uint8_t> pixels;
    for (std::int32_t y = size.height - 1; y >= 0; --y) {
        for (std::int32_t x = 0; x < size.width; ++x) {
            const std::uint8_t alpha = x < page.width && y < page.height ? page.at(x, y) : 0;
            pixels.insert(pixels.end(), {0xFF, 0xFF, 0xFF, alpha});
        }
    }
    return pixels;
}

std::vector<std::uint8_t> pixelsOf(const std::vector<std::uint8_t>& image) {
    return std::vector<std::uint8_t>(image.begin() + kHeader, image.end());
}

TEST(TgaImage, HeaderAndSizeForEachTextureShape) {
    const struct {
        AtlasSize size;
        std::size_t bytes;
    } cases[] = {{{64, 64}, 16402},
                 {{256, 256}, 262162},
                 {{512, 64}, 131090},
                 {{128, 512}, 262162},
                 {{512, 512}, 1048594}};
    for (const auto& c : cases) {
        const AtlasPage page = blankPage(c.size.width, c.size.height);
        const std::vector<std::uint8_t> image = encodeTgaImage(page, c.size);
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

TEST(TgaImage, FirstPixelIsBottomLeftAndLastIsTopRight) {
    const AtlasSize size{128, 64};
    AtlasPage page = blankPage(128, 64);
    setCoverage(page, 0, 63, 0x11);    // bottom-left
    setCoverage(page, 127, 0, 0x22);   // top-right
    setCoverage(page, 0, 0, 0x33);     // top-left
    setCoverage(page, 127, 63, 0x44);  // bottom-right
    const std::vector<std::uint8_t> image = encodeTgaImage(page, size);
    const auto pixelAt = [&image](std::size_t index) {
        return std::vector<std::uint8_t>(image.begin() + kHeader + 4 * index,
                                         image.begin() + kHeader + 4 * index + 4);
    };
    EXPECT_EQ(pixelAt(0), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x11}));
    EXPECT_EQ(pixelAt(127), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x44}));
    EXPECT_EQ(pixelAt(63 * 128), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x33}));
    EXPECT_EQ(pixelAt(64 * 128 - 1), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x22}));
}

TEST(TgaImage, EmptyAndFullPixels) {
    AtlasPage page = blankPage(2, 1);
    setCoverage(page, 1, 0, 0xFF);
    EXPECT_EQ(pixelsOf(encodeTgaImage(page, {2, 1})),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(TgaImage, AlphaIsTheCoverageAndMatchesThePerPixelDefinition) {
    std::mt19937 random(12345);
    for (const AtlasSize size : {AtlasSize{512, 512}, AtlasSize{37, 101}, AtlasSize{1, 1}}) {
        AtlasPage page = blankPage(size.width, size.height);
        for (std::uint8_t& pixel : page.pixels) {
            pixel = static_cast<std::uint8_t>(random());
        }
        EXPECT_EQ(pixelsOf(encodeTgaImage(page, size)), referencePixels(page, size))
            << size.width << " x " << size.height;
    }

    // A page smaller than the texture reads as empty where it has no pixels.
    AtlasPage small = blankPage(50, 20);
    setCoverage(small, 49, 19, 0xAB);
    const std::vector<std::uint8_t> pixels = pixelsOf(encodeTgaImage(small, {64, 64}));
    EXPECT_EQ(pixels, referencePixels(small, {64, 64}));
    EXPECT_EQ(pixels[4 * (44 * 64 + 49) + 3], 0xAB);
}

PlacedGlyph placed(char32_t code, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    PlacedGlyph glyph;
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
    AtlasResult result;
    result.textureSize = {256, 64};
    EXPECT_EQ(encodeGlyphDescription(result),
              kDescriptionHead + "256 64\r\n" + kGlyphHead + "end\r\n");
}

// <char> is the Windows-1252 byte: the euro sign is 128, e acute 233, Y diaeresis 159; a
// character the code page lacks keeps its code point.
TEST(GlyphDescription, GlyphLinesInListOrderWithWindows1252Bytes) {
    AtlasResult result;
    result.textureSize = {256, 256};
    result.glyphs = {placed(U'A', 0, 0, 9, 15),         placed(U'\u00E9', 10, 0, 8, 15),
                     placed(U'\u20AC', -7, 600, -3, 0), placed(U'A', 20, 16, 9, 15),
                     placed(U'\u0178', 1, 2, 3, 4),     placed(U'\u4E2D', 5, 6, 7, 8),
                     placed(U'\u0100', 0, 0, 1, 1),     placed(U'\U0001F600', 2, 3, 4, 5)};
    EXPECT_EQ(encodeGlyphDescription(result), kDescriptionHead + "256 256\r\n" + kGlyphHead +
                                                  "65 0 0 9 15\r\n"
                                                  "233 10 0 8 15\r\n"
                                                  "128 -7 600 -3 0\r\n"
                                                  "65 20 16 9 15\r\n"
                                                  "159 1 2 3 4\r\n"
                                                  "20013 5 6 7 8\r\n"
                                                  "256 0 0 1 1\r\n"
                                                  "128512 2 3 4 5\r\n"
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
    const Exporter& exporter = exporterFor(DescriptorFormat::Tfd);
    for (const auto& c : cases) {
        EXPECT_EQ(exporter.outputFiles(c.chosen, AtlasResult{}),
                  (std::vector<std::string>{c.image, c.description}))
            << c.chosen;
    }
}

TEST(ExporterRegistry, TheTargaExportIsTheDefaultAndEveryStoredFormatHasOneRow) {
    const std::vector<const Exporter*>& exporters = registeredExporters();
    ASSERT_FALSE(exporters.empty());
    EXPECT_EQ(exporters.front()->name(), "tfd");
    EXPECT_EQ(exporters.front()->fileExtension(), ".tga");
    EXPECT_FALSE(exporters.front()->displayName().empty());
    for (const Exporter* exporter : exporters) {
        EXPECT_EQ(findExporter(exporter->name()), exporter);
    }
    // Every format a project file may store has exactly one row.
    for (int id = 0; id <= static_cast<int>(kLastDescriptorFormat); ++id) {
        const auto format = static_cast<DescriptorFormat>(id);
        EXPECT_EQ(std::count_if(exporters.begin(), exporters.end(),
                                [&](const Exporter* row) { return row->format() == format; }),
                  1)
            << id;
        EXPECT_EQ(exporterFor(format).format(), format);
    }
    EXPECT_EQ(exporters.size(), static_cast<std::size_t>(kLastDescriptorFormat) + 1);
    EXPECT_EQ(findExporter("TFD"), nullptr);
    EXPECT_EQ(findExporter(""), nullptr);
    EXPECT_EQ(findExporter("tga"), nullptr);
}

class TfdExportTest : public ::testing::Test {
protected:
    TfdExportTest() : builder(renderer) {
        project.textureSize = {64, 64};
        for (const char32_t code : {U'A', U' ', U'B', U'\u00E9'}) {
            project.glyphs.addCharacter(code);
        }
        project.font.size = 9;  // 12 pixels: cells 6 x 12
        result = builder.rebuild(project);
    }

    FakeFontRenderer renderer;
    AtlasBuilder builder;
    Project project;
    std::shared_ptr<const AtlasResult> result;
    TestFolder folder;
};

TEST_F(TfdExportTest, WritesBothFilesFromTheResult) {
    const Exporter& exporter = exporterFor(DescriptorFormat::Tfd);
    const ExportReport report =
        exporter.write(folder.path("font.png"), project, ExportSettings{}, *result);
    EXPECT_TRUE(report.ok());
    EXPECT_EQ(report.written, exporter.outputFiles(folder.path("font.png"), *result));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"font.tfd", "font.tga"}));
    EXPECT_EQ(readText(folder.path("font.tfd")),
              kDescriptionHead + "64 64\r\n" + kGlyphHead +
                  "65 0 0 6 12\r\n32 7 0 6 12\r\n66 14 0 6 12\r\n233 21 0 6 12\r\nend\r\n");
    // Code 65 is a solid 6 x 12 block at the top-left; the space next to it has no ink.
    const std::vector<std::uint8_t> image = readBytes(folder.path("font.tga"));
    ASSERT_EQ(image.size(), kHeader + 4u * 64u * 64u);
    const auto alpha = [&image](int x, int y) {
        return image[kHeader + 4 * ((63 - y) * 64 + x) + 3];
    };
    EXPECT_EQ(alpha(0, 0), 0xFF);
    EXPECT_EQ(alpha(5, 11), 0xFF);
    EXPECT_EQ(alpha(6, 0), 0x00);
    EXPECT_EQ(alpha(8, 5), 0x00);
    EXPECT_EQ(alpha(0, 12), 0x00);
    EXPECT_EQ(alpha(14, 0), 0xFF);

    // Writing again over the files gives the same bytes.
    const std::string firstText = readText(folder.path("font.tfd"));
    EXPECT_TRUE(exporter.write(folder.path("font.tga"), project, ExportSettings{}, *result).ok());
    EXPECT_EQ(readBytes(folder.path("font.tga")), image);
    EXPECT_EQ(readText(folder.path("font.tfd")), firstText);
}

TEST_F(TfdExportTest, EveryPageHasItsImageAndADescriptionOfItsOwnGlyphs) {
    // Two cells 6 x 12 and their gap fill a row of a 16 x 16 page; a second row would not fit.
    project.textureSize = {16, 16};
    project.packing.multiplePages = true;
    result = builder.rebuild(project);
    ASSERT_EQ(result->pages.size(), 2u);
    const Exporter& exporter = exporterFor(DescriptorFormat::Tfd);
    const std::vector<std::string> files = {folder.path("f.x.tga"), folder.path("f.x.tfd"),
                                            folder.path("f.x_1.tga"), folder.path("f.x_1.tfd")};
    EXPECT_EQ(exporter.outputFiles(folder.path("f.x.png"), *result), files);
    const ExportReport report =
        exporter.write(folder.path("f.x.png"), project, ExportSettings{}, *result);
    EXPECT_EQ(report.written, files);
    EXPECT_EQ(readText(files[1]), kDescriptionHead + "16 16\r\n" + kGlyphHead +
                                      "65 0 0 6 12\r\n32 7 0 6 12\r\nend\r\n");
    EXPECT_EQ(readText(files[3]), kDescriptionHead + "16 16\r\n" + kGlyphHead +
                                      "66 0 0 6 12\r\n233 7 0 6 12\r\nend\r\n");
    // B's ink at the top-left of the second page.
    const std::vector<std::uint8_t> second = readBytes(files[2]);
    EXPECT_EQ(second, encodeTgaImage(result->pages[1], {16, 16}));
    EXPECT_EQ(second[kHeader + 4 * (15 * 16) + 3], 0xFF);
}

TEST_F(TfdExportTest, DescriptionIsStillWrittenWhenTheImageFails) {
    std::filesystem::create_directory(folder.path("font.tga"));
    const ExportReport report = exporterFor(DescriptorFormat::Tfd)
                                    .write(folder.path("font"), project, ExportSettings{}, *result);
    EXPECT_EQ(report.failures,
              std::vector<std::string>{"cannot write \"" + folder.path("font.tga") +
                                       "\": it is a folder"});
    EXPECT_EQ(report.written, std::vector<std::string>{folder.path("font.tfd")});
    EXPECT_EQ(readText(folder.path("font.tfd")), encodeGlyphDescription(*result));
}

TEST_F(TfdExportTest, EachFileThatFailsIsReportedOnItsOwn) {
    writeBytes(folder.path("font.tga"), {'o', 'l', 'd'});
    std::filesystem::create_directory(folder.path("font.tfd"));
    ExportReport report = exporterFor(DescriptorFormat::Tfd)
                              .write(folder.path("font.x"), project, ExportSettings{}, *result);
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_NE(report.failures[0].find("font.tfd"), std::string::npos);
    EXPECT_EQ(readBytes(folder.path("font.tga")),
              encodeTgaImage(result->pages.at(0), result->textureSize));

    report = exporterFor(DescriptorFormat::Tfd)
                 .write(folder.path("missing/font"), project, ExportSettings{}, *result);
    EXPECT_TRUE(report.written.empty());
    ASSERT_EQ(report.failures.size(), 2u);
    EXPECT_NE(report.failures[0].find("missing/font.tga\": No such file or directory"),
              std::string::npos);
    EXPECT_NE(report.failures[1].find("missing/font.tfd\": No such file or directory"),
              std::string::npos);
}

}  // namespace
}  // namespace vemro
