#include "engine/atlas/draw_cell.h"

#include <algorithm>

namespace vemro {

VisibleCell visiblePart(const PlacedGlyph& cell, const AtlasPage& page) {
    if (cell.width <= 0 || cell.height <= 0) {
        return {};
    }
    // Work in 64 bits: positions and sizes of cells can be far apart.
    const std::int64_t x = cell.x;
    const std::int64_t y = cell.y;
    const auto clampTo = [](std::int64_t value, std::int32_t end) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, end));
    };
    VisibleCell visible;
    visible.firstColumn = clampTo(-x, cell.width);
    visible.endColumn = clampTo(page.width - x, cell.width);
    visible.firstRow = clampTo(-y, cell.height);
    visible.endRow = clampTo(page.height - y, cell.height);
    return visible;
}

bool cellLeavesPage(const PlacedGlyph& cell, const AtlasPage& page) {
    return cell.x < 0 || cell.y < 0 || std::int64_t{cell.x} + cell.width > page.width ||
           std::int64_t{cell.y} + cell.height > page.height;
}

void drawCell(const PlacedGlyph& cell, const VisibleCell& visible, const ReducedInk& ink,
              std::int32_t inkTop, AtlasPage& page) {
    const std::int64_t channels = page.channels;
    const std::int32_t inkLeft = cell.inkLeft + ink.left;
    const std::int32_t inkBegin = std::clamp(inkLeft, visible.firstColumn, visible.endColumn);
    // Ink of other channels than the page's counts as none.
    const std::int32_t inkEnd = ink.channels == page.channels
                                    ? std::clamp(inkLeft + ink.width, inkBegin, visible.endColumn)
                                    : inkBegin;
    // Cell column c of row j starts at this byte of the page, pixel (cell.x + c, cell.y + j).
    const auto at = [&](std::int32_t j, std::int32_t column) {
        return page.pixels.begin() +
               static_cast<std::ptrdiff_t>(
                   (static_cast<std::int64_t>(cell.y + j) * page.width + cell.x + column) *
                   channels);
    };
    for (std::int32_t j = visible.firstRow; j < visible.endRow; ++j) {
        if (j < inkTop || j >= inkTop + ink.height || inkBegin == inkEnd) {
            std::fill(at(j, visible.firstColumn), at(j, visible.endColumn), std::uint8_t{0});
            continue;
        }
        const auto source =
            ink.pixels.begin() +
            static_cast<std::ptrdiff_t>(
                (static_cast<std::int64_t>(j - inkTop) * ink.width + (inkBegin - inkLeft)) *
                channels);
        std::fill(at(j, visible.firstColumn), at(j, inkBegin), std::uint8_t{0});
        std::copy(source, source + (inkEnd - inkBegin) * channels, at(j, inkBegin));
        std::fill(at(j, inkEnd), at(j, visible.endColumn), std::uint8_t{0});
    }
}

void drawColourCell(const PlacedGlyph& cell, const VisibleCell& visible, const ColourInk& ink,
                    std::int32_t inkTop, Rgb clear, AtlasPage& page) {
    const std::int32_t inkLeft = cell.inkLeft + ink.left;
    const std::int32_t inkBegin = std::clamp(inkLeft, visible.firstColumn, visible.endColumn);
    const std::int32_t inkEnd = std::clamp(inkLeft + ink.width, inkBegin, visible.endColumn);
    const std::uint8_t transparent[4] = {clear.red, clear.green, clear.blue, 0};
    // Byte offset of cell column c of row j on the page.
    const auto at = [&](std::int32_t j, std::int32_t column) {
        return page.pixels.begin() +
               static_cast<std::ptrdiff_t>(
                   (static_cast<std::int64_t>(cell.y + j) * page.width + cell.x + column) * 4);
    };
    const auto clearColumns = [&](std::int32_t j, std::int32_t begin, std::int32_t end) {
        for (auto pixel = at(j, begin); pixel != at(j, end); pixel += 4) {
            std::copy(transparent, transparent + 4, pixel);
        }
    };
    for (std::int32_t j = visible.firstRow; j < visible.endRow; ++j) {
        if (j < inkTop || j >= inkTop + ink.height || inkBegin == inkEnd) {
            clearColumns(j, visible.firstColumn, visible.endColumn);
            continue;
        }
        const auto source =
            ink.pixels.begin() +
            static_cast<std::ptrdiff_t>(
                (static_cast<std::int64_t>(j - inkTop) * ink.width + (inkBegin - inkLeft)) * 4);
        clearColumns(j, visible.firstColumn, inkBegin);
        std::copy(source, source + (inkEnd - inkBegin) * 4, at(j, inkBegin));
        clearColumns(j, inkEnd, visible.endColumn);
    }
}

}  // namespace vemro
