// The BMFont and JSON exports: every format read back by the tests' own reader, the binary
// layout byte by byte, names that need escaping, page names, and exports that must not happen.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/atlas_builder.h"
#include "engine/freetype_font_renderer.h"
#include "files/bmfont_binary.h"
#include "files/bmfont_json.h"
#include "files/bmfont_text.h"
#include "files/bmfont_xml.h"
#include "files/descriptor_exporter.h"
#include "files/page_images.h"
#include "files/project_opener.h"
#include "files/tfd_exporter.h"
#include "tests/files/bmfont_reader.h"
#include "tests/files/png_reader.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

using test::ReadFont;

const DescriptorFormat kDescriptorFormats[] = {
    DescriptorFormat::BmfontText, DescriptorFormat::BmfontXml, DescriptorFormat::BmfontBinary,
    DescriptorFormat::Json};

// DejaVu Sans Bold Oblique at 20 points drawn at twice the size, every border a different
// width, a duplicate with borders of its own, the euro sign (Windows-1252 byte 128) and a letter
// beyond the code page.
Project sampleProject() {
    Project project = startupProject("DejaVu Sans");
    project.textureSize = {512, 256};
    project.fontBorders = {1, 2, 3, 4};
    project.font.size = 20;
    project.font.factor = 2;
    project.font.weight = FontSettings::kWeightBold;
    project.font.italic = true;
    for (const char32_t code : std::u32string(U"AVTo Wa\u20AC\u03A9y.")) {
        project.glyphs.addCharacter(code);
    }
    project.glyphs.append(Glyph{U'A', 5, 6});
    return project;
}

ReadFont readExport(const std::string& path) {
    return test::readBmfont(readBytes(path));
}

TEST(BmfontExport, EveryFormatSaysTheSameAndThePagesHoldTheAtlas) {
    FreetypeFontRenderer renderer;
    Project project = sampleProject();
    AtlasBuilder builder(renderer);
    const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
    ASSERT_EQ(result->fontName, "DejaVu Sans");
    ASSERT_EQ(result->glyphsOutsideTexture, 0u);

    for (const PageImage image : {PageImage::Png, PageImage::Png8}) {
        project.exportSettings.image = image;
        TestFolder folder;
        std::vector<ReadFont> read;
        for (const DescriptorFormat format : kDescriptorFormats) {
            const Exporter& exporter = exporterFor(format);
            const std::string chosen =
                folder.path(std::string(descriptorFormatName(format)) + ".x");
            const ExportReport report = exporter.write(chosen, project, *result);
            ASSERT_TRUE(report.ok()) << report.failures.front();
            EXPECT_EQ(report.written, exporter.outputFiles(chosen, project, *result));
            read.push_back(readExport(report.written.back()));
            EXPECT_EQ(read.back().error, "") << descriptorFormatName(format);
            // The page files differ by name only.
            read.back().pageFiles = {};
        }
        for (const ReadFont& other : read) {
            EXPECT_EQ(other, read.front());
        }
        const ReadFont& font = read.front();
        EXPECT_EQ(font.face, "DejaVu Sans");
        EXPECT_EQ((std::vector<std::int64_t>{font.bold, font.italic, font.unicode, font.smooth,
                                             font.aa, font.stretchH}),
                  (std::vector<std::int64_t>{1, 1, 1, 1, 2, 100}));
        EXPECT_EQ(font.padding, (std::array<std::int64_t, 4>{2, 3, 4, 1}));  // up right down left
        EXPECT_EQ(font.spacing, (std::array<std::int64_t, 2>{1, 1}));
        EXPECT_EQ(font.size, 27);  // 20 points at 96 per inch, 53 pixels at twice the size
        EXPECT_EQ(std::make_pair(font.scaleW, font.scaleH),
                  std::make_pair(std::int64_t{512}, std::int64_t{256}));
        EXPECT_EQ(font.pages, 1);
        // Each character once, in list order, by code point.
        EXPECT_EQ(font.order, (std::vector<std::uint32_t>{'A', 'V', 'T', 'o', ' ', 'W', 'a', 0x20AC,
                                                          0x3A9, 'y', '.'}));
        EXPECT_LT(font.kernings.at({'A', 'V'}), 0);
        EXPECT_LT(font.kernings.at({'T', 'o'}), 0);
        const std::int64_t glyphChannel = 0;
        const std::int64_t one = 4;
        const std::int64_t colour = image == PageImage::Png ? one : glyphChannel;
        EXPECT_EQ((std::vector<std::int64_t>{font.alphaChnl, font.redChnl, font.greenChnl,
                                             font.blueChnl, font.chars.at('A').chnl}),
                  (std::vector<std::int64_t>{glyphChannel, colour, colour, colour, 15}));

        const test::ReadImage png = test::readPng(folder.path("json_0.png"));
        ASSERT_TRUE(png.ok);
        ASSERT_EQ(std::make_pair(png.width, png.height), std::make_pair(512u, 256u));
        ASSERT_EQ(png.channels, image == PageImage::Png ? 4u : 1u);
        const AtlasPage& page = result->pages.front();
        for (std::int32_t y = 0; y < 256; ++y) {
            for (std::int32_t x = 0; x < 512; ++x) {
                const std::size_t at = (static_cast<std::size_t>(y) * 512 + x) * png.channels;
                const std::vector<std::uint8_t> pixel(png.pixels.begin() + at,
                                                      png.pixels.begin() + at + png.channels);
                const std::uint8_t coverage = page.at(x, y);
                const std::vector<std::uint8_t> expected =
                    image == PageImage::Png ? std::vector<std::uint8_t>{255, 255, 255, coverage}
                                            : std::vector<std::uint8_t>{coverage};
                ASSERT_EQ(pixel, expected) << x << ", " << y;
            }
        }
    }

    project.exportSettings.kerning = false;
    const std::shared_ptr<const AtlasResult> plain = builder.rebuild(project);
    TestFolder folder;
    const ExportReport report =
        exporterFor(DescriptorFormat::BmfontText).write(folder.path("plain.fnt"), project, *plain);
    ASSERT_TRUE(report.ok());
    EXPECT_TRUE(readExport(folder.path("plain.fnt")).kernings.empty());
    EXPECT_EQ(readText(folder.path("plain.fnt")).find("kerning"), std::string::npos);
}

