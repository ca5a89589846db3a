#pragma once

#include <cstdint>

#include "engine/project/atlas_size.h"

namespace vemro {

// The most pages an atlas has, and the most page pixels all its pages have together (8 pages of
// 4096 x 4096): cells that would need more are left off the pages (placed below the last one,
// counted as outside it and never drawn), so that every project rebuilds in bounded time and
// memory whatever it asks for. kMaxAtlasPixels also bounds the ink a rebuild draws
// (cellsPastInkBudget). The largest case, 65,536 ideographs at 100 points "4x4" on 4096 x 4096
// pages, rebuilds and exports in about 4 s of CPU and 311 MB.
inline constexpr std::int32_t kMaxAtlasPages = 64;
inline constexpr std::int64_t kMaxAtlasPixels = std::int64_t{8} * 4096 * 4096;
// FreeType draws a distance field a thousand times slower per pixel than coverage (2 to 4 us a
// pixel of the field on the machine of docs/performance.md, more the larger the spread), so
// the fields of an atlas, each counted with the spread around its black box and line, are
// bounded by a thirty-second of that: 4 Mi pixels, some 2,800 glyphs at 32 pixels and spread 8,
// at most about 16 s of one core.
inline constexpr std::int64_t kMaxDistanceFieldPixels = kMaxAtlasPixels / 32;

// How many pages of the size an atlas may have: as many as kMaxAtlasPixels holds, at least one
// and at most kMaxAtlasPages.
constexpr std::int32_t maxPagesFor(AtlasSize page) {
    const std::int64_t pixels = std::int64_t{page.width > 0 ? page.width : 1} *
                                std::int64_t{page.height > 0 ? page.height : 1};
    const std::int64_t pages = kMaxAtlasPixels / pixels;
    return static_cast<std::int32_t>(pages < 1                ? 1
                                     : pages > kMaxAtlasPages ? kMaxAtlasPages
                                                              : pages);
}

// A rectangle to place: its width and height in atlas pixels. Widths may be negative (a cell
// whose negative character borders exceed its ink).
struct PackItem {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Where a packer put a rectangle: its page and its top-left corner on that page. The corner may
// lie outside the page (a rectangle that found no room on any page).
struct PackPosition {
    std::int32_t page = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const PackPosition&, const PackPosition&) = default;
};

// What every packer is given besides the rectangles.
struct PackOptions {
    // The size of every page.
    AtlasSize page;
    // Empty pixels between neighbouring rectangles; none is kept along the page's edges.
    std::int32_t spacing = 1;
    // Rectangles that do not fit start another page, up to maxPages pages; otherwise they are
    // placed below the page.
    bool multiplePages = false;
    std::int32_t maxPages = 1;
};

// Whether the rectangle can lie wholly on an empty page.
constexpr bool fitsOnPage(PackItem item, AtlasSize page) {
    return item.width <= page.width && item.height <= page.height;
}

}  // namespace vemro
