// Encoding a page as PNG with the zlib level, strategy and filters the writer uses, against the
// alternatives it was chosen from: the atlas page of the start-up project with the full charset
// (256 x 256) and of the full charset at size 32 "4x4" (512 x 512), as 32-bit and 8-bit images.
// The counter "bytes" is the file's size.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <memory>
#include <string>

#include "bench/bench_scenarios.h"
#include "bench/bench_statistics.h"
#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"
#include "files/export/png_image.h"

namespace vemro::bench {
namespace {

struct Candidate {
    const char* label;
    PngCompression compression;
};

const Candidate kCandidates[] = {
    {"level 1, default, no filter (chosen)", PngCompression{}},
    {"level 1, default, Up", {1, Z_DEFAULT_STRATEGY, 0x20}},
    {"level 1, RLE, Up", {1, Z_RLE, 0x20}},
    {"level 6, default, every filter (libpng's default)", {6, Z_DEFAULT_STRATEGY, 0xF8}},
    {"level 6, RLE, Up", {6, Z_RLE, 0x20}},
    {"level 9, default, every filter", {9, Z_DEFAULT_STRATEGY, 0xF8}},
};

const AtlasResult& page(int scenario) {
    static FreetypeFontRenderer renderer;
    static std::shared_ptr<const AtlasResult> results[2];
    if (!results[scenario]) {
        Project project = scenarioProject(kScenarios.at(scenario == 0 ? 0 : 1));
        AtlasBuilder builder(renderer);
        results[scenario] = builder.rebuild(project);
    }
    return *results[scenario];
}

// range(0): candidate; range(1): 0 start-up page, 1 the 512 x 512 one; range(2): 1 for 8-bit.
void BM_PngPage(benchmark::State& state) {
    const Candidate& candidate = kCandidates[state.range(0)];
    const AtlasResult& result = page(static_cast<int>(state.range(1)));
    const PngPixels pixels = state.range(2) == 1 ? PngPixels::Coverage : PngPixels::WhiteWithAlpha;
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes =
            encodePngImage(result.pages.front(), result.textureSize, pixels, candidate.compression)
                .value()
                .size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    state.SetLabel(std::string(candidate.label) + (state.range(2) == 1 ? ", 8-bit" : ", 32-bit"));
}

}  // namespace

BENCHMARK(BM_PngPage)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimumOf);

}  // namespace vemro::bench