FontDescription smallDescription() {
    FontDescription d;
    d.face = "Ab";
    d.size = -300;
    d.smooth = true;
    d.italic = true;
    d.aa = 3;
    d.padding = {1, 2, 3, 4};
    d.spacing = {5, 6};
    d.lineHeight = 0x1234;
    d.base = 7;
    d.scaleW = 4096;
    d.scaleH = 8;
    d.pages = {"x_0.png", "x_1.png"};
    d.chars = {{0x1F600, 1, 2, 3, 4, -5, -6, 7, 1, 15}, {65, 0x102, 0, 0, 0, 0, 0, 0, 0, 15}};
    d.kernings = {{65, 0x1F600, -2}};
    return d;
}

// The layout the format's documentation gives, written out byte by byte.
TEST(BmfontBinary, BlocksCarryTheirExactSizesAndFieldsTheirWidths) {
    using B = std::vector<std::uint8_t>;
    B expected = {'B', 'M', 'F', 3};
    const auto add = [&](B bytes) { expected.insert(expected.end(), bytes.begin(), bytes.end()); };
    // info: 14 bytes of fields and "Ab" with its zero byte; bits smooth, unicode, italic.
    add({1, 17, 0, 0, 0, 0xD4, 0xFE, 0xE0, 0, 100, 0, 3, 1, 2, 3, 4, 5, 6, 0, 'A', 'b', 0});
    // common: 15 bytes.
    add({2, 15, 0, 0, 0, 0x34, 0x12, 7, 0, 0, 0x10, 8, 0, 2, 0, 0, 0, 4, 4, 4});
    // pages: two names of 7 bytes, each with its zero byte.
    add({3,   16, 0,   0,   0,   'x', '_', '0', '.', 'p', 'n',
         'g', 0,  'x', '_', '1', '.', 'p', 'n', 'g', 0});
    // chars: 20 bytes each.
    add({4, 40, 0,    0,    0,    0x00, 0xF6, 0x01, 0x00, 1,  0,  2, 0, 3, 0,
         4, 0,  0xFB, 0xFF, 0xFA, 0xFF, 7,    0,    1,    15, 65, 0, 0, 0, 2,
         1, 0,  0,    0,    0,    0,    0,    0,    0,    0,  0,  0, 0, 0, 15});
    // kerning pairs: 10 bytes each.
    add({5, 10, 0, 0, 0, 65, 0, 0, 0, 0x00, 0xF6, 0x01, 0x00, 0xFE, 0xFF});
    const Result<std::vector<std::uint8_t>> encoded = encodeBmfontBinary(smallDescription());
    ASSERT_TRUE(encoded.ok()) << encoded.message();
    EXPECT_EQ(encoded.value(), expected);

    // Bold alone is 0x10; no pairs, no kerning block.
    FontDescription bold = smallDescription();
    bold.smooth = bold.italic = bold.unicode = false;
    bold.bold = true;
    bold.kernings.clear();
    const std::vector<std::uint8_t> bytes = encodeBmfontBinary(bold).value();
    EXPECT_EQ(bytes[4 + 5 + 2], 0x10);
    EXPECT_EQ(bytes.size(), expected.size() - 15);

    // Values a field cannot hold refuse the descriptor, naming the value.
    const struct {
        std::function<void(FontDescription&)> change;
        std::string problem;
    } refusals[] = {
        {[](FontDescription& d) { d.chars[0].xoffset = 40000; },
         "the x offset 40000 does not fit the binary BMFont format (-32768..32767)"},
        {[](FontDescription& d) { d.chars[1].page = 256; },
         "the page number 256 does not fit the binary BMFont format (0..255)"},
        {[](FontDescription& d) { d.pages[1] = "x_10.png"; },
         "the page file names \"x_0.png\" and \"x_10.png\" differ in length, which the binary "
         "BMFont format does not allow"},
    };
    for (const auto& refusal : refusals) {
        FontDescription d = smallDescription();
        refusal.change(d);
        EXPECT_EQ(encodeBmfontBinary(d).message(), refusal.problem);
    }
}

