#include "engine/pack/packer.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "engine/pack/pack_rows.h"
#include "engine/pack/pack_tight.h"

namespace vemro {

namespace {

struct Candidate {
    std::int32_t widthLog;
    std::int32_t heightLog;

    std::int64_t area() const { return std::int64_t{1} << (widthLog + heightLog); }
    AtlasSize size() const { return AtlasSize{1 << widthLog, 1 << heightLog}; }
};

// The exponents of the powers of two from 1 up to the side.
std::int32_t largestLog(std::int32_t side) {
    std::int32_t log = 0;
    while (log < 30 && (std::int64_t{2} << log) <= side) {
        ++log;
    }
    return log;
}

bool holdsAll(PackerKind packer, const std::vector<PackItem>& items, const PackOptions& options) {
    const std::vector<PackPosition> positions = packItems(packer, items, options);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const PackItem item = items[i];
        const PackPosition at = positions[i];
        if (at.page != 0 || at.x < 0 || at.y < 0 ||
            std::int64_t{at.x} + item.width > options.page.width ||
            std::int64_t{at.y} + item.height > options.page.height) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::vector<PackPosition> packItems(PackerKind packer, const std::vector<PackItem>& items,
                                    const PackOptions& options) {
    return packer == PackerKind::Tight ? packTight(items, options) : packRows(items, options);
}

AtlasSize fitTextureSize(PackerKind packer, const std::vector<PackItem>& items,
                         std::int32_t spacing, AtlasSize largest) {
    if (largest.width < 1 || largest.height < 1) {
        return largest;
    }
    // What any page that holds them needs: the widest and the tallest rectangle, and the area of
    // all of them with their spacing, unless a negative width lets rows overlap.
    std::int64_t widest = 0;
    std::int64_t tallest = 0;
    std::int64_t area = 0;
    bool overlapping = false;
    for (const PackItem& item : items) {
        widest = std::max<std::int64_t>(widest, item.width);
        tallest = std::max<std::int64_t>(tallest, item.height);
        if (item.width > 0 && item.height > 0) {
            area += (std::int64_t{item.width} + spacing) * (std::int64_t{item.height} + spacing);
        }
        overlapping = overlapping || (packer == PackerKind::Rows && item.width < 0);
    }
    if (overlapping) {
        area = 0;
    }
    std::vector<Candidate> candidates;
    for (std::int32_t w = 0; w <= largestLog(largest.width); ++w) {
        for (std::int32_t h = 0; h <= largestLog(largest.height); ++h) {
            const AtlasSize size = Candidate{w, h}.size();
            if (size.width >= widest && size.height >= tallest &&
                (std::int64_t{size.width} + spacing) * (std::int64_t{size.height} + spacing) >=
                    area) {
                candidates.push_back(Candidate{w, h});
            }
        }
    }
    std::sort(candidates.begin(), candidates.end(), [](Candidate a, Candidate b) {
        return std::tuple(a.area(), std::abs(a.widthLog - a.heightLog), -a.widthLog) <
               std::tuple(b.area(), std::abs(b.widthLog - b.heightLog), -b.widthLog);
    });
    for (const Candidate& candidate : candidates) {
        PackOptions options;
        options.page = candidate.size();
        options.spacing = spacing;
        if (holdsAll(packer, items, options)) {
            return options.page;
        }
    }
    return largest;
}

}  // namespace vemro
