#include "engine/pack/pack_rows.h"

#include <algorithm>

namespace vemro {

namespace {

// The pen of the row rule: it moves right by each width and the spacing, and down by the
// tallest rectangle so far (never reset, on any row) and the spacing when a rectangle would pass
// the right edge.
struct RowPen {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t tallest = 0;

    // Starts a new row when the rectangle would pass the right edge; true when it did.
    bool makeRoom(PackItem item, const PackOptions& options) {
        tallest = std::max(tallest, item.height);
        if (x + item.width > options.page.width) {
            x = 0;
            y += tallest + options.spacing;
            return true;
        }
        return false;
    }

    void advance(PackItem item, const PackOptions& options) { x += item.width + options.spacing; }
};

}  // namespace

std::vector<PackPosition> packRows(const std::vector<PackItem>& items, const PackOptions& options) {
    std::vector<PackPosition> positions(items.size());
    std::vector<std::size_t> leftOver;
    RowPen pen;
    std::int32_t page = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const PackItem item = items[i];
        if (options.multiplePages && !fitsOnPage(item, options.page)) {
            leftOver.push_back(i);
            continue;
        }
        pen.makeRoom(item, options);
        if (options.multiplePages && pen.y + item.height > options.page.height) {
            if (page + 1 >= options.maxPages) {
                for (std::size_t rest = i; rest < items.size(); ++rest) {
                    leftOver.push_back(rest);
                }
                break;
            }
            ++page;
            pen.x = 0;
            pen.y = 0;
        }
        positions[i] = PackPosition{page, pen.x, pen.y};
        pen.advance(item, options);
    }
    placeBelowPage(items, leftOver, options, page, positions);
    return positions;
}

void placeBelowPage(const std::vector<PackItem>& items, const std::vector<std::size_t>& indices,
                    const PackOptions& options, std::int32_t page,
                    std::vector<PackPosition>& positions, std::int32_t top) {
    RowPen pen;
    pen.y = top >= options.page.height ? top : options.page.height + options.spacing;
    for (const std::size_t i : indices) {
        pen.makeRoom(items[i], options);
        positions[i] = PackPosition{page, pen.x, pen.y};
        pen.advance(items[i], options);
    }
}

}  // namespace vemro