Result<std::vector<std::uint8_t>> encodeIn(DescriptorFormat format, const FontDescription& d) {
    switch (format) {
        case DescriptorFormat::BmfontXml:
            return encodeBmfontXml(d);
        case DescriptorFormat::BmfontBinary:
            return encodeBmfontBinary(d);
        case DescriptorFormat::Json:
            return encodeBmfontJson(d);
        default:
            return encodeBmfontText(d);
    }
}

TEST(BmfontEscaping, NamesWithQuotesAmpersandsAnglesAndOtherLettersSurviveEveryFormat) {
    const std::string face = "Vemro \"Gothic\" & <Sons> Ärger \xE6\x97\xA5\xE6\x9C\xAC";
    FontDescription d = smallDescription();
    d.face = face;
    d.pages = {"R&D <\xC3\xA4>_0.png", "R&D <\xC3\xA4>_1.png"};
    for (const DescriptorFormat format : kDescriptorFormats) {
        const Result<std::vector<std::uint8_t>> bytes = encodeIn(format, d);
        ASSERT_TRUE(bytes.ok()) << bytes.message();
        const ReadFont read = test::readBmfont(bytes.value());
        EXPECT_EQ(read.error, "") << descriptorFormatName(format);
        // Quoted text values end at the next quotation mark: the text format writes the face's
        // quotation marks as apostrophes.
        EXPECT_EQ(read.face, format == DescriptorFormat::BmfontText
                                 ? "Vemro 'Gothic' & <Sons> Ärger \xE6\x97\xA5\xE6\x9C\xAC"
                                 : face);
        EXPECT_EQ(read.pageFiles, d.pages) << descriptorFormatName(format);
        EXPECT_EQ(read.chars.size(), 2u);
    }

    // Control characters and bytes that are no UTF-8 cannot stand in a descriptor.
    d.face = "Tab\there \xFF end";
    for (const DescriptorFormat format : kDescriptorFormats) {
        EXPECT_EQ(test::readBmfont(encodeIn(format, d).value()).face, "Tab here \xEF\xBF\xBD end");
    }
    // A page the text format could not name is refused before anything is written.
    d.pages = {"say \"hi\"_0.png", "say \"hi\"_1.png"};
    EXPECT_EQ(encodeBmfontText(d).message(),
              "the BMFont text format cannot name the page file \"say \"hi\"_0.png\": its name "
              "holds a quotation mark, a control character or bytes that are not UTF-8; choose "
              "another name");
}

