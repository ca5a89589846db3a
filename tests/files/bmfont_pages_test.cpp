// BMFont and JSON exports of atlases with several pages, a spacing of their own and a fitted
// texture, read back by the tests' own reader and checked against the page images themselves:
// every page written and named, each character on the page that holds its ink, the cells kept
// apart by the spacing the descriptor states, the page size the size of the images.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"
#include "files/export/exporter.h"
#include "tests/files/bmfont_reader.h"
#include "tests/files/png_reader.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

const DescriptorFormat kFormats[] = {DescriptorFormat::BmfontText, DescriptorFormat::BmfontXml,
                                     DescriptorFormat::BmfontBinary, DescriptorFormat::Json};

struct Cell {
    std::int64_t x, y, width, height;
};

Cell cellOf(const std::map<std::string, std::int64_t>& c) {
    return Cell{c.at("x"), c.at("y"), c.at("width"), c.at("height")};
}

bool apartBy(const Cell& a, const Cell& b, std::int64_t spacing) {
    return a.x + a.width + spacing <= b.x || b.x + b.width + spacing <= a.x ||
           a.y + a.height + spacing <= b.y || b.y + b.height + spacing <= a.y;
}

// Checks the descriptor against the page images beside it in the folder: each page is
// scaleW x scaleH, every inked pixel lies in a cell of a character the descriptor puts on that
// page, every character but the space has ink in its cell, and cells with area on a page are
// `spacing` apart.
void expectPagesHoldTheirCharacters(const test::ReadFont& font, const TestFolder& folder,
                                    std::int64_t spacing) {
    for (std::size_t page = 0; page < font.pages.size(); ++page) {
        SCOPED_TRACE(font.pages[page]);
        const test::ReadImage image = test::readPng(folder.path(font.pages[page]));
        ASSERT_TRUE(image.ok);
        ASSERT_EQ(image.width, font.number("scaleW"));
        ASSERT_EQ(image.height, font.number("scaleH"));
        const auto alpha = [&](std::int64_t x, std::int64_t y) {
            return image
                .pixels[(static_cast<std::size_t>(y) * image.width + static_cast<std::size_t>(x)) *
                            image.channels +
                        image.channels - 1];
        };
        std::vector<Cell> cells;
        for (const auto& [id, c] : font.chars) {
            if (c.at("page") != static_cast<std::int64_t>(page)) {
                continue;
            }
            const Cell cell = cellOf(c);
            ASSERT_TRUE(cell.x >= 0 && cell.y >= 0 && cell.x + cell.width <= image.width &&
                        cell.y + cell.height <= image.height)
                << id;
            bool inked = false;
            for (std::int64_t y = cell.y; y < cell.y + cell.height; ++y) {
                for (std::int64_t x = cell.x; x < cell.x + cell.width; ++x) {
                    inked = inked || alpha(x, y) != 0;
                }
            }
            EXPECT_EQ(inked, id != U' ') << id;
            // A cell without area may lie anywhere.
            if (cell.width > 0 && cell.height > 0) {
                for (const Cell& other : cells) {
                    EXPECT_TRUE(apartBy(cell, other, spacing)) << id;
                }
                cells.push_back(cell);
            }
        }
        for (std::int64_t y = 0; y < image.height; ++y) {
            for (std::int64_t x = 0; x < image.width; ++x) {
                const bool described = std::any_of(cells.begin(), cells.end(), [&](const Cell& c) {
                    return x >= c.x && x < c.x + c.width && y >= c.y && y < c.y + c.height;
                });
                ASSERT_TRUE(described || alpha(x, y) == 0) << "ink at " << x << ", " << y;
            }
        }
    }
}

// 62 letters and digits at 20 points onto 64 x 64 pages: more than ten pages, so the binary
// format's names of equal length need two digits.
TEST(BmfontPages, EveryPageIsWrittenNamedAndHoldsTheCharactersOnIt) {
    Project project = startupProject("DejaVu Sans");
    project.textureSize = {64, 64};
    project.font.size = 20;
    project.packing = {PackerKind::Tight, 3, false, true};
    const std::u32string text = U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ";
    for (const char32_t code : text) {
        project.glyphs.addCharacter(code);
    }
    FreetypeFontRenderer renderer;
    AtlasBuilder builder(renderer);
    const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
    ASSERT_EQ(result->glyphsOutsideTexture, 0u);
    ASSERT_GT(result->pages.size(), 10u);
    ASSERT_LE(result->pages.size(), 100u);

    for (const DescriptorFormat format : kFormats) {
        SCOPED_TRACE(descriptorFormatName(format));
        TestFolder folder;
        const ExportReport report =
            exporterFor(format).write(folder.path("font.x"), project, ExportSettings{}, *result);
        ASSERT_TRUE(report.ok()) << report.failures.front();
        const test::ReadFont font = test::readBmfont(readBytes(report.written.back()));
        ASSERT_EQ(font.error, "");

        const std::size_t pages = result->pages.size();
        EXPECT_EQ(font.number("pages"), static_cast<std::int64_t>(pages));
        std::vector<std::string> names;
        for (std::size_t page = 0; page < pages; ++page) {
            names.push_back("font_" + std::string(page < 10 ? "0" : "") + std::to_string(page) +
                            ".png");
        }
        EXPECT_EQ(font.pages, names);
        names.push_back(format == DescriptorFormat::Json ? "font.json" : "font.fnt");
        std::sort(names.begin(), names.end());
        EXPECT_EQ(folder.entries(), names);

        EXPECT_EQ(font.info.at("spacing"), "3,3");
        EXPECT_EQ(font.order.size(), text.size());
        expectPagesHoldTheirCharacters(font, folder, 3);
    }
}

// Fit size: the descriptor's page size is the size the pages were written at, a power of two
// no larger than the project's texture, and holding every character.
TEST(BmfontPages, AFittedTextureIsThePageSizeTheDescriptorStates) {
    Project project = startupProject("DejaVu Sans");
    project.textureSize = {4096, 4096};
    project.packing = {PackerKind::Rows, 0, true, false};
    for (char32_t code = 32; code < 127; ++code) {
        project.glyphs.addCharacter(code);
    }
    FreetypeFontRenderer renderer;
    AtlasBuilder builder(renderer);
    const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
    ASSERT_EQ(result->glyphsOutsideTexture, 0u);

    TestFolder folder;
    const ExportReport report =
        exporterFor(DescriptorFormat::BmfontBinary)
            .write(folder.path("fit.fnt"), project, ExportSettings{}, *result);
    ASSERT_TRUE(report.ok()) << report.failures.front();
    const test::ReadFont font = test::readBmfont(readBytes(folder.path("fit.fnt")));
    ASSERT_EQ(font.error, "");
    const std::int64_t width = font.number("scaleW");
    const std::int64_t height = font.number("scaleH");
    EXPECT_TRUE(width > 0 && (width & (width - 1)) == 0) << width;
    EXPECT_TRUE(height > 0 && (height & (height - 1)) == 0) << height;
    // 95 characters of an 11-point face take far less than a 4096 x 4096 page.
    EXPECT_LE(width * height, 256 * 256);
    EXPECT_EQ(font.number("pages"), 1);
    EXPECT_EQ(font.info.at("spacing"), "0,0");
    EXPECT_EQ(font.order.size(), 95u);
    expectPagesHoldTheirCharacters(font, folder, 0);
}

}  // namespace
}  // namespace vemro
