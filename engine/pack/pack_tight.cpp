#include "engine/pack/pack_tight.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <numeric>

#include "engine/pack/pack_rows.h"

namespace vemro {

namespace {

// stb_rect_pack sorts with qsort, which may order equal rectangles either way; this sort keeps
// them in the order given, so that equal cells land in list order on every C library.
void stableSort(void* base, std::size_t count, std::size_t size,
                int (*compare)(const void*, const void*)) {
    auto* bytes = static_cast<unsigned char*>(base);
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return compare(bytes + a * size, bytes + b * size) < 0;
    });
    std::vector<unsigned char> sorted(count * size);
    for (std::size_t i = 0; i < count; ++i) {
        std::memcpy(sorted.data() + i * size, bytes + order[i] * size, size);
    }
    if (count > 0) {
        std::memcpy(bytes, sorted.data(), count * size);
    }
}

}  // namespace

}  // namespace vemro

#define STBRP_SORT vemro::stableSort
#define STB_RECT_PACK_IMPLEMENTATION
#include <stb/stb_rect_pack.h>

namespace vemro {

std::vector<PackPosition> packTight(const std::vector<PackItem>& items,
                                    const PackOptions& options) {
    std::vector<PackPosition> positions(items.size());
    const std::int32_t spacing = options.spacing;
    const std::int32_t width = options.page.width + spacing;
    const std::int32_t height = options.page.height + spacing;

    std::vector<std::size_t> leftOver;
    std::vector<stbrp_rect> waiting;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const PackItem item = items[i];
        if (item.width <= 0 || item.height <= 0) {
            continue;  // (0, 0) on page 0
        }
        if (!fitsOnPage(item, options.page)) {
            leftOver.push_back(i);
            continue;
        }
        stbrp_rect rect{};
        rect.id = static_cast<int>(i);
        rect.w = item.width + spacing;
        rect.h = item.height + spacing;
        waiting.push_back(rect);
    }

    // One skyline node per column, so that widths are never rounded up.
    std::vector<stbrp_node> nodes(static_cast<std::size_t>(width));
    std::int32_t page = 0;
    while (!waiting.empty()) {
        stbrp_context context;
        stbrp_init_target(&context, width, height, nodes.data(), width);
        stbrp_pack_rects(&context, waiting.data(), static_cast<int>(waiting.size()));
        std::vector<stbrp_rect> next;
        for (const stbrp_rect& rect : waiting) {
            if (rect.was_packed != 0) {
                positions[static_cast<std::size_t>(rect.id)] = PackPosition{page, rect.x, rect.y};
            } else {
                next.push_back(rect);
            }
        }
        waiting = std::move(next);
        if (waiting.empty()) {
            break;
        }
        if (!options.multiplePages || page + 1 >= options.maxPages) {
            for (const stbrp_rect& rect : waiting) {
                leftOver.push_back(static_cast<std::size_t>(rect.id));
            }
            break;
        }
        ++page;
    }
    std::sort(leftOver.begin(), leftOver.end());
    placeBelowPage(items, leftOver, options, page, positions);
    return positions;
}

}  // namespace vemro
