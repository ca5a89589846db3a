// Runs every benchmark, five repetitions each unless the command line says otherwise, and ends
// with the table of ratios the speed targets name.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>
#include <string_view>
#include <vector>

#include "bench/ratio_table_reporter.h"

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    bool repetitionsGiven = false;
    for (const char* arg : args) {
        repetitionsGiven =
            repetitionsGiven || std::string_view(arg).starts_with("--benchmark_repetitions");
    }
    std::string repetitions = "--benchmark_repetitions=5";
    std::string aggregatesOnly = "--benchmark_report_aggregates_only=true";
    if (!repetitionsGiven) {
        args.insert(args.begin() + 1, {repetitions.data(), aggregatesOnly.data()});
    }
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
    return 0;
}
