// The headless export as a whole process: vemro-font-builder --export of a project with the
// start-up settings and the full charset, from exec to exit, as today's TGA + .tfd and as BMFont
// text with a PNG page and kerning (target: within 1.5 x of the first).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_scenarios.h"
#include "bench/bench_statistics.h"
#include "bench/child_process.h"
#include "engine/font/freetype_font_renderer.h"
#include "engine/project/project.h"
#include "files/project/project_opener.h"

namespace vemro::bench {
namespace {

#ifndef VEMRO_FONT_BUILDER_PATH
#define VEMRO_FONT_BUILDER_PATH "vemro-font-builder"
#endif

// VEMRO_FONT_BUILDER names another executable to time; the build's own is the default.
std::string builderExecutable() {
    const char* chosen = std::getenv("VEMRO_FONT_BUILDER");
    return chosen != nullptr && *chosen != '\0' ? chosen : VEMRO_FONT_BUILDER_PATH;
}

// A project as the window starts (the renderer's default face at 11 points, 256 x 256, no
// borders), with the full charset added.
Project startupProjectWithFullCharset() {
    FreetypeFontRenderer renderer;
    Project project = startupProject(renderer.defaultFaceName());
    for (const char32_t code : benchCharacters(BenchSet::fullCharset)) {
        project.glyphs.addCharacter(code);
    }
    return project;
}

void timeExport(benchmark::State& state, const std::vector<std::string>& options,
                const char* label) {
    const std::string program = builderExecutable();
    if (access(program.c_str(), X_OK) != 0) {
        state.SkipWithError(("skipped: " + program + " is not built yet").c_str());
        return;
    }
    std::error_code error;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path(error) /
        ("vemro-bench-" + std::to_string(static_cast<long>(getpid())));
    std::filesystem::create_directories(folder, error);
    const std::string projectPath = (folder / "startup.fnt").string();
    // Not startup.fnt: a BMFont descriptor may not take the project's own name.
    const std::string outputPath = (folder / "export.tga").string();
    if (error || !saveProject(projectPath, Document{startupProjectWithFullCharset()})) {
        state.SkipWithError("the benchmark project could not be written");
        return;
    }
    std::vector<std::string> args{"--export", projectPath, outputPath};
    args.insert(args.end(), options.begin(), options.end());
    if (runProcess(program, args) != 0) {
        state.SkipWithError(("skipped: " + program + " --export failed").c_str());
        std::filesystem::remove_all(folder, error);
        return;
    }
    for (auto _ : state) {
        if (runProcess(program, args) != 0) {
            state.SkipWithError("vemro-font-builder --export failed");
            break;
        }
    }
    std::filesystem::remove_all(folder, error);
    state.SetLabel(label);
}

void BM_HeadlessExport(benchmark::State& state) {
    timeExport(state, {}, "start-up settings, full charset, TGA + .tfd");
}

void BM_HeadlessExportBmfont(benchmark::State& state) {
    timeExport(state, {"--format", "bmfont-text", "--image", "png"},
               "start-up settings, full charset, BMFont text + PNG with kerning");
}

}  // namespace

BENCHMARK(BM_HeadlessExport)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimumOf)
    ->UseRealTime();
BENCHMARK(BM_HeadlessExportBmfont)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimumOf)
    ->UseRealTime();

}  // namespace vemro::bench
