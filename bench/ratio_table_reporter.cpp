#include "bench/ratio_table_reporter.h"

#include <cstdio>
#include <string>

#include "bench/bench_scenarios.h"

namespace vemro::bench {

namespace {

constexpr double kFontChangeTarget = 1.3;     // x the FreeType-only floor
constexpr double kKeepFontTarget = 0.25;      // x the rebuild after a font change
constexpr double kBmfontExportTarget = 1.5;   // x today's headless export to TGA + .tfd
constexpr double kLatinKerningTarget = 20.0;  // milliseconds for the full charset

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
        // The process benchmark waits for a child, so its own CPU time means nothing there; the
        // in-process ones are single-threaded, and their CPU time leaves out other programs.
        figure.milliseconds = run.run_name.function_name.starts_with("BM_HeadlessExport")
                                  ? toMilliseconds(run.GetAdjustedRealTime(), run.time_unit)
                                  : toMilliseconds(run.GetAdjustedCPUTime(), run.time_unit);
        if (const auto drawn = run.counters.find("drawn"); drawn != run.counters.end()) {
            figure.drawn = drawn->second.value;
        }
        if (const auto measured = run.counters.find("measured_only");
            measured != run.counters.end()) {
            figure.measuredOnly = measured->second.value;
        }
        figures_[key(run.run_name.function_name, run.run_name.args)] = figure;
    }
}

const RatioTableReporter::Figure* RatioTableReporter::find(const std::string& function,
                                                           int scenario) const {
    const auto found =
        figures_.find(key(function, scenario < 0 ? std::string() : std::to_string(scenario)));
    if (found == figures_.end() || !found->second.error.empty()) {
        return nullptr;
    }
    return &found->second;
}

void RatioTableReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::FILE* out = stdout;
    std::fflush(out);
    std::fprintf(out, "\nCPU time in ms, %s of the repetitions\n", aggregate_.c_str());
    bool allHold = true;
    for (std::size_t i = 0; i < kScenarios.size(); ++i) {
        const int scenario = static_cast<int>(i);
        if (i == 0 || kScenarios[i].set != kScenarios[i - 1].set) {
            std::fprintf(out, "\n%s\n",
                         kScenarios[i].set == BenchSet::fullCharset
                             ? "DejaVu Sans, codes 32..255"
                             : "Droid Sans Fallback from its font file, 3,000 characters (Latin, "
                               "kana, CJK)");
            std::fprintf(out, "%-28s %9s %12s %11s %11s %13s %15s\n", "scenario", "floor",
                         "font change", "/ floor", "keep font", "/ font chg", "drawn+measured");
            std::fprintf(out, "%-28s %9s %12s %11s %11s %13s %15s\n", "", "", "", "(<= 1.30)", "",
                         "(<= 0.25)", "per font chg");
        }
        const Figure* floor = find("BM_FreetypeFloor", scenario);
        const Figure* change = find("BM_RebuildAfterFontChange", scenario);
        const Figure* keep = find("BM_RebuildKeepingFont", scenario);
        auto millis = [](const Figure* figure) {
            return figure != nullptr ? std::to_string(figure->milliseconds).substr(0, 7)
                                     : std::string("-");
        };
        std::string changeRatio = "-";
        if (floor != nullptr && change != nullptr && floor->milliseconds > 0) {
            const double ratio = change->milliseconds / floor->milliseconds;
            const bool holds = ratio <= kFontChangeTarget;
            allHold = allHold && holds;
            changeRatio = std::to_string(ratio).substr(0, 4) + (holds ? " ok" : " NO");
        }
        std::string keepRatio = "-";
        if (change != nullptr && keep != nullptr && change->milliseconds > 0) {
            const double ratio = keep->milliseconds / change->milliseconds;
            const bool counted = kScenarios[i].keepFontTarget;
            const bool holds = ratio <= kKeepFontTarget;
            allHold = allHold && (holds || !counted);
            keepRatio =
                std::to_string(ratio).substr(0, 4) + (counted ? (holds ? " ok" : " NO") : "   ");
        }
        std::string counts = "-";
        if (change != nullptr && change->drawn >= 0) {
            counts = std::to_string(static_cast<long>(change->drawn + 0.5)) + "+" +
                     std::to_string(static_cast<long>(change->measuredOnly + 0.5));
        }
        std::fprintf(out, "%-28s %9s %12s %11s %11s %13s %15s\n", kScenarios[i].label,
                     millis(floor).c_str(), millis(change).c_str(), changeRatio.c_str(),
                     millis(keep).c_str(), keepRatio.c_str(), counts.c_str());
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
    const Figure* tfd = find("BM_HeadlessExport", -1);
    const Figure* bmfont = find("BM_HeadlessExportBmfont", -1);
    if (tfd != nullptr && bmfont != nullptr && tfd->milliseconds > 0) {
        const double ratio = bmfont->milliseconds / tfd->milliseconds;
        const bool holds = ratio <= kBmfontExportTarget;
        allHold = allHold && holds;
        std::fprintf(out,
                     "headless --export as BMFont text + PNG with kerning: %.1f ms, %.2f x the "
                     "TGA + .tfd export (<= 1.50) %s\n",
                     bmfont->milliseconds, ratio, holds ? "ok" : "NO");
    }
    const char* const kKerningSets[] = {"DejaVu Sans, codes 32..255 (<= 20 ms)",
                                        "Droid Sans Fallback, 3,000 characters",
                                        "DejaVu Sans, its first 3,000 characters"};
    for (int set = 0; set < 3; ++set) {
        if (const Figure* kerning = find("BM_Kerning", set)) {
            const bool holds = set != 0 || kerning->milliseconds <= kLatinKerningTarget;
            allHold = allHold && holds;
            std::fprintf(out, "kerning of a new face, %s: %.2f ms%s\n", kKerningSets[set],
                         kerning->milliseconds, set == 0 ? (holds ? " ok" : " NO") : "");
        }
    }
    std::fprintf(out, "\n%s\n",
                 allHold ? "every measured ratio meets its target"
                         : "a ratio misses its target (marked NO)");
    std::fflush(out);
}

}  // namespace vemro::bench
