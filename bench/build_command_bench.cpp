// The build command as a whole process: a build file of 8 outputs (4 faces x 2 sizes, the
// classic charset and Cyrillic, BMFont text with PNG pages) made from scratch, against the sum
// of the 8 export processes that make the same files one by one (target: at most 0.6 x), and
// the same build again with nothing changed (target: at most 20 ms).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_statistics.h"
#include "bench/child_process.h"

namespace vemro::bench {
namespace {

namespace fs = std::filesystem;

#ifndef VEMRO_FONT_BUILDER_CLI_PATH
#define VEMRO_FONT_BUILDER_CLI_PATH "vemro-font-builder-cli"
#endif

const char* const kFaces[] = {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono", "Carlito"};
const char* const kSizes[] = {"16", "32"};
const std::vector<std::string> kShared{"--format",  "bmfont-text", "--image",   "png",
                                       "--charset", "classic",     "--charset", "Cyrillic",
                                       "--texture", "1024x1024",   "--fit",     "--pages"};

// VEMRO_FONT_BUILDER_CLI names another executable to time; the build's own is the default.
std::string program() {
    const char* chosen = std::getenv("VEMRO_FONT_BUILDER_CLI");
    return chosen != nullptr && *chosen != '\0' ? chosen : VEMRO_FONT_BUILDER_CLI_PATH;
}

// A folder with the build file, and the arguments of the 8 exports that make its outputs.
class BuildBenchFolder {
public:
    BuildBenchFolder() {
        std::error_code error;
        root_ = fs::temp_directory_path(error) /
                ("vemro-build-bench-" + std::to_string(static_cast<long>(getpid())));
        fs::create_directories(root_ / "separate", error);
        std::ofstream file(buildFile());
        file << "[defaults]\nformat = \"bmfont-text\"\nimage = \"png\"\n"
             << "charset = [\"classic\", \"Cyrillic\"]\ntexture = \"1024x1024\"\nfit = true\n"
             << "pages = true\n";
        for (const char* face : kFaces) {
            for (const char* size : kSizes) {
                const std::string name = std::string(face) + " " + size;
                file << "\n[[font]]\noutput = \"built/" << name << "\"\nface = \"" << face
                     << "\"\nsize = " << size << "\n";
                std::vector<std::string> args{"export", "-o", (root_ / "separate" / name).string(),
                                              "--face", face, "--size",
                                              size};
                args.insert(args.end(), kShared.begin(), kShared.end());
                exports_.push_back(args);
            }
        }
    }
    ~BuildBenchFolder() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    std::string buildFile() const { return (root_ / "fonts.toml").string(); }
    const std::vector<std::vector<std::string>>& exports() const { return exports_; }

    // Removes the stamps, so that the next build makes every output.
    void forget() const {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(root_ / "built", error)) {
            if (entry.path().extension() == ".stamp") {
                fs::remove(entry.path(), error);
            }
        }
    }

private:
    fs::path root_;
    std::vector<std::vector<std::string>> exports_;
};

bool ready(benchmark::State& state) {
    if (access(program().c_str(), X_OK) != 0) {
        state.SkipWithError(("skipped: " + program() + " is not built yet").c_str());
        return false;
    }
    return true;
}

void BM_BuildSeparateExports(benchmark::State& state) {
    const BuildBenchFolder folder;
    if (!ready(state)) {
        return;
    }
    for (auto _ : state) {
        for (const std::vector<std::string>& args : folder.exports()) {
            if (runProcess(program(), args) != 0) {
                state.SkipWithError("an export failed");
                return;
            }
        }
    }
    state.SetLabel("8 export processes, one after the other");
}

// Argument 0: the outputs made on every core, as the build makes them; 1: one at a time
// (--jobs 1), each rebuild then drawing on every core.
void BM_BuildFile(benchmark::State& state) {
    const BuildBenchFolder folder;
    if (!ready(state)) {
        return;
    }
    std::vector<std::string> args{"build", folder.buildFile()};
    if (state.range(0) == 1) {
        args.insert(args.end(), {"--jobs", "1"});
    }
    for (auto _ : state) {
        state.PauseTiming();
        folder.forget();
        state.ResumeTiming();
        if (runProcess(program(), args) != 0) {
            state.SkipWithError("the build failed");
            return;
        }
    }
    state.SetLabel(state.range(0) == 1 ? "one build process, one output at a time"
                                       : "one build process making the 8 outputs");
}

void BM_BuildFileNothingChanged(benchmark::State& state) {
    const BuildBenchFolder folder;
    if (!ready(state) || runProcess(program(), {"build", folder.buildFile()}) != 0) {
        state.SkipWithError("the build failed");
        return;
    }
    for (auto _ : state) {
        if (runProcess(program(), {"build", folder.buildFile()}) != 0) {
            state.SkipWithError("the build failed");
            return;
        }
    }
    state.SetLabel("the same build with every output up to date");
}

// Each repetition times a few whole runs only, and the table reads the fastest of many: a run
// takes a tenth of a second, so on a shared machine a burst of other work spoils a repetition or
// two rather than all of them.
constexpr int kRepetitions = 21;

}  // namespace

BENCHMARK(BM_BuildSeparateExports)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(kRepetitions)
    ->ComputeStatistics("min", minimumOf)
    ->UseRealTime();
BENCHMARK(BM_BuildFile)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Repetitions(kRepetitions)
    ->ComputeStatistics("min", minimumOf)
    ->UseRealTime();
BENCHMARK(BM_BuildFileNothingChanged)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(kRepetitions)
    ->ComputeStatistics("min", minimumOf)
    ->UseRealTime();

}  // namespace vemro::bench
