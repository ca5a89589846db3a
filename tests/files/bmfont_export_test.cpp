// The BMFont and JSON exports: every format read back by the tests' own reader, the binary
// layout byte by byte, names that need escaping, page names, and exports that must not happen.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"
#include "files/export/bmfont_binary.h"
#include "files/export/bmfont_json.h"
#include "files/export/bmfont_text.h"
#include "files/export/bmfont_xml.h"
#include "files/export/page_images.h"
#include "files/export/tfd_exporter.h"
#include "files/project/project_opener.h"
#include "tests/files/bmfont_reader.h"
#include "tests/files/png_reader.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

using test::ReadFont;
using Values = std::map<std::string, std::string>;

const DescriptorFormat kFormats[] = {DescriptorFormat::BmfontText, DescriptorFormat::BmfontXml,
                                     DescriptorFormat::BmfontBinary, DescriptorFormat::Json};

// DejaVu Sans Bold Oblique at 20 points drawn at twice the size, every border a different width,
// a duplicate with borders of its own, the euro sign (Windows-1252 byte 128) and a letter beyond
// the code page.
TEST(BmfontExport, EveryFormatSaysTheSameAndThePagesHoldTheAtlas) {
    Project project = startupProject("DejaVu Sans");
    project.textureSize = {512, 256};
    project.fontBorders = {1, 2, 3, 4};
    project.font = {
        "DejaVu Sans", "", 0, 20, FontSettings::kWeightBold, FontSettings::kQualityAntialiased, 2,
        true};
    for (const char32_t code : std::u32string(U"AVTo Wa\u20AC\u03A9y.A")) {
        project.glyphs.append(Glyph{code, code == U'A' ? 5 : 0, 0});
    }
    FreetypeFontRenderer renderer;
    AtlasBuilder builder(renderer);
    const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
    ASSERT_EQ(result->glyphsOutsideTexture, 0u);

    for (const PageImage image : {PageImage::Png, PageImage::Png8}) {
        ExportSettings settings;
        settings.image = image;
        TestFolder folder;
        std::vector<ReadFont> read;
        for (const DescriptorFormat format : kFormats) {
            const std::string chosen = folder.path(descriptorFormatName(format));
            const ExportReport report =
                exporterFor(format).write(chosen, project, settings, *result);
            ASSERT_TRUE(report.ok()) << report.failures.front();
            EXPECT_EQ(report.written, exporterFor(format).outputFiles(chosen, settings, *result));
            read.push_back(test::readBmfont(readBytes(report.written.back())));
            EXPECT_EQ(read.back().error, "") << descriptorFormatName(format);
            EXPECT_EQ(read.back().pages.at(0),
                      std::string(descriptorFormatName(format)) + "_0.png");
            read.back().pages.clear();
        }
        for (const ReadFont& other : read) {
            EXPECT_EQ(other, read.front());
        }
        const ReadFont& font = read.front();
        // 20 points at 96 per inch are 26.7 pixels: 53 at twice the size, 27 in the atlas.
        EXPECT_EQ(font.info, (Values{{"face", "DejaVu Sans"},
                                     {"size", "27"},
                                     {"bold", "1"},
                                     {"italic", "1"},
                                     {"charset", ""},
                                     {"unicode", "1"},
                                     {"stretchH", "100"},
                                     {"smooth", "1"},
                                     {"aa", "2"},
                                     {"padding", "2,3,4,1"},
                                     {"spacing", "1,1"},
                                     {"outline", "0"}}));
        EXPECT_EQ(font.common.at("scaleW") + font.common.at("scaleH") + font.common.at("pages"),
                  "5122561");
        // Either page loads as white with the glyph in alpha.
        EXPECT_EQ(font.common.at("alphaChnl") + font.common.at("redChnl") +
                      font.common.at("greenChnl") + font.common.at("blueChnl"),
                  "0444");
        EXPECT_EQ(font.order, (std::vector<std::uint32_t>{'A', 'V', 'T', 'o', ' ', 'W', 'a', 0x20AC,
                                                          0x3A9, 'y', '.'}));
        EXPECT_EQ(font.chars.at('A').at("chnl"), 15);
        EXPECT_LT(font.kernings.at({'A', 'V'}), 0);

        // The 8-bit page is indexed (colour type 3, 8 bits): one byte a pixel in the file.
        const std::vector<std::uint8_t> file = readBytes(folder.path("json_0.png"));
        EXPECT_EQ(file.at(24), 8);
        EXPECT_EQ(file.at(25), image == PageImage::Png ? 6 : 3) << "RGBA or indexed";
        const test::ReadImage png = test::readPng(folder.path("json_0.png"));
        ASSERT_TRUE(png.ok && png.width == 512 && png.height == 256 && png.channels == 4);
        std::vector<std::uint8_t> expected;
        for (const std::uint8_t coverage : result->pages.front().pixels) {
            expected.insert(expected.end(), {255, 255, 255, coverage});
        }
        EXPECT_TRUE(png.pixels == expected);
    }
}

