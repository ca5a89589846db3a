#include "files/cli/export_run.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/atlas/atlas_builder.h"
#include "files/export/exporter.h"
#include "files/export/leftover_pages.h"
#include "files/io/character_name.h"

namespace vemro {

namespace {

// A rebuild tells its progress once it has run this long, this often.
constexpr std::chrono::milliseconds kProgressAfter{500};
constexpr std::chrono::milliseconds kProgressInterval{100};

// "3 characters are not in DejaVu Sans: U+30A2 ア, U+30A4 イ, U+4E00 一", every one in list order.
std::string missingCharactersMessage(const std::vector<char32_t>& missing,
                                     const std::string& fontName) {
    std::string text = std::to_string(missing.size()) +
                       (missing.size() == 1 ? " character is" : " characters are") + " not in " +
                       fontName + ":";
    for (std::size_t i = 0; i < missing.size(); ++i) {
        text += (i == 0 ? " " : ", ") + characterLabel(missing[i]);
    }
    return text;
}

// The project's atlas; a rebuild that runs long tells rules.progress how far it has got, from a
// thread that looks at it while it runs.
std::shared_ptr<const AtlasResult> rebuildWithProgress(AtlasBuilder& builder,
                                                       const Project& project,
                                                       const ExportRunRules& rules) {
    if (!rules.progress) {
        return builder.rebuild(project);
    }
    RebuildControl control;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool told = false;
    std::thread watcher([&] {
        std::unique_lock lock(mutex);
        const auto start = std::chrono::steady_clock::now();
        while (!finished.wait_for(lock, kProgressInterval, [&] { return done; })) {
            if (std::chrono::steady_clock::now() - start >= kProgressAfter) {
                rules.progress(progressText(control.progress()));
                told = true;
            }
        }
    });
    std::shared_ptr<const AtlasResult> result = builder.rebuild(project, &control);
    {
        const std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_all();
    watcher.join();
    if (told) {
        rules.progress(std::string());
    }
    return result;
}

}  // namespace

ExportRunReport runExport(const Document& document, const std::string& outputPath,
                          const std::string& projectPath, FontRenderer& renderer,
                          const ExportRunRules& rules) {
    ExportRunReport report;
    const auto say = [&report](bool error, std::string text) {
        report.messages.push_back(ExportMessage{error, std::move(text)});
        report.ok = report.ok && !error;
    };
    const Project& project = document.project;
    // A distance field has no colour; the game gives the text its own.
    if (rules.fillGiven && project.effects.distanceField != DistanceField::None) {
        say(false, "--fill has no effect on a distance field");
    }

    AtlasBuilder builder(renderer);
    const std::shared_ptr<const AtlasResult> result =
        rebuildWithProgress(builder, atlasProjectOf(document), rules);
    if (!result->fontProblem.empty()) {
        say(rules.fontRequired, result->fontProblem);
    }
    // Without any font every character would count as missing; the problem above says it all.
    if (const std::vector<char32_t> missing = charactersMissingFromFont(*result);
        !result->fontName.empty() && !missing.empty()) {
        say(rules.strict, missingCharactersMessage(missing, result->fontName));
    }
    const std::size_t outside = result->glyphsOutsideTexture;
    if (outside > 0) {
        say(rules.strict, std::to_string(outside) + (outside == 1 ? " glyph lies" : " glyphs lie") +
                              " partly or wholly outside the " +
                              std::to_string(result->textureSize.width) + " x " +
                              std::to_string(result->textureSize.height) + " texture");
    }
    if (!report.ok) {
        return report;
    }

    const ExportSettings& settings = document.exportSettings;
    const Exporter& exporter = exporterFor(settings.format);
    const ExportReport written =
        exporter.write(outputPath, project, settings, *result, projectPath);
    report.written = written.written;
    for (const std::string& failure : written.failures) {
        say(true, failure);
    }
    if (!report.ok) {
        return report;
    }
    // Pages of an earlier export with more pages are not this export's to remove.
    if (const std::string leftovers = leftoverPagesMessage(leftoverPages(
            outputPath, settings, exporter.outputFiles(outputPath, settings, *result)));
        !leftovers.empty()) {
        say(false, leftovers);
    }
    return report;
}

}  // namespace vemro
