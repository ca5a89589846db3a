#include "engine/atlas/ink_budget.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "engine/pack/pack_options.h"

namespace vemro {

std::vector<std::size_t> cellsPastInkBudget(const std::vector<PlacedGlyph>& cells, AtlasSize page,
                                            std::int64_t budget, std::int32_t margin) {
    const auto shows = [page](const PlacedGlyph& cell) {
        return cell.width > 0 && cell.height > 0 && cell.x < page.width && cell.y < page.height &&
               std::int64_t{cell.x} + cell.width > 0 && std::int64_t{cell.y} + cell.height > 0;
    };
    std::vector<std::size_t> past;
    std::unordered_map<char32_t, bool> drawn;
    std::int64_t left = budget;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const PlacedGlyph& cell = cells[i];
        if (!shows(cell)) {
            continue;
        }
        const auto [known, first] = drawn.try_emplace(cell.code, true);
        if (first) {
            const std::int64_t width = static_cast<std::int64_t>(std::floor(std::abs(cell.b)));
            const std::int64_t rows = std::max(cell.lineRows, 0);
            const auto ink = margin > 0 ? (width + 2 * margin) * (rows + 2 * margin) : width * rows;
            known->second = ink <= left;
            left -= known->second ? ink : 0;
        }
        if (!known->second) {
            past.push_back(i);
        }
    }
    return past;
}

}  // namespace vemro
