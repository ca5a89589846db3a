#include "engine/atlas/atlas_builder.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <unordered_set>

#include "engine/atlas/draw_cell.h"
#include "engine/atlas/ink_budget.h"
#include "engine/pack/pack_options.h"
#include "engine/pack/pack_rows.h"
#include "engine/pack/packer.h"

namespace vemro {

namespace {

// The fewest new characters a batch that draws holds.
constexpr std::size_t kLeastBatch = 8;
// How many cells are copied onto the pages between two looks at the cancel.
constexpr std::size_t kCellsBetweenLooks = 1024;

// Floor division for a positive divisor.
std::int32_t floorDiv(std::int32_t value, std::int32_t divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

}  // namespace

AtlasBuilder::AtlasBuilder(FontRenderer& renderer) : cache_(renderer) {}

AtlasBuilder::~AtlasBuilder() = default;

void AtlasBuilder::setThreadCount(int threads) {
    threads_ = threads;
}

void AtlasBuilder::place(const std::vector<PackPosition>& positions, AtlasResult& result) {
    for (std::size_t i = 0; i < positions.size(); ++i) {
        result.glyphs[i].page = positions[i].page;
        result.glyphs[i].x = positions[i].x;
        result.glyphs[i].y = positions[i].y;
    }
}

std::int32_t AtlasBuilder::placeCells(PackerKind packer, const std::vector<PackItem>& items,
                                      const PackOptions& options, AtlasResult& result) {
    std::vector<PackPosition> positions = packItems(packer, items, options);
    place(positions, result);
    const std::vector<std::size_t> past = cellsPastInkBudget(
        result.glyphs, options.page, kMaxAtlasPixels, result.encoding.spread);
    std::int32_t lastPage = 0;
    for (const PackPosition& position : positions) {
        lastPage = std::max(lastPage, position.page);
    }
    if (!past.empty()) {
        // Below the lowest cell of the last page.
        std::int32_t top = options.page.height;
        for (const PlacedGlyph& cell : result.glyphs) {
            if (cell.page == lastPage) {
                top = std::max(top, cell.y + std::max(cell.height, 0));
            }
        }
        placeBelowPage(items, past, options, lastPage, positions, top + options.spacing);
        place(positions, result);
    }
    return lastPage + 1;
}

std::unordered_set<char32_t> AtlasBuilder::unknownCharacters(const GlyphList& glyphs,
                                                             const InkForm& form) const {
    std::unordered_set<char32_t> unknown;
    for (const Glyph& glyph : glyphs) {
        if (!cache_.knows(glyph.code) || !cache_.hasInk(glyph.code, form)) {
            unknown.insert(glyph.code);
        }
    }
    return unknown;
}

std::shared_ptr<const AtlasResult> AtlasBuilder::rebuild(const Project& project,
                                                         RebuildControl* control) {
    const std::int32_t factor = drawingFactor(project);
    const EffectSettings effects = appliedEffects(project.effects);
    const AtlasEncoding encoding = atlasEncodingFor(effects);
    const EffectPadding padding = effectPadding(effects);
    const bool anyEffect = encoding.kind != AtlasKind::Coverage;
    const std::int32_t outlineWidth = effects.outline ? effects.outlineWidth : 0;
    const AtlasSize largest = project.textureSize;
    const PackingSettings& packing = project.packing;
    const FontBorders& borders = project.fontBorders;
    InkForm form{factor, std::nullopt};
    if (const std::optional<field::FieldKind> kind = encoding.fieldKind()) {
        form.field = FieldForm{*kind, encoding.spread};
    }
    cache_.useFont(fontRequestFor(project));

    // Every character the list has that is not known in this form yet counts once, when it is
    // first measured or drawn.
    std::unordered_set<char32_t> uncounted;
    if (control != nullptr) {
        uncounted = unknownCharacters(project.glyphs, form);
        control->start(uncounted.size(), form.field.has_value());
    }
    const LearnWatch watch{control, control != nullptr ? &uncounted : nullptr};
    const auto cancelled = [control] { return control != nullptr && control->cancelled(); };

    auto result = std::make_shared<AtlasResult>();
    result->encoding = encoding;
    result->factor = factor;
    result->fontBorders = borders;
    result->effects = effects;
    result->effectPadding = padding;
    result->spacing = packing.spacing;
    result->lineHeight = cache_.lineHeight() / factor;
    result->ascent = static_cast<double>(cache_.ascent()) / factor;
    result->lineSpacing = static_cast<double>(cache_.lineHeight()) / factor;
    result->fontName = cache_.fontName();
    result->fontCharacters = cache_.fontCharacters();
    result->fontProblem = cache_.fontProblem();

    const std::int32_t cellHeight =
        result->lineHeight + borders.top + borders.bottom + padding.top + padding.bottom;
    // Whether a character shows is guessed by area before packing: characters are drawn at once
    // while the cells so far, with their spacing, cover less than the pages can hold; later ones
    // are only measured. Drawing decides nothing: every character whose cell shows is drawn
    // when the pages are drawn.
    const std::int64_t pageArea = std::int64_t{largest.width} * largest.height;
    const std::int64_t budget = std::min(
        packing.multiplePages ? pageArea * maxPagesFor(largest) : pageArea, kMaxAtlasPixels);
    learnWidths(project, form, borders.left + borders.right + padding.left + padding.right,
                std::int64_t{std::max(cellHeight, 0)} + packing.spacing, packing.spacing, budget,
                outlineWidth, watch);
    if (cancelled()) {
        return nullptr;
    }
    result->glyphs = measure(project, factor, result->lineHeight, padding, anyEffect);
    // Colour glyphs need colour pages; the monochrome glyphs beside them are white ink.
    if (result->encoding.kind == AtlasKind::Coverage &&
        std::any_of(result->glyphs.begin(), result->glyphs.end(),
                    [](const PlacedGlyph& cell) { return cell.colour; })) {
        result->encoding = AtlasEncoding{AtlasKind::Colour, 4, 0};
    }

    std::vector<PackItem> items;
    items.reserve(result->glyphs.size());
    for (const PlacedGlyph& cell : result->glyphs) {
        items.push_back(PackItem{cell.width, cell.height});
    }
    const AtlasSize texture =
        packing.fitSize ? fitTextureSize(packing.packer, items, packing.spacing, largest) : largest;
    result->textureSize = texture;
    PackOptions options;
    options.page = texture;
    options.spacing = packing.spacing;
    options.multiplePages = packing.multiplePages;
    options.maxPages = maxPagesFor(texture);
    const std::int32_t pageCount = placeCells(packing.packer, items, options, *result);
    result->pages.resize(static_cast<std::size_t>(pageCount));
    for (AtlasPage& page : result->pages) {
        page.width = texture.width;
        page.height = texture.height;
        page.channels = result->encoding.channels;
    }
    if (cancelled() || !draw(form, borders.top + padding.top, *result, watch)) {
        return nullptr;
    }
    if (project.kerning) {
        result->kerning = cache_.kerning(project.glyphs);
    }
    return result;
}

void AtlasBuilder::learnWidths(const Project& project, const InkForm& form, std::int32_t extraWidth,
                               std::int64_t rowsTaken, std::int32_t spacing, std::int64_t budget,
                               std::int32_t outlineWidth, const LearnWatch& watch) {
    const GlyphList& glyphs = project.glyphs;
    const std::int32_t factor = form.factor;
    // A cell narrower than its ink (negative character borders) counts its ink's width, so that
    // the guess draws no more ink than the pages could hold.
    const auto areaOf = [&](const Glyph& glyph) {
        const std::int32_t ink = std::abs(cache_.metrics(glyph.code).b) / factor;
        const std::int32_t width = ink + extraWidth + glyph.charBorderLeft + glyph.charBorderRight;
        return (std::int64_t{std::max({width, ink, 0})} + spacing) * rowsTaken;
    };
    std::size_t known = 0;  // the glyphs before this one are known and counted in `area`
    std::int64_t area = 0;
    std::vector<char32_t> batch;
    std::unordered_set<char32_t> batched;
    for (;;) {
        while (known < glyphs.size() && cache_.knows(glyphs[known].code)) {
            area += areaOf(glyphs[known]);
            ++known;
        }
        if (known == glyphs.size() || (watch.control != nullptr && watch.control->cancelled())) {
            return;
        }
        // Characters are learnt in batches on all threads. While the area is not spent, a batch
        // holds about as many new characters as the rest of it is likely to take, judged by the
        // cells so far (at first by square cells), and they are drawn; after that every
        // remaining one is only measured.
        const bool draw = area < budget;
        std::size_t size = std::numeric_limits<std::size_t>::max();
        if (draw && known == 0 && rowsTaken > 0) {
            size = static_cast<std::size_t>(budget / (rowsTaken * rowsTaken) + 1);
        } else if (draw && area > 0) {
            size = static_cast<std::size_t>(
                (budget - area) * static_cast<std::int64_t>(known) / area + 1);
        }
        size = std::max(size, kLeastBatch);
        batch.clear();
        batched.clear();
        for (std::size_t i = known; i < glyphs.size() && batch.size() < size; ++i) {
            const char32_t code = glyphs[i].code;
            if (!cache_.knows(code) && batched.insert(code).second) {
                batch.push_back(code);
            }
        }
        cache_.learn(batch, draw, form, threads(), outlineWidth, watch);
    }
}

std::vector<PlacedGlyph> AtlasBuilder::measure(const Project& project, std::int32_t factor,
                                               std::int32_t lineHeight,
                                               const EffectPadding& padding, bool wholeInk) const {
    const FontBorders& borders = project.fontBorders;
    const std::int32_t extraWidth = borders.left + borders.right + padding.left + padding.right;
    const std::int32_t extraHeight = borders.top + borders.bottom + padding.top + padding.bottom;
    const bool trim = project.packing.trimToInk;
    // Cells hold the ink's width in whole atlas pixels, truncated as they always were; with
    // effects, whose layers reach past the ink, and trimmed to the ink, rounded up so that none
    // of it is cut.
    const std::int32_t round = wholeInk || trim ? factor - 1 : 0;
    std::vector<PlacedGlyph> cells;
    cells.reserve(project.glyphs.size());
    for (const Glyph& glyph : project.glyphs) {
        const GlyphMetrics metrics = cache_.metrics(glyph.code);
        const GlyphInfo& info = cache_.info(glyph.code);
        PlacedGlyph cell;
        cell.code = glyph.code;
        cell.lineRows = lineHeight;
        cell.width = (std::abs(metrics.b) + round) / factor + extraWidth + glyph.charBorderLeft +
                     glyph.charBorderRight;
        cell.height = lineHeight + extraHeight;
        cell.inkLeft = borders.left + glyph.charBorderLeft + padding.left;
        // A cell trimmed to the ink holds the atlas rows its ink's rows reduce to; a glyph
        // without ink, which no effect reaches past, only its borders.
        if (trim && metrics.height > 0) {
            cell.lineTop = floorDiv(metrics.top, factor);
            cell.lineRows = floorDiv(metrics.top + metrics.height - 1, factor) + 1 - cell.lineTop;
            cell.height = cell.lineRows + extraHeight;
        } else if (trim) {
            cell.lineRows = 0;
            cell.width =
                borders.left + borders.right + glyph.charBorderLeft + glyph.charBorderRight;
            cell.height = borders.top + borders.bottom;
            cell.inkLeft -= padding.left;
        }
        cell.a = static_cast<double>(metrics.a) / factor;
        cell.b = static_cast<double>(metrics.b) / factor;
        cell.advance = static_cast<double>(info.advance) / 64.0 / factor;
        cell.glyphIndex = info.index;
        cell.colour = info.colour;
        cells.push_back(cell);
    }
    return cells;
}

bool AtlasBuilder::draw(const InkForm& form, std::int32_t inkTop, AtlasResult& result,
                        const LearnWatch& watch) {
    const EffectSettings& effects = result.effects;
    const bool colour = result.encoding.kind == AtlasKind::Colour;
    const std::int32_t outlineWidth = effects.outline ? effects.outlineWidth : 0;
    // The ink of every character that shows, reduced on all threads first, and with colour
    // effects composed.
    std::vector<char32_t> showing;
    std::unordered_set<char32_t> listed;
    for (const PlacedGlyph& cell : result.glyphs) {
        if (!visiblePart(cell, result.pages[static_cast<std::size_t>(cell.page)]).empty() &&
            (colour || !cache_.hasInk(cell.code, form)) && listed.insert(cell.code).second) {
            showing.push_back(cell.code);
        }
    }
    cache_.learn(showing, true, form, threads(), outlineWidth, watch);
    const Rgb clear = transparentColour(effects);
    if (colour) {
        colourInks_.prepare(showing, cache_, effects, form.factor, threads(), watch.control);
    }

    const auto stop = [&watch] { return watch.control != nullptr && watch.control->cancelled(); };
    for (AtlasPage& page : result.pages) {
        if (stop()) {
            return false;
        }
        const auto size = static_cast<std::size_t>(page.width) * page.height;
        if (!colour) {
            page.pixels.assign(size * static_cast<std::size_t>(page.channels), 0);
            continue;
        }
        // One transparent pixel, then the filled part doubled until the page is full.
        page.pixels.resize(size * 4);
        if (size > 0) {
            page.pixels[0] = clear.red;
            page.pixels[1] = clear.green;
            page.pixels[2] = clear.blue;
            page.pixels[3] = 0;
        }
        for (std::size_t filled = 4; filled < page.pixels.size(); filled *= 2) {
            std::copy_n(page.pixels.begin(), std::min(filled, page.pixels.size() - filled),
                        page.pixels.begin() + static_cast<std::ptrdiff_t>(filled));
        }
    }
    for (std::size_t i = 0; i < result.glyphs.size(); ++i) {
        // The cancel is looked at every so many cells: copying them takes moments.
        if (i % kCellsBetweenLooks == 0 && stop()) {
            return false;
        }
        const PlacedGlyph& cell = result.glyphs[i];
        AtlasPage& page = result.pages[static_cast<std::size_t>(cell.page)];
        if (cellLeavesPage(cell, page)) {
            ++result.glyphsOutsideTexture;
        }
        const VisibleCell visible = visiblePart(cell, page);
        if (visible.empty()) {
            continue;
        }
        // The borders are whole atlas pixels, so the ink reduced once for this factor lands on
        // the cell unchanged, its vertical offset counted from the bottom of the top border and
        // the effects' padding, where the line's row lineTop lies.
        const std::int32_t lineRow = inkTop - cell.lineTop;
        if (colour) {
            const ColourInk& ink = colourInks_.ink(cell.code);
            drawColourCell(cell, visible, ink, lineRow + ink.top, clear, page);
            continue;
        }
        const ReducedInk& ink = cache_.reducedInk(cell.code);
        drawCell(cell, visible, ink, lineRow + ink.top, page);
    }
    return true;
}

}  // namespace vemro
