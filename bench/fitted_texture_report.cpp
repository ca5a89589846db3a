#include "bench/fitted_texture_report.h"

#include <algorithm>
#include <memory>
#include <set>
#include <tuple>

#include "bench/bench_scenarios.h"
#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"

namespace vemro::bench {

namespace {

// The rows of the texture down to the bottom of its lowest cell.
std::int32_t heightUsed(const AtlasResult& result) {
    std::int32_t bottom = 0;
    for (const PlacedGlyph& glyph : result.glyphs) {
        bottom = std::max(bottom, glyph.y + glyph.height);
    }
    return bottom;
}

}  // namespace

void printFittedTextures(std::FILE* out) {
    FreetypeFontRenderer renderer;
    AtlasBuilder builder(renderer);
    std::fprintf(out,
                 "\nFit size, up to 4096 x 4096, spacing 1; and in the texture rows fit, the "
                 "height down to the lowest cell\n%-44s %13s %13s %7s %9s %9s %7s\n",
                 "characters and size", "rows", "tight", "saved", "rows", "tight", "saved");
    std::set<std::tuple<BenchSet, int, int>> done;
    for (const BenchScenario& scenario : kScenarios) {
        if (!done.insert({scenario.set, scenario.size, scenario.factor}).second) {
            continue;
        }
        Project project = scenarioProject(scenario);
        project.textureSize = {AtlasSize::kMaxSide, AtlasSize::kMaxSide};
        project.packing.fitSize = true;
        const AtlasSize rows = builder.rebuild(project)->textureSize;
        project.packing.packer = PackerKind::Tight;
        const AtlasSize tight = builder.rebuild(project)->textureSize;
        project.packing.fitSize = false;
        project.textureSize = rows;
        const std::int32_t tightHeight = heightUsed(*builder.rebuild(project));
        project.packing.packer = PackerKind::Rows;
        const std::int32_t rowsHeight = heightUsed(*builder.rebuild(project));
        char label[80];
        std::snprintf(label, sizeof label, "%s, size %d %s",
                      scenario.set == BenchSet::fullCharset ? "DejaVu Sans 32..255"
                                                            : "Droid Sans Fallback, 3,000",
                      scenario.size, scenario.factor == 1 ? "(none)" : "4x4");
        const double areaSaved =
            1.0 - (double(tight.width) * tight.height) / (double(rows.width) * rows.height);
        std::fprintf(out, "%-44s %6d x %-4d %6d x %-4d %6.0f%% %9d %9d %6.1f%%\n", label,
                     rows.width, rows.height, tight.width, tight.height, 100.0 * areaSaved,
                     rowsHeight, tightHeight, 100.0 * (1.0 - double(tightHeight) / rowsHeight));
    }
    std::fflush(out);
}

}  // namespace vemro::bench
