// Finding the kerning of a face among a set of characters, as a font of a face not seen before
// does it (later fonts of the same face and characters reuse it): the full charset of DejaVu Sans
// (224 characters; target 20 ms), the 3,000 characters of the large set from the fallback font
// file, and, as a harder case than either, the first 3,000 characters DejaVu Sans maps, many of
// which kern.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_scenarios.h"
#include "bench/bench_statistics.h"
#include "engine/font/freetype/character_lookup.h"
#include "engine/font/freetype/harfbuzz_kerning.h"

namespace vemro::bench {
namespace {

enum KerningSet { kLatin = 0, kLarge = 1, kDejaVuLarge = 2 };

void BM_Kerning(benchmark::State& state) {
    const auto set = static_cast<KerningSet>(state.range(0));
    const std::string file =
        benchFontFile(set == kLarge ? BenchSet::largeSet : BenchSet::fullCharset);
    FT_Library library = nullptr;
    if (file.empty() || FT_Init_FreeType(&library) != 0) {
        state.SkipWithError("FreeType or the font file is missing");
        return;
    }
    const std::unique_ptr<FT_LibraryRec_, decltype(&FT_Done_FreeType)> libraryOwner(
        library, &FT_Done_FreeType);
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.c_str(), 0, &face) != 0) {
        state.SkipWithError(("the font file " + file + " could not be opened").c_str());
        return;
    }
    const std::unique_ptr<FT_FaceRec_, decltype(&FT_Done_Face)> faceOwner(face, &FT_Done_Face);
    const std::vector<char32_t> all = charactersOf(face);
    std::vector<char32_t> characters;
    if (set == kDejaVuLarge) {
        characters.assign(all.begin(), all.begin() + std::min<std::size_t>(all.size(), 3000));
    } else {
        characters = benchCharacters(set == kLarge ? BenchSet::largeSet : BenchSet::fullCharset);
        std::sort(characters.begin(), characters.end());
        characters.erase(std::unique(characters.begin(), characters.end()), characters.end());
    }
    std::size_t pairs = 0;
    for (auto _ : state) {
        pairs = kerningInDesignUnits(face, characters, all).size();
        benchmark::DoNotOptimize(pairs);
    }
    state.counters["pairs"] = static_cast<double>(pairs);
    state.SetLabel(set == kLatin   ? "DejaVu Sans, codes 32..255"
                   : set == kLarge ? "Droid Sans Fallback, 3,000 characters"
                                   : "DejaVu Sans, its first 3,000 characters");
}

}  // namespace

BENCHMARK(BM_Kerning)
    ->Arg(kLatin)
    ->Arg(kLarge)
    ->Arg(kDejaVuLarge)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimumOf);

}  // namespace vemro::bench
