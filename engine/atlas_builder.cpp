#include "engine/atlas_builder.h"

#include <algorithm>
#include <cstdlib>

#include "engine/draw_cell.h"
#include "engine/row_packer.h"

namespace vemro {

AtlasBuilder::AtlasBuilder(FontRenderer& renderer) : cache_(renderer) {}

AtlasBuilder::~AtlasBuilder() = default;

std::shared_ptr<const AtlasResult> AtlasBuilder::rebuild(const Project& project) {
    const std::int32_t factor =
        std::clamp(project.font.factor, FontSettings::kMinFactor, FontSettings::kMaxFactor);
    const auto side = [](std::int32_t value) { return std::clamp(value, 1, AtlasSize::kMaxSide); };
    const AtlasSize texture{side(project.textureSize.width), side(project.textureSize.height)};
    const FontBorders& borders = project.fontBorders;
    cache_.useFont(fontRequestFor(project));

    auto result = std::make_shared<AtlasResult>();
    result->textureSize = texture;
    result->factor = factor;
    result->fontBorders = borders;
    result->lineHeight = cache_.lineHeight() / factor;
    result->ascent = static_cast<double>(cache_.ascent()) / factor;
    result->lineSpacing = static_cast<double>(cache_.lineHeight()) / factor;
    result->fontName = cache_.fontName();
    result->fontCharacters = cache_.fontCharacters();
    result->fontProblem = cache_.fontProblem();
    if (project.exportSettings.kerning) {
        result->kerning = cache_.kerning(project.glyphs);
    }

    result->glyphs =
        measure(project, factor, texture, result->lineHeight + borders.top + borders.bottom);
    std::vector<PackItem> items;
    items.reserve(result->glyphs.size());
    for (const PlacedGlyph& cell : result->glyphs) {
        items.push_back(PackItem{cell.width, cell.height});
    }
    const std::vector<PackPosition> positions = packRows(items, texture);
    for (std::size_t i = 0; i < positions.size(); ++i) {
        result->glyphs[i].page = positions[i].page;
        result->glyphs[i].x = positions[i].x;
        result->glyphs[i].y = positions[i].y;
    }

    AtlasPage page;
    page.width = texture.width;
    page.height = texture.height;
    page.pixels.assign(static_cast<std::size_t>(texture.width) * texture.height, 0);
    result->pages.push_back(std::move(page));
    draw(factor, borders.top, *result);
    return result;
}

std::vector<PlacedGlyph> AtlasBuilder::measure(const Project& project, std::int32_t factor,
                                               AtlasSize texture, std::int32_t cellHeight) {
    const FontBorders& borders = project.fontBorders;
    const std::int32_t extraWidth = borders.left + borders.right;
    // Measuring does not pack, so whether a character will show is guessed by area: while the
    // cells so far, with their one-pixel gaps, cover less than the page, the next character is
    // drawn at once; past that it is only measured. Drawing decides nothing: every character
    // whose cell shows is drawn when the page is drawn.
    const std::int64_t pageArea = std::int64_t{texture.width} * texture.height;
    const std::int64_t rowsTaken = std::int64_t{std::max(cellHeight, 0)} + 1;
    std::int64_t areaTaken = 0;
    std::vector<PlacedGlyph> cells;
    cells.reserve(project.glyphs.size());
    for (const Glyph& glyph : project.glyphs) {
        const GlyphMetrics metrics = cache_.metrics(glyph.code, areaTaken < pageArea);
        const GlyphInfo& info = cache_.info(glyph.code);
        PlacedGlyph cell;
        cell.code = glyph.code;
        cell.width = std::abs(metrics.b) / factor + extraWidth + glyph.charBorderLeft +
                     glyph.charBorderRight;
        cell.height = cellHeight;
        cell.inkLeft = borders.left + glyph.charBorderLeft;
        cell.a = static_cast<double>(metrics.a) / factor;
        cell.b = static_cast<double>(metrics.b) / factor;
        cell.advance = static_cast<double>(info.advance) / 64.0 / factor;
        cell.glyphIndex = info.index;
        areaTaken += (std::int64_t{std::max(cell.width, 0)} + 1) * rowsTaken;
        cells.push_back(cell);
    }
    return cells;
}

void AtlasBuilder::draw(std::int32_t factor, std::int32_t borderTop, AtlasResult& result) {
    AtlasPage& page = result.pages.front();
    for (const PlacedGlyph& cell : result.glyphs) {
        if (cellLeavesPage(cell, page)) {
            ++result.glyphsOutsideTexture;
        }
        const VisibleCell visible = cell.page == 0 ? visiblePart(cell, page) : VisibleCell{};
        if (visible.empty()) {
            continue;
        }
        // The borders are whole atlas pixels, so the ink reduced once for this factor lands on
        // the cell unchanged, its vertical offset counted from the bottom of the top border.
        const ReducedInk& ink = cache_.reducedInk(cell.code, factor);
        drawCell(cell, visible, ink, borderTop + ink.top, page);
    }
}

}  // namespace vemro
