// Rebuilds after a font change with effects, against the same rebuild without: the full Latin
// set of DejaVu Sans (codes 32..255) at 32 pixels (24 points), plain, with an outline 2 pixels
// wide, and as distance fields of spread 8. Each iteration makes the three rebuilds one after
// the other with builders of their own on every core, so the ratios compare runs made within
// moments of each other; the counters give the fastest of each and their ratios to the plain,
// and how much longer the distance fields take on one thread.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <memory>

#include "bench/bench_scenarios.h"
#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"

namespace vemro::bench {
namespace {

double rebuildMilliseconds(FontRenderer& renderer, const Project& project, int threads = 0) {
    const auto start = std::chrono::steady_clock::now();
    AtlasBuilder builder(renderer);
    builder.setThreadCount(threads);
    const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
    benchmark::DoNotOptimize(result->pages.front().pixels.data());
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The argument is the supersampling factor of the plain and outlined rebuilds (a distance field
// is drawn at factor 1 whatever it is).
void BM_EffectsAgainstPlain(benchmark::State& state) {
    static FreetypeFontRenderer renderer;
    Project plain = startupProject(kBenchFace);
    plain.font.size = 24;
    plain.font.factor = static_cast<std::int32_t>(state.range(0));
    plain.textureSize = {1024, 1024};
    for (const char32_t code : benchCharacters(BenchSet::fullCharset)) {
        plain.glyphs.addCharacter(code);
    }
    Project outline = plain;
    outline.effects.outline = true;
    outline.effects.outlineWidth = 2;
    Project field = plain;
    field.effects.distanceField = DistanceField::Sdf;
    field.effects.spread = 8;
    {
        AtlasBuilder check(renderer);
        if (check.rebuild(field)->glyphsOutsideTexture != 0) {
            state.SkipWithError("the distance fields do not fit the texture");
            return;
        }
    }
    double fastestPlain = std::numeric_limits<double>::max();
    double fastestOutline = fastestPlain;
    double fastestField = fastestPlain;
    double fastestFieldAlone = fastestPlain;
    for (auto _ : state) {
        const double plainTime = rebuildMilliseconds(renderer, plain);
        const double outlineTime = rebuildMilliseconds(renderer, outline);
        const double fieldTime = rebuildMilliseconds(renderer, field);
        // The fields on one thread: what the threads of a rebuild gain.
        const double fieldAloneTime = rebuildMilliseconds(renderer, field, 1);
        fastestPlain = std::min(fastestPlain, plainTime);
        fastestOutline = std::min(fastestOutline, outlineTime);
        fastestField = std::min(fastestField, fieldTime);
        fastestFieldAlone = std::min(fastestFieldAlone, fieldAloneTime);
        state.SetIterationTime((plainTime + outlineTime + fieldTime) / 1000.0);
    }
    state.counters["plain_ms"] = fastestPlain;
    state.counters["outline2_ms"] = fastestOutline;
    state.counters["sdf8_ms"] = fastestField;
    state.counters["outline2/plain"] = fastestOutline / fastestPlain;
    state.counters["sdf8/plain"] = fastestField / fastestPlain;
    state.counters["sdf8_1thread/every_core"] = fastestFieldAlone / fastestField;
    state.SetLabel("DejaVu Sans 32..255, 32 px, factor " + std::to_string(state.range(0)));
}

}  // namespace

BENCHMARK(BM_EffectsAgainstPlain)
    ->Arg(1)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

}  // namespace vemro::bench
