#include "bench/ratio_table_reporter.h"

#include <cstdio>
#include <string>
#include <thread>

#include "bench/bench_scenarios.h"
#include "bench/field_table.h"

namespace vemro::bench {

namespace {

constexpr double kKeepFontTarget = 0.25;  // x the rebuild after a font change
// Every core may not make the full charset slower than one thread; the margin is the noise of
// the fastest of seven repetitions on a shared machine.
constexpr double kNotSlowerTolerance = 1.05;
constexpr double kBmfontExportTarget = 1.5;     // x today's headless export to TGA + .tfd
constexpr double kLatinKerningTarget = 20.0;    // milliseconds for the full charset
constexpr double kBuildFileTarget = 0.6;        // x the separate export processes
constexpr double kNothingChangedTarget = 20.0;  // milliseconds for a build with nothing to do

double toMilliseconds(double value, benchmark::TimeUnit unit) {
    switch (unit) {
        case benchmark::kNanosecond:
            return value / 1e6;
        case benchmark::kMicrosecond:
            return value / 1e3;
        case benchmark::kMillisecond:
            return value;
        case benchmark::kSecond:
            return value * 1e3;
    }
    return value;
}

std::string key(const std::string& function, const std::string& args) {
    return args.empty() ? function : function + "/" + args;
}

}  // namespace

RatioTableReporter::RatioTableReporter(std::string aggregate, OutputOptions options)
    : ConsoleReporter(options), aggregate_(std::move(aggregate)) {}

void RatioTableReporter::ReportRuns(const std::vector<Run>& reports) {
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports) {
        const bool wanted = run.run_type == Run::RT_Aggregate ? run.aggregate_name == aggregate_
                                                              : run.repetitions <= 1;
        if (!wanted && !run.error_occurred) {
            continue;
        }
        Figure figure;
        figure.error = run.error_occurred ? run.error_message : std::string();
        // Wall-clock time throughout: rebuilds run on several threads and the process benchmark
        // waits for a child, so the CPU time of the benchmark's thread would tell little.
        figure.milliseconds = toMilliseconds(run.GetAdjustedRealTime(), run.time_unit);
        if (const auto drawn = run.counters.find("drawn"); drawn != run.counters.end()) {
            figure.drawn = drawn->second.value;
        }
        if (const auto glyphs = run.counters.find("glyphs"); glyphs != run.counters.end()) {
            figure.glyphs = glyphs->second.value;
        }
        if (const auto measured = run.counters.find("measured_only");
            measured != run.counters.end()) {
            figure.measuredOnly = measured->second.value;
        }
        figures_[key(run.run_name.function_name, run.run_name.args)] = figure;
    }
}

const RatioTableReporter::Figure* RatioTableReporter::find(const std::string& function,
                                                           const std::string& args) const {
    const auto found = figures_.find(key(function, args));
    if (found == figures_.end() || !found->second.error.empty()) {
        return nullptr;
    }
    return &found->second;
}

void RatioTableReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::FILE* out = stdout;
    std::fflush(out);
    std::fprintf(out,
                 "\nWall-clock time in ms, %s of the repetitions; a rebuild after a font change on "
                 "one thread and on every core (%u here)\n",
                 aggregate_.c_str(), std::thread::hardware_concurrency());
    bool allHold = true;
    const auto millis = [](const Figure* figure) {
        return figure != nullptr ? std::to_string(figure->milliseconds).substr(0, 7)
                                 : std::string("-");
    };
    // The ratio with its target: "0.53 ok", "1.41 NO", or without a target just the figure.
    const auto ratio = [&allHold](const Figure* top, const Figure* bottom, double target,
                                  bool counted) {
        if (top == nullptr || bottom == nullptr || bottom->milliseconds <= 0) {
            return std::string("-");
        }
        const double value = top->milliseconds / bottom->milliseconds;
        const bool holds = value <= target;
        allHold = allHold && (holds || !counted);
        return std::to_string(value).substr(0, 4) + (counted ? (holds ? " ok" : " NO") : "   ");
    };
    for (std::size_t i = 0; i < kScenarios.size(); ++i) {
        const BenchScenario& scenario = kScenarios[i];
        const int index = static_cast<int>(i);
        if (i == 0 || scenario.set != kScenarios[i - 1].set) {
            std::fprintf(out, "\n%s\n",
                         scenario.set == BenchSet::fullCharset
                             ? "DejaVu Sans, codes 32..255"
                             : "Droid Sans Fallback from its font file, 3,000 characters (Latin, "
                               "kana, CJK)");
            std::fprintf(out, "%-27s %8s %9s %9s %12s %11s %9s %11s %14s\n", "scenario", "floor",
                         "1 thread", "all cores", "all / floor", "all / 1", "keep font",
                         "/ font chg", "drawn+measured");
            std::fprintf(out, "%-27s %8s %9s %9s %12s %11s %9s %11s %14s\n", "", "", "", "",
                         "(target)", "(<= 1.05)", "", "(<= 0.25)", "per font chg");
        }
        const Figure* floor = find("BM_FreetypeFloor", std::to_string(index));
        const Figure* one = find("BM_RebuildAfterFontChange", std::to_string(index) + "/1");
        const Figure* all = find("BM_RebuildAfterFontChange", std::to_string(index) + "/0");
        const Figure* keep = find("BM_RebuildKeepingFont", std::to_string(index));
        std::string counts = "-";
        if (all != nullptr && all->drawn >= 0) {
            counts = std::to_string(static_cast<long>(all->drawn + 0.5)) + "+" +
                     std::to_string(static_cast<long>(all->measuredOnly + 0.5));
        }
        char target[16];
        std::snprintf(target, sizeof target, "<=%.2f", scenario.fontChangeTarget);
        std::fprintf(
            out, "%-27s %8s %9s %9s %12s %11s %9s %11s %14s\n", scenario.label,
            millis(floor).c_str(), millis(one).c_str(), millis(all).c_str(),
            (ratio(all, floor, scenario.fontChangeTarget, true) + " " + target).c_str(),
            ratio(all, one, kNotSlowerTolerance, scenario.set == BenchSet::fullCharset).c_str(),
            millis(keep).c_str(),
            ratio(keep, all, kKeepFontTarget, scenario.keepFontTarget).c_str(), counts.c_str());
    }
    const auto headless = figures_.find("BM_HeadlessExport");
    if (headless == figures_.end()) {
        std::fprintf(out, "\nheadless --export: not run\n");
    } else if (!headless->second.error.empty()) {
        std::fprintf(out, "\nheadless --export: %s\n", headless->second.error.c_str());
    } else {
        std::fprintf(out,
                     "\nheadless --export, start-up settings, full charset: %.1f ms per process "
                     "(exec to exit, wall clock)\n",
                     headless->second.milliseconds);
    }
    const Figure* tfd = find("BM_HeadlessExport", "");
    const Figure* bmfont = find("BM_HeadlessExportBmfont", "");
    if (tfd != nullptr && bmfont != nullptr && tfd->milliseconds > 0) {
        const double ratio = bmfont->milliseconds / tfd->milliseconds;
        const bool holds = ratio <= kBmfontExportTarget;
        allHold = allHold && holds;
        std::fprintf(out,
                     "headless --export as BMFont text + PNG with kerning: %.1f ms, %.2f x the "
                     "TGA + .tfd export (<= 1.50) %s\n",
                     bmfont->milliseconds, ratio, holds ? "ok" : "NO");
    }
    const Figure* separate = find("BM_BuildSeparateExports", "");
    const Figure* built = find("BM_BuildFile", "0");
    const Figure* serial = find("BM_BuildFile", "1");
    if (separate != nullptr && built != nullptr && separate->milliseconds > 0) {
        const double ratio = built->milliseconds / separate->milliseconds;
        const bool holds = ratio <= kBuildFileTarget;
        allHold = allHold && holds;
        std::fprintf(out,
                     "build file of 8 outputs: %.1f ms, %.2f x the 8 export processes (%.1f ms) "
                     "(<= 0.60) %s; one output at a time %s ms\n",
                     built->milliseconds, ratio, separate->milliseconds, holds ? "ok" : "NO",
                     millis(serial).c_str());
    }
    if (const Figure* unchanged = find("BM_BuildFileNothingChanged", "")) {
        const bool holds = unchanged->milliseconds <= kNothingChangedTarget;
        allHold = allHold && holds;
        std::fprintf(out, "the same build with nothing changed: %.1f ms (<= 20 ms) %s\n",
                     unchanged->milliseconds, holds ? "ok" : "NO");
    }
    const char* const kKerningSets[] = {"DejaVu Sans, codes 32..255 (<= 20 ms)",
                                        "Droid Sans Fallback, 3,000 characters",
                                        "DejaVu Sans, its first 3,000 characters"};
    for (int set = 0; set < 3; ++set) {
        if (const Figure* kerning = find("BM_Kerning", std::to_string(set))) {
            const bool holds = set != 0 || kerning->milliseconds <= kLatinKerningTarget;
            allHold = allHold && holds;
            std::fprintf(out, "kerning of a new face, %s: %.2f ms%s\n", kKerningSets[set],
                         kerning->milliseconds, set == 0 ? (holds ? " ok" : " NO") : "");
        }
    }
    if (figures_.count("BM_FieldCoverage/0") != 0) {
        const bool fieldsHold =
            printFieldTable(out, [this](const std::string& function, const std::string& args) {
                const Figure* figure = find(function, args);
                return figure != nullptr && figure->glyphs > 0
                           ? figure->milliseconds / figure->glyphs
                           : -1.0;
            });
        allHold = allHold && fieldsHold;
    }
    std::fprintf(out, "\n%s\n",
                 allHold ? "every measured ratio meets its target"
                         : "a ratio misses its target (marked NO)");
    std::fflush(out);
}

}  // namespace vemro::bench
