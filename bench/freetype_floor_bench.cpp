// The floor a rebuild after a font change cannot go under: FreeType alone making a size of the
// same face at the same pixel height and drawing the same characters once, with the load and
// render flags the program's renderer uses, and no atlas work at all. For the large set every
// one of the 3,000 characters is drawn, though most cells lie outside the texture.

#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H

#include <memory>
#include <string>

#include "bench/bench_scenarios.h"
#include "bench/bench_statistics.h"
#include "engine/project/project.h"

namespace vemro::bench {
namespace {

void BM_FreetypeFloor(benchmark::State& state) {
    const BenchScenario& scenario = kScenarios.at(static_cast<std::size_t>(state.range(0)));
    const std::string file = benchFontFile(scenario.set);
    const std::vector<char32_t>& characters = benchCharacters(scenario.set);
    FT_Library library = nullptr;
    if (file.empty() || characters.empty() || FT_Init_FreeType(&library) != 0) {
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
    // The program keeps its faces open too, so the face is opened once; each iteration makes a
    // size of it and draws every character, as a font change does (every font the program
    // makes has its own size on the face).
    const auto pixelHeight = static_cast<FT_UInt>(pixelHeightFor(scenario.size, scenario.factor));
    for (auto _ : state) {
        FT_Size size = nullptr;
        if (FT_New_Size(face, &size) != 0) {
            state.SkipWithError("FreeType could not make a size");
            return;
        }
        FT_Activate_Size(size);
        FT_Set_Pixel_Sizes(face, 0, pixelHeight);
        for (const char32_t code : characters) {
            const FT_UInt index = FT_Get_Char_Index(face, code);
            if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_NORMAL) == 0) {
                FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
            }
            benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
        }
        FT_Done_Size(size);
    }
    state.SetLabel(scenario.label);
}

}  // namespace

BENCHMARK(BM_FreetypeFloor)
    ->DenseRange(0, static_cast<int>(kScenarios.size()) - 1)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimumOf)
    ->UseRealTime();

}  // namespace vemro::bench
