#include "engine/row_packer.h"

#include <algorithm>

namespace vemro {

std::vector<PackPosition> packRows(const std::vector<PackItem>& items, AtlasSize texture) {
    std::vector<PackPosition> positions;
    positions.reserve(items.size());
    std::int32_t x = 0;
    std::int32_t y = 0;
    // The tallest rectangle placed so far, on any row: it is never reset when a row starts.
    std::int32_t tallest = 0;
    for (const PackItem& item : items) {
        tallest = std::max(tallest, item.height);
        if (x + item.width > texture.width) {
            x = 0;
            y += tallest + 1;
        }
        positions.push_back(PackPosition{0, x, y});
        // A negative width moves the pen back, so the next rectangle may overlap this one.
        x += item.width + 1;
    }
    return positions;
}

}  // namespace vemro
