// The rebuild against the way it is defined: every cell measured from its character's ink and
// placed by the project's packer, and every cell that shows drawn into a supersampled buffer of
// its own and reduced sample by sample onto its page. The builder reduces each character's ink
// once and copies it into cells, keeps what it knows across rebuilds, measures characters
// outside the pages without drawing them and draws on several threads; none of that may change
// a pixel.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "engine/atlas/atlas_builder.h"
#include "engine/pack/packer.h"
#include "engine/raster/cell_reducer.h"
#include "tests/fake_font_renderer.h"

namespace vemro {
namespace {

using testing::FakeFontRenderer;

struct Reference {
    std::vector<PlacedGlyph> cells;  // code, place and size only
    std::vector<AtlasPage> pages;
    std::size_t outside = 0;
};

// One cell drawn at the factor's size and reduced into the page, one sample at a time.
void drawReferenceCell(const PlacedGlyph& cell, const GlyphImage& image, int borderTop, int f,
                       AtlasPage& page) {
    const int width = cell.width * f;
    const int height = cell.height * f;
    std::vector<int> samples(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const int sx = cell.inkLeft * f + x;
            const int sy = borderTop * f + image.top + y;
            if (sx >= 0 && sx < width && sy >= 0 && sy < height) {
                samples[static_cast<std::size_t>(sy) * width + sx] =
                    image.pixels[static_cast<std::size_t>(y) * image.width + x];
            }
        }
    }
    for (int j = 0; j < cell.height; ++j) {
        for (int k = 0; k < cell.width; ++k) {
            const int px = cell.x + k;
            const int py = cell.y + j;
            if (px < 0 || px >= page.width || py < 0 || py >= page.height) {
                continue;
            }
            int sum = 0;
            for (int dy = 0; dy < f; ++dy) {
                for (int dx = 0; dx < f; ++dx) {
                    sum += kReductionKernels[f][dy][dx] *
                           samples[static_cast<std::size_t>(j * f + dy) * width + k * f + dx];
                }
            }
            page.pixels[static_cast<std::size_t>(py) * page.width + px] =
                static_cast<std::uint8_t>(sum / kReductionDivisors[f]);
        }
    }
}

Reference referenceAtlas(const Project& project, const FakeFontRenderer& renderer) {
    const int f = std::clamp(project.font.factor, 1, 4);
    const FontBorders borders = project.fontBorders;
    Reference reference;
    std::vector<PackItem> items;
    for (const Glyph& glyph : project.glyphs) {
        PlacedGlyph cell;
        cell.code = glyph.code;
        cell.width = std::abs(renderer.imageOf(glyph.code).b) / f + borders.left + borders.right +
                     glyph.charBorderLeft + glyph.charBorderRight;
        cell.height = *renderer.lineHeightValue / f + borders.top + borders.bottom;
        cell.inkLeft = borders.left + glyph.charBorderLeft;
        reference.cells.push_back(cell);
        items.push_back({cell.width, cell.height});
    }
    PackOptions rows;
    rows.page = project.textureSize;
    const PackingSettings& packing = project.packing;
    rows.page = packing.fitSize
                    ? fitTextureSize(packing.packer, items, packing.spacing, project.textureSize)
                    : project.textureSize;
    rows.spacing = packing.spacing;
    rows.multiplePages = packing.multiplePages;
    rows.maxPages = maxPagesFor(rows.page);
    const std::vector<PackPosition> positions = packItems(packing.packer, items, rows);
    AtlasPage blank;
    blank.width = rows.page.width;
    blank.height = rows.page.height;
    blank.pixels.assign(static_cast<std::size_t>(blank.width) * blank.height, 0);
    for (std::size_t i = 0; i < reference.cells.size(); ++i) {
        PlacedGlyph& cell = reference.cells[i];
        cell.page = positions[i].page;
        cell.x = positions[i].x;
        cell.y = positions[i].y;
        reference.pages.resize(std::max<std::size_t>(reference.pages.size(), cell.page + 1u),
                               blank);
        reference.outside += cell.x < 0 || cell.y < 0 || cell.x + cell.width > blank.width ||
                             cell.y + cell.height > blank.height;
    }
    reference.pages.resize(std::max<std::size_t>(reference.pages.size(), 1), blank);
    for (const PlacedGlyph& cell : reference.cells) {
        if (cell.width > 0 && cell.height > 0) {
            drawReferenceCell(cell, renderer.imageOf(cell.code), borders.top, f,
                              reference.pages[static_cast<std::size_t>(cell.page)]);
        }
    }
    return reference;
}

void expectMatchesReference(const AtlasResult& result, const Project& project,
                            const FakeFontRenderer& renderer) {
    const Reference reference = referenceAtlas(project, renderer);
    ASSERT_EQ(result.glyphs.size(), reference.cells.size());
    for (std::size_t i = 0; i < reference.cells.size(); ++i) {
        const PlacedGlyph& actual = result.glyphs[i];
        const PlacedGlyph& expected = reference.cells[i];
        ASSERT_EQ(actual.code, expected.code) << i;
        ASSERT_EQ(std::vector({actual.page, actual.x, actual.y, actual.width, actual.height,
                               actual.inkLeft}),
                  std::vector({expected.page, expected.x, expected.y, expected.width,
                               expected.height, expected.inkLeft}))
            << "glyph " << i;
    }
    ASSERT_EQ(result.pages, reference.pages);
    ASSERT_EQ(result.glyphsOutsideTexture, reference.outside);
}

GlyphImage randomImage(std::mt19937& random) {
    std::uniform_int_distribution<int> width(1, 19);
    std::uniform_int_distribution<int> height(1, 27);
    std::uniform_int_distribution<int> top(-7, 20);
    std::uniform_int_distribution<int> level(0, 255);
    std::uniform_int_distribution<int> oneIn(0, 9);
    if (oneIn(random) == 0) {
        return GlyphImage{};  // no ink: one pixel wide, nothing to draw
    }
    GlyphImage image = FakeFontRenderer::solidImage(0, width(random), top(random), height(random));
    for (std::uint8_t& value : image.pixels) {
        value = oneIn(random) < 3 ? 0 : static_cast<std::uint8_t>(level(random));
    }
    return image;
}

TEST(AtlasAgainstReference, RandomInkBordersTexturesFactorsAndPackingOverSuccessiveRebuilds) {
    std::mt19937 random(20240611);
    std::size_t mostPages = 0;
    for (int round = 0; round < 12; ++round) {
        FakeFontRenderer renderer;
        renderer.measures = round % 3 != 0;
        std::uniform_int_distribution<int> lineHeight(6, 44);
        renderer.lineHeightValue = lineHeight(random);
        // Characters of one byte and beyond it.
        std::vector<char32_t> codes;
        std::uniform_int_distribution<int> code(0, 400);
        for (int i = 0; i < 36; ++i) {
            codes.push_back(static_cast<char32_t>(code(random)));
        }
        codes.push_back(0x1F600);
        codes.push_back(0x20AC);
        for (char32_t c : codes) {
            renderer.setImage(c, randomImage(random));
        }
        AtlasBuilder builder(renderer);
        Project project = startupProject("Fake Sans");
        std::uniform_int_distribution<std::size_t> pick(0, codes.size() - 1);
        for (int i = 0; i < 60; ++i) {
            project.glyphs.append(Glyph{codes[pick(random)]});
        }
        std::uniform_int_distribution<int> factor(1, 4);
        project.font.factor = factor(random);
        // Each step changes one thing the way the window does and rebuilds with the same
        // builder: the texture, the borders and the character borders keep the font, a new
        // factor makes a new one.
        const int sides[] = {17, 64, 100, 256, 512};
        std::uniform_int_distribution<int> side(0, 4);
        std::uniform_int_distribution<int> border(0, 3);
        std::uniform_int_distribution<int> charBorder(-6, 4);
        std::uniform_int_distribution<std::size_t> index(0, 59);
        std::uniform_int_distribution<int> spacing(0, 4);
        for (int step = 0; step < 10; ++step) {
            switch (step % 5) {
                case 0:
                    project.textureSize = {sides[side(random)], sides[side(random)]};
                    break;
                case 1:
                    project.fontBorders = {border(random), border(random), border(random),
                                           border(random)};
                    break;
                case 2: {
                    Glyph* glyph = project.glyphs.glyphAt(index(random));
                    glyph->charBorderLeft = charBorder(random);
                    glyph->charBorderRight = charBorder(random);
                    break;
                }
                case 3:
                    project.font.factor = factor(random);
                    break;
                default:
                    project.packing = PackingSettings{
                        spacing(random) % 2 == 0 ? PackerKind::Rows : PackerKind::Tight,
                        spacing(random), spacing(random) % 2 == 0, spacing(random) % 2 == 0};
                    break;
            }
            const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
            SCOPED_TRACE(::testing::Message() << "round " << round << " step " << step);
            expectMatchesReference(*result, project, renderer);
            mostPages = std::max(mostPages, result->pages.size());
        }
    }
    EXPECT_GT(mostPages, 2u);  // the cases reach several pages
}

TEST(AtlasAgainstReference, OverlappingCellsOfNegativeWidthLeaveTheLaterCellOnTop) {
    FakeFontRenderer renderer;
    renderer.lineHeightValue = 12;
    renderer.setImage('A', FakeFontRenderer::solidImage(0, 9, 1, 9, 200));
    renderer.setImage('B', FakeFontRenderer::solidImage(0, 4, 3, 5, 90));
    renderer.setImage('C', FakeFontRenderer::solidImage(0, 9, 4, 6, 60));
    AtlasBuilder builder(renderer);
    Project project = startupProject("Fake Sans");
    project.glyphs.addCharacter('A');
    project.glyphs.addCharacter('B');
    project.glyphs.addCharacter('C');
    // B's negative width moves the pen back, so C starts inside A and covers part of it.
    project.glyphs.glyphAt(1)->charBorderLeft = -8;
    project.textureSize = {64, 64};
    for (int f = 1; f <= 4; ++f) {
        project.font.factor = f;
        const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
        ASSERT_LT(result->glyphs[2].x, result->glyphs[0].x + result->glyphs[0].width);
        expectMatchesReference(*result, project, renderer);
    }
}

}  // namespace
}  // namespace vemro
