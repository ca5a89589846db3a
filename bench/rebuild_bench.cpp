// Rebuilds of the atlas for each scenario (DejaVu Sans and the full charset, or 3,000 characters
// from a font file): after a font change (a new font is made and every character drawn or
// measured anew) and after a change that keeps the font (a border, the texture size or a
// character border), as the window's rebuilds run them.

#include <benchmark/benchmark.h>

#include <memory>

#include "bench/bench_scenarios.h"
#include "bench/bench_statistics.h"
#include "bench/counting_font_renderer.h"
#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"

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
    Project project;
    CountingFontRenderer renderer;
    AtlasBuilder builder;
    std::shared_ptr<const AtlasResult> result;

    explicit RebuildSetup(std::int64_t index)
        : scenario(kScenarios.at(static_cast<std::size_t>(index))),
          project(scenarioProject(scenario)),
          renderer(sharedRenderer()),
          builder(renderer),
          result(builder.rebuild(project)) {}

    // The font the scenario names was made (not a fallback), and there are characters.
    bool ready() const {
        return result->fontProblem.empty() && result->fontName == project.font.faceName &&
               !project.glyphs.empty();
    }
};

void reportCounts(benchmark::State& state, const CountingFontRenderer& renderer,
                  std::int64_t before, std::int64_t measuredBefore) {
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["drawn"] = static_cast<double>(renderer.rendered - before) / iterations;
    state.counters["measured_only"] =
        static_cast<double>(renderer.measured - measuredBefore) / iterations;
}

// A font change: every iteration rebuilds the scenario with a builder of its own on the shared
// renderer, so the font is made and every character measured and drawn anew, exactly as the
// window's builder does when the font request changes (it drops its font and everything it knew
// of its glyphs). The renderer keeps its typeface list and open files, as it does in a session;
// the font stays the scenario's, so the figure compares with the floor of the same size. The
// second argument is the builder's thread count: 1, or 0 for every core as the program runs.
void BM_RebuildAfterFontChange(benchmark::State& state) {
    RebuildSetup setup(state.range(0));
    if (!setup.ready()) {
        state.SkipWithError("the scenario's font could not be loaded");
        return;
    }
    const std::int64_t rendered = setup.renderer.rendered;
    const std::int64_t measured = setup.renderer.measured;
    const auto threads = static_cast<int>(state.range(1));
    for (auto _ : state) {
        AtlasBuilder builder(setup.renderer);
        builder.setThreadCount(threads);
        const std::shared_ptr<const AtlasResult> result = builder.rebuild(setup.project);
        benchmark::DoNotOptimize(result->pages.front().pixels.data());
    }
    reportCounts(state, setup.renderer, rendered, measured);
    state.SetLabel(setup.scenario.label);
}

// Each iteration makes one of six changes, in turn: a font border on and off, a smaller
// texture and back, a character border on the first glyph on and off. None changes the font
// request, so the builder keeps its font and the ink it has drawn; every one moves cells, so
// the whole atlas is laid out and composed again.
void BM_RebuildKeepingFont(benchmark::State& state) {
    RebuildSetup setup(state.range(0));
    if (!setup.ready()) {
        state.SkipWithError("the scenario's font could not be loaded");
        return;
    }
    Project& project = setup.project;
    const AtlasSize full = setup.scenario.texture;
    const AtlasSize smaller{full.width, full.height / 2};
    const std::int64_t rendered = setup.renderer.rendered;
    const std::int64_t measured = setup.renderer.measured;
    int step = 0;
    for (auto _ : state) {
        switch (step) {
            case 0:
                project.fontBorders = {1, 0, 0, 0};
                break;
            case 1:
                project.fontBorders = {};
                break;
            case 2:
                project.textureSize = smaller;
                break;
            case 3:
                project.textureSize = full;
                break;
            case 4:
                project.glyphs.glyphAt(0)->charBorderRight = 2;
                break;
            default:
                project.glyphs.glyphAt(0)->charBorderRight = 0;
                break;
        }
        step = (step + 1) % 6;
        const std::shared_ptr<const AtlasResult> result = setup.builder.rebuild(project);
        benchmark::DoNotOptimize(result->pages.front().pixels.data());
    }
    reportCounts(state, setup.renderer, rendered, measured);
    state.SetLabel(setup.scenario.label);
}

}  // namespace

// Wall-clock time: a rebuild on several threads spends CPU time on each of them.
BENCHMARK(BM_RebuildAfterFontChange)
    ->ArgsProduct({benchmark::CreateDenseRange(0, static_cast<int>(kScenarios.size()) - 1, 1),
                   {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimumOf)
    ->UseRealTime();
BENCHMARK(BM_RebuildKeepingFont)
    ->DenseRange(0, static_cast<int>(kScenarios.size()) - 1)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimumOf)
    ->UseRealTime();

}  // namespace vemro::bench
