// Rebuilds of distance fields after a font change on one thread, against the plain coverage
// rebuild of the same glyphs at the same size: the whole path of the program (outline, field,
// packing, pages), per glyph. Latin: DejaVu Sans, codes 32..126 and 160..255 at 32 px (24
// points). CJK: 200 ideographs spread over U+4E00..U+9FFF at 32 px, from Noto Sans CJK (cubic
// outlines) and Droid Sans Fallback (quadratic), used as File > Use Font File uses them. Range 16
// (spread 8). And how soon a cancelled rebuild of fields stops.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>

#include "bench/bench_scenarios.h"
#include "bench/bench_statistics.h"
#include "bench/field_table.h"
#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"

namespace vemro::bench {
namespace {

Project fieldSetProject(FieldSet set) {
    Project project = startupProject(kBenchFace);
    project.font.size = 24;
    project.textureSize = {2048, 2048};
    project.effects.spread = 8;
    if (set == FieldSet::latin) {
        for (char32_t code = 32; code <= 255; code = code == 126 ? 160 : code + 1) {
            project.glyphs.addCharacter(code);
        }
        return project;
    }
    project.font.fontFile =
        set == FieldSet::cjkCubic ? kNotoSansCjkFile : std::string(kLargeSetFontFile);
    for (char32_t code = 0x4E00; project.glyphs.size() < kCjkFieldGlyphs; code += 97) {
        project.glyphs.addCharacter(code);
    }
    return project;
}

// Arguments: set, and the distance field (0 none: coverage, 1 sdf, 2 psdf, 3 msdf, 4 mtsdf).
void BM_FieldRebuild(benchmark::State& state) {
    static FreetypeFontRenderer renderer;
    Project project = fieldSetProject(static_cast<FieldSet>(state.range(0)));
    project.effects.distanceField = static_cast<DistanceField>(state.range(1));
    {
        AtlasBuilder check(renderer);
        const std::shared_ptr<const AtlasResult> result = check.rebuild(project);
        if (!result->fontProblem.empty() || result->glyphsOutsideTexture != 0) {
            state.SkipWithError("the font file is missing or the glyphs do not fit");
            return;
        }
    }
    for (auto _ : state) {
        AtlasBuilder builder(renderer);
        builder.setThreadCount(1);
        const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
        benchmark::DoNotOptimize(result->pages.front().pixels.data());
    }
    state.counters["glyphs"] = static_cast<double>(project.glyphs.size());
}

// How long a rebuild of CJK fields on every core takes to stop once cancelled: 3,000 ideographs
// of Noto Sans CJK as msdf at 32 px, cancelled a fifth of a second in.
void BM_CancelledRebuild(benchmark::State& state) {
    static FreetypeFontRenderer renderer;
    Project project = fieldSetProject(FieldSet::cjkCubic);
    project.glyphs = GlyphList();
    for (char32_t code = 0x4E00; project.glyphs.size() < 3000; ++code) {
        project.glyphs.addCharacter(code);
    }
    project.textureSize = {4096, 4096};
    project.effects.distanceField = DistanceField::Msdf;
    for (auto _ : state) {
        AtlasBuilder builder(renderer);
        RebuildControl control;
        std::shared_ptr<const AtlasResult> result;
        std::chrono::steady_clock::time_point stopped;
        std::thread rebuild([&] {
            result = builder.rebuild(project, &control);
            stopped = std::chrono::steady_clock::now();
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const auto cancelled = std::chrono::steady_clock::now();
        control.cancel();
        rebuild.join();
        if (result != nullptr) {
            state.SkipWithError("the rebuild finished before it was cancelled");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(stopped - cancelled).count());
    }
}

}  // namespace

BENCHMARK(BM_CancelledRebuild)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_FieldRebuild)
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2, 3, 4}})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimumOf);

}  // namespace vemro::bench
