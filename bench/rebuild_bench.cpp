// Rebuilds of the atlas with DejaVu Sans and the full charset: after a font change (the font is
// made again and every character drawn anew) and after a change that keeps the font (a border,
// the texture size or a character border).

#include <benchmark/benchmark.h>

#include "bench/bench_scenarios.h"
#include "bench/bench_statistics.h"
#include "bench/counting_font_renderer.h"
#include "engine/atlas.h"
#include "engine/freetype_font_renderer.h"

namespace vemro::bench {
namespace {

// One renderer for the whole run, as the program has: the typeface list is built and the font
// files opened on first use, before any timing.
FreetypeFontRenderer& sharedRenderer() {
    static FreetypeFontRenderer renderer;
    return renderer;
}

struct RebuildSetup {
    const BenchScenario& scenario;
    FontSettings settings;
    CountingFontRenderer renderer;
    Atlas atlas;

    explicit RebuildSetup(std::int64_t index)
        : scenario(kScenarios.at(static_cast<std::size_t>(index))),
          settings(scenarioSettings(scenario)),
          renderer(sharedRenderer()),
          atlas(renderer) {
        atlas.setTextureSize(scenario.texture);
        atlas.addFullCharset();
        atlas.recreateFont(settings);
        atlas.rebuildAtlas(settings.factor);
    }

    bool ready() const { return renderer.hasFont(); }
};

void reportCounts(benchmark::State& state, const CountingFontRenderer& renderer,
                  std::int64_t before, std::int64_t measuredBefore) {
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["drawn"] = static_cast<double>(renderer.rendered - before) / iterations;
    state.counters["measured_only"] =
        static_cast<double>(renderer.measured - measuredBefore) / iterations;
}

void BM_RebuildAfterFontChange(benchmark::State& state) {
    RebuildSetup setup(state.range(0));
    if (!setup.ready()) {
        state.SkipWithError("DejaVu Sans could not be loaded");
        return;
    }
    const std::int64_t rendered = setup.renderer.rendered;
    const std::int64_t measured = setup.renderer.measured;
    for (auto _ : state) {
        setup.atlas.recreateFont(setup.settings);
        setup.atlas.rebuildAtlas(setup.settings.factor);
        benchmark::DoNotOptimize(setup.atlas.atlasSurface().data());
    }
    reportCounts(state, setup.renderer, rendered, measured);
    state.SetLabel(setup.scenario.label);
}

// Each iteration makes one of six changes, in turn: a font border on and off, a smaller
// texture and back, a character border on the first glyph on and off. Every one moves cells,
// so the whole atlas is laid out and drawn again.
void BM_RebuildKeepingFont(benchmark::State& state) {
    RebuildSetup setup(state.range(0));
    if (!setup.ready()) {
        state.SkipWithError("DejaVu Sans could not be loaded");
        return;
    }
    Atlas& atlas = setup.atlas;
    const AtlasSize full = setup.scenario.texture;
    const AtlasSize smaller{full.width, full.height / 2};
    const std::int64_t rendered = setup.renderer.rendered;
    const std::int64_t measured = setup.renderer.measured;
    int step = 0;
    for (auto _ : state) {
        switch (step) {
            case 0:
                atlas.setFontBorders({1, 0, 0, 0});
                break;
            case 1:
                atlas.setFontBorders({});
                break;
            case 2:
                atlas.setTextureSize(smaller);
                break;
            case 3:
                atlas.setTextureSize(full);
                break;
            case 4:
                atlas.setCharacterBorders(0, 0, 2);
                break;
            default:
                atlas.setCharacterBorders(0, 0, 0);
                break;
        }
        step = (step + 1) % 6;
        atlas.rebuildAtlas(setup.settings.factor);
        benchmark::DoNotOptimize(atlas.atlasSurface().data());
    }
    reportCounts(state, setup.renderer, rendered, measured);
    state.SetLabel(setup.scenario.label);
}

}  // namespace

BENCHMARK(BM_RebuildAfterFontChange)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimumOf);
BENCHMARK(BM_RebuildKeepingFont)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimumOf);

}  // namespace vemro::bench
