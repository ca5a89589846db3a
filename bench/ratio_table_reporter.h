#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace vemro::bench {

// The console output of Google Benchmark, followed by a table of the figures the speed targets
// are stated in: per scenario the FreeType-only floor, the rebuild after a font change on one
// thread and on every core, the rebuild that keeps the font, their ratios against the targets,
// and the headless export.
class RatioTableReporter final : public benchmark::ConsoleReporter {
public:
    // The aggregate (for example "min") the table reads when benchmarks run repeatedly.
    RatioTableReporter(std::string aggregate, OutputOptions options);

    void ReportRuns(const std::vector<Run>& reports) override;
    void Finalize() override;

private:
    struct Figure {
        double milliseconds = 0;
        double drawn = -1;
        double measuredOnly = -1;
        double glyphs = -1;  // glyphs drawn per iteration, where a benchmark counts them
        std::string error;
    };

    // The figure of the benchmark with these arguments ("2/0"), or nullptr.
    const Figure* find(const std::string& function, const std::string& args) const;

    std::string aggregate_;
    std::map<std::string, Figure> figures_;  // keyed by function name and argument
};

}  // namespace vemro::bench
