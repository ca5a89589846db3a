// Runs every benchmark, seven interleaved repetitions each unless the command line says
// otherwise, and ends with the table of ratios the speed targets name and the textures Fit size
// chooses with each packer.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "bench/fitted_texture_report.h"
#include "bench/ratio_table_reporter.h"

int main(int argc, char** argv) {
    // Repetitions of different benchmarks are interleaved in random order, and the table reads
    // the fastest repetition of each: on a shared machine a burst of other work then spoils
    // single repetitions rather than a whole benchmark, and the ratios compare like with like.
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=7";
    std::string aggregatesOnly = "--benchmark_report_aggregates_only=true";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    const auto given = [&](std::string_view flag) {
        return std::any_of(args.begin() + 1, args.end(), [&](const char* arg) {
            return std::string_view(arg).starts_with(flag);
        });
    };
    std::vector<char*> defaults;
    if (!given("--benchmark_repetitions")) {
        defaults.push_back(repetitions.data());
        defaults.push_back(aggregatesOnly.data());
    }
    if (!given("--benchmark_enable_random_interleaving")) {
        defaults.push_back(interleave.data());
    }
    args.insert(args.begin() + 1, defaults.begin(), defaults.end());
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) {
        return 1;
    }
    const auto options = isatty(STDOUT_FILENO) != 0 ? benchmark::ConsoleReporter::OO_ColorTabular
                                                    : benchmark::ConsoleReporter::OO_Tabular;
    vemro::bench::RatioTableReporter reporter("min", options);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    vemro::bench::printFittedTextures(stdout);
    return 0;
}