FontDescription smallDescription() {
    FontDescription d;
    d.face = "Ab";
    d.size = -300;
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
    // clang-format off
    const std::vector<std::uint8_t> expected = {
        'B', 'M', 'F', 3,
        // info: 14 bytes and "Ab" with its zero byte; bits smooth 0x80, unicode 0x40, italic 0x20
        1, 17, 0, 0, 0,  0xD4, 0xFE, 0xE0, 0, 100, 0, 3, 1, 2, 3, 4, 5, 6, 0, 'A', 'b', 0,
        // common: 15 bytes
        2, 15, 0, 0, 0,  0x34, 0x12, 7, 0, 0, 0x10, 8, 0, 2, 0, 0, 0, 4, 4, 4,
        // pages: two names of 7 bytes, each with its zero byte
        3, 16, 0, 0, 0,  'x', '_', '0', '.', 'p', 'n', 'g', 0, 'x', '_', '1', '.', 'p', 'n', 'g', 0,
        // chars: 20 bytes each
        4, 40, 0, 0, 0,  0x00, 0xF6, 0x01, 0, 1, 0, 2, 0, 3, 0, 4, 0, 0xFB, 0xFF, 0xFA, 0xFF, 7, 0, 1, 15,
                         65, 0, 0, 0, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 15,
        // kerning pairs: 10 bytes each
        5, 10, 0, 0, 0,  65, 0, 0, 0, 0x00, 0xF6, 0x01, 0, 0xFE, 0xFF};
    // clang-format on
    EXPECT_EQ(encodeBmfontBinary(smallDescription()).value(), expected);

    FontDescription bold = smallDescription();
    bold.smooth = bold.italic = bold.unicode = false;
    bold.bold = true;
    bold.kernings.clear();  // no pairs, no kerning block
    const std::vector<std::uint8_t> bytes = encodeBmfontBinary(bold).value();
    EXPECT_EQ(bytes.size(), expected.size() - 15);
    EXPECT_EQ(bytes[11], 0x10);

    // Every page name has the same length, or the descriptor is refused.
    FontDescription tenth = smallDescription();
    tenth.pages[1] = "x_10.png";
    EXPECT_EQ(encodeBmfontBinary(tenth).message(),
              "the page file names \"x_0.png\" and \"x_10.png\" differ in length, which the "
              "binary BMFont format does not allow");
    tenth.pages[1] = "x_1.png";
    tenth.chars[1].page = 256;
    EXPECT_EQ(encodeBmfontBinary(tenth).message(),
              "the page number 256 does not fit the binary BMFont format (0..255)");
}

TEST(BmfontEscaping, NamesWithQuotesAmpersandsAnglesAndOtherLettersSurviveEveryFormat) {
    const auto encode = [](DescriptorFormat format, const FontDescription& d) {
        return format == DescriptorFormat::BmfontXml      ? encodeBmfontXml(d)
               : format == DescriptorFormat::BmfontBinary ? encodeBmfontBinary(d)
               : format == DescriptorFormat::Json         ? encodeBmfontJson(d)
                                                          : encodeBmfontText(d);
    };
    FontDescription d = smallDescription();
    d.face = "Vemro \"Gothic\" & <Sons> Ärger 日本";
    d.pages = {"R&D <ä>_0.png", "R&D <ä>_1.png"};
    for (const DescriptorFormat format : kFormats) {
        const ReadFont read = test::readBmfont(encode(format, d).value());
        EXPECT_EQ(read.error, "") << descriptorFormatName(format);
        // Quoted text values end at the next quotation mark: there it is an apostrophe.
        EXPECT_EQ(read.info.at("face"), format == DescriptorFormat::BmfontText
                                            ? "Vemro 'Gothic' & <Sons> Ärger 日本"
                                            : d.face);
        EXPECT_EQ(read.pages, d.pages) << descriptorFormatName(format);
    }
    // Control characters and bytes that are no UTF-8 cannot stand in a descriptor.
    d.face = "Tab\there \xFF end";
    for (const DescriptorFormat format : kFormats) {
        EXPECT_EQ(test::readBmfont(encode(format, d).value()).info.at("face"),
                  "Tab here \xEF\xBF\xBD end");
    }
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
    EXPECT_EQ(pageImagePaths("a.json", 10, PageImage::Png8).back(), "a_9.png");
    const std::vector<std::string> twelve = pageImagePaths("a.json", 12, PageImage::Png);
    EXPECT_EQ(twelve.front() + " " + twelve.back(), "a_00.png a_11.png");
}