TEST(PageImages, NamesCountFromZeroPaddedToTheDigitsOfTheLastPage) {
    EXPECT_EQ(pageImagePaths("/out/my.font/atlas.fnt", 1, PageImage::Png),
              std::vector<std::string>{"/out/my.font/atlas_0.png"});
    EXPECT_EQ(pageImagePaths("atlas", 2, PageImage::Tga),
              (std::vector<std::string>{"atlas_0.tga", "atlas_1.tga"}));
    const std::vector<std::string> ten = pageImagePaths("a.json", 10, PageImage::Png8);
    EXPECT_EQ(ten.back(), "a_9.png");
    const std::vector<std::string> twelve = pageImagePaths("a.json", 12, PageImage::Png);
    EXPECT_EQ(twelve.front(), "a_00.png");
    EXPECT_EQ(twelve.back(), "a_11.png");
}

class ExportGuard : public ::testing::Test {
protected:
    ExportGuard() {
        project.glyphs.addCharacter(U'A');
        result = builder.rebuild(project);
    }

    // A project file at path, as File > Save writes it.
    std::vector<std::uint8_t> saveProjectAt(const std::string& path) {
        EXPECT_TRUE(saveProject(path, project).ok());
        return readBytes(path);
    }

    FreetypeFontRenderer renderer;
    AtlasBuilder builder{renderer};
    Project project = startupProject("DejaVu Sans");
    std::shared_ptr<const AtlasResult> result;
    TestFolder folder;
};

TEST_F(ExportGuard, NoExportWritesOverAProjectFile) {
    const std::string fnt = folder.path("font.fnt");
    const std::vector<std::uint8_t> saved = saveProjectAt(fnt);
    for (const DescriptorFormat format : {DescriptorFormat::BmfontText, DescriptorFormat::BmfontXml,
                                          DescriptorFormat::BmfontBinary}) {
        const ExportReport report = exporterFor(format).write(fnt, project, *result);
        EXPECT_TRUE(report.written.empty());
        ASSERT_EQ(report.failures.size(), 1u);
        EXPECT_EQ(report.failures[0],
                  "will not write \"" + fnt +
                      "\": it is a Vemro Font builder project, not an earlier export; choose "
                      "another name for the export");
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"font.fnt"});
        EXPECT_EQ(readBytes(fnt), saved);
    }
    // Whatever its name, and of a newer version too.
    project.sampleText = "x";
    std::vector<std::uint8_t> newer = saveProjectAt(folder.path("font.tfd"));
    const std::size_t extension = std::string(newer.begin(), newer.end()).find("VemroExt");
    ASSERT_NE(extension, std::string::npos);
    newer[extension + 8] = 2;  // the extension version
    writeBytes(folder.path("font.tfd"), newer);
    ASSERT_FALSE(readProjectFile(folder.path("font.tfd")).ok());
    EXPECT_FALSE(TfdExporter().write(folder.path("font.tga"), project, *result).ok());
    EXPECT_EQ(readBytes(folder.path("font.tfd")), newer);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"font.fnt", "font.tfd"}));
}

TEST_F(ExportGuard, TheProjectsOwnFileIsNeverWrittenButAnEarlierExportIsReplaced) {
    // A project whose own file was damaged since it was opened is still its own.
    const std::string own = folder.path("own.fnt");
    writeBytes(own, {1, 2, 3});
    const Exporter& text = exporterFor(DescriptorFormat::BmfontText);
    const ExportReport refused = text.write(folder.path("sub/../own.fnt"), project, *result, own);
    ASSERT_EQ(refused.failures.size(), 1u);
    EXPECT_NE(refused.failures[0].find("it is the project's own file"), std::string::npos);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"own.fnt"});

    const std::string earlier = folder.path("font.fnt");
    ASSERT_TRUE(text.write(earlier, project, *result, own).ok());
    const ExportReport again =
        exporterFor(DescriptorFormat::BmfontBinary).write(earlier, project, *result, own);
    EXPECT_TRUE(again.ok());
    EXPECT_EQ(test::readBmfont(readBytes(earlier)).error, "");
    EXPECT_EQ(readBytes(earlier)[0], 'B');
}

TEST_F(ExportGuard, APageThatCannotBeWrittenIsNamedAndNoDescriptorFollows) {
    std::filesystem::create_directory(folder.path("font_0.png"));
    for (const DescriptorFormat format : kDescriptorFormats) {
        const ExportReport report =
            exporterFor(format).write(folder.path("font.x"), project, *result);
        EXPECT_TRUE(report.written.empty());
        ASSERT_EQ(report.failures.size(), 1u);
        EXPECT_EQ(report.failures[0].rfind("cannot write \"" + folder.path("font_0.png") + "\"", 0),
                  0u)
            << report.failures[0];
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"font_0.png"});
    }
}

}  // namespace
}  // namespace vemro