class ExportGuard : public ::testing::Test {
protected:
    ExportGuard() {
        project.glyphs.addCharacter(U'A');
        result = builder.rebuild(project);
    }

    FreetypeFontRenderer renderer;
    AtlasBuilder builder{renderer};
    Project project = startupProject("DejaVu Sans");
    std::shared_ptr<const AtlasResult> result;
    TestFolder folder;
};

TEST_F(ExportGuard, NoExportWritesOverAProjectFileOrThePagesOnesOwn) {
    const std::string fnt = folder.path("font.fnt");
    ASSERT_TRUE(saveProject(fnt, Document{project}).ok());
    const std::vector<std::uint8_t> saved = readBytes(fnt);
    // Of a newer version too, and whatever its name.
    Document document{project};
    document.sampleText = "x";
    ASSERT_TRUE(saveProject(folder.path("font.tfd"), document).ok());
    std::vector<std::uint8_t> newer = readBytes(folder.path("font.tfd"));
    newer[std::string(newer.begin(), newer.end()).find("VemroExt") + 8] = 2;  // the version
    writeBytes(folder.path("font.tfd"), newer);
    for (const DescriptorFormat format : kFormats) {
        const ExportReport report =
            exporterFor(format).write(fnt, project, ExportSettings{}, *result);
        EXPECT_EQ(report.failures,
                  (format == DescriptorFormat::Json
                       ? std::vector<std::string>{}
                       : std::vector<std::string>{"will not write \"" + fnt +
                                                  "\": it is a Vemro Font builder project, not an "
                                                  "earlier export; choose another name for the "
                                                  "export"}));
    }
    EXPECT_FALSE(exporterFor(DescriptorFormat::Tfd)
                     .write(folder.path("font"), project, ExportSettings{}, *result)
                     .ok());
    // A path that names no file, which would write hidden files (".json", "_0.png").
    for (const std::string& nameless : {folder.path(""), folder.path(".fnt"), folder.path("..")}) {
        EXPECT_FALSE(exporterFor(DescriptorFormat::Json)
                         .write(nameless, project, ExportSettings{}, *result)
                         .ok());
    }
    EXPECT_EQ(readBytes(fnt), saved);
    EXPECT_EQ(readBytes(folder.path("font.tfd")), newer);
    EXPECT_EQ(folder.entries(),
              (std::vector<std::string>{"font.fnt", "font.json", "font.tfd", "font_0.png"}));

    // The project's own file, though damaged since it was opened; an earlier export is replaced.
    const std::string own = folder.path("own.fnt");
    writeBytes(own, {1, 2, 3});
    const Exporter& text = exporterFor(DescriptorFormat::BmfontText);
    const ExportReport refused =
        text.write(folder.path("sub/../own.x"), project, ExportSettings{}, *result, own);
    EXPECT_EQ(refused.failures.size(), 1u);
    EXPECT_NE(refused.failures.at(0).find("it is the project's own file"), std::string::npos);
    EXPECT_EQ(readBytes(own), (std::vector<std::uint8_t>{1, 2, 3}));
    ASSERT_TRUE(text.write(folder.path("again"), project, ExportSettings{}, *result, own).ok());
    EXPECT_TRUE(exporterFor(DescriptorFormat::BmfontBinary)
                    .write(folder.path("again"), project, ExportSettings{}, *result, own)
                    .ok());
}

TEST_F(ExportGuard, APageThatCannotBeWrittenIsNamedAndNoDescriptorFollows) {
    std::filesystem::create_directory(folder.path("font_0.png"));
    for (const DescriptorFormat format : kFormats) {
        const ExportReport report =
            exporterFor(format).write(folder.path("font"), project, ExportSettings{}, *result);
        EXPECT_TRUE(report.written.empty());
        ASSERT_EQ(report.failures.size(), 1u);
        EXPECT_TRUE(report.failures[0].starts_with("cannot write \"" + folder.path("font_0.png")))
            << report.failures[0];
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"font_0.png"});
    }
}

}  // namespace
}  // namespace vemro
