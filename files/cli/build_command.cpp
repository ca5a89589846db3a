#include "files/cli/build_command.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/atlas/worker_pool.h"
#include "files/cli/build_file.h"
#include "files/cli/build_stamp.h"
#include "files/cli/depfile.h"
#include "files/cli/export_run.h"
#include "files/cli/option_arguments.h"
#include "files/export/export_path.h"
#include "files/export/exporter.h"
#include "files/io/atomic_file.h"
#include "files/io/regular_file.h"
#include "files/project/font_file_path.h"
#include "files/project/project_opener.h"

namespace vemro {

namespace {

constexpr std::int32_t kMaxJobs = 1024;

// What the build of one output came to.
struct OutputOutcome {
    enum class State { failed, upToDate, made };
    State state = State::failed;
    // What it said, each line with the build file's name and a line of it, in order.
    std::vector<ExportMessage> messages;
    // The file the output is known by (its descriptor, or the image of the tfd format) and the
    // files it is made from, absolute, for the depfile; no target when it failed early.
    std::optional<std::string> target;
    std::vector<std::string> inputs;
};

struct BuildRun {
    const std::string& fileName;
    FontRenderer& renderer;
    InputDigests& digests;
    bool strict;
};

std::string absolute(const std::string& path) {
    return resolveFontFilePath(path, std::string());
}

OutputOutcome buildOutput(const BuildEntry& entry, BuildRun& run) {
    OutputOutcome outcome;
    const auto at = [&run](std::int64_t line) {
        return run.fileName + ":" + std::to_string(line) + ": ";
    };
    const auto fail = [&](std::int64_t line, const std::string& text) {
        outcome.messages.push_back({true, at(line) + text});
        return outcome;
    };
    for (const BuildProblem& problem : entry.problems) {
        outcome.messages.push_back({true, at(problem.line) + problem.text});
    }
    if (!entry.problems.empty()) {
        return outcome;
    }

    FontRenderer& renderer = run.renderer;
    const Project startup = startupProject(renderer.defaultFaceName());
    Document document = startupDocument(renderer.defaultFaceName());
    if (entry.project) {
        Result<OpenedProject> opened = openProject(*entry.project, renderer.faceNames(), startup);
        if (!opened) {
            return fail(entry.line, "project: " + opened.message());
        }
        for (const std::string& warning : opened->warnings) {
            outcome.messages.push_back({false, at(entry.line) + "warning: " + warning});
        }
        document = std::move(opened->document);
    }
    bool fillGiven = false;
    for (const BuildSetting& setting : entry.settings) {
        if (const Status applied = setting.option->apply(setting.argument, document, renderer);
            !applied) {
            return fail(setting.line, setting.key + ": " + applied.message());
        }
        fillGiven = fillGiven || std::string_view(setting.option->name) == "--fill";
    }
    const Exporter& exporter = exporterFor(document.exportSettings.format);
    outcome.target = absolute(exportPath(entry.outputPath, exporter.fileExtension()));

    const Result<StampInputs> inputs = stampInputs(entry, document.project, renderer, run.digests);
    if (!inputs) {
        return fail(entry.line, inputs.message());
    }
    outcome.inputs = inputs->files;
    const std::string stamp = stampPath(entry.outputPath);
    if (stampIsCurrent(stamp, inputs.value())) {
        outcome.state = OutputOutcome::State::upToDate;
        return outcome;
    }
    // No stamp while the files change, so that a build cut short never passes for made.
    std::error_code ignored;
    std::filesystem::remove(stamp, ignored);
    // The output's folder is made when missing, as a build tool makes the folders of targets.
    if (const std::filesystem::path folder = std::filesystem::path(entry.outputPath).parent_path();
        !folder.empty()) {
        std::filesystem::create_directories(folder, ignored);
    }
    // No progress line: the outputs may be made several at once.
    const ExportRunRules rules{run.strict, true, fillGiven, {}};
    const ExportRunReport report =
        runExport(document, entry.outputPath, entry.project.value_or(""), renderer, rules);
    for (const ExportMessage& message : report.messages) {
        outcome.messages.push_back(
            {message.error, at(entry.line) + (message.error ? "" : "warning: ") + message.text});
    }
    if (!report.ok) {
        return outcome;
    }
    const std::string text = stampText(inputs.value(), report.written);
    if (const Status written = writeFileAtomically(
            stamp, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
        !written) {
        return fail(entry.line, written.message());
    }
    outcome.state = OutputOutcome::State::made;
    return outcome;
}

}  // namespace

int runBuildCommand(const CommandContext& context, std::span<const std::string> args) {
    const Result<ParsedArguments> parsed = parseOptions(args, exportOptions(), kBuildCommand);
    if (!parsed) {
        return context.usageError(parsed.message());
    }
    if (parsed->operands.size() != 1) {
        return context.usageError("build takes one build file");
    }
    bool strict = false;
    bool quiet = false;
    std::optional<std::string> depfile;
    std::optional<std::string> outputFolder;
    std::int32_t jobs = WorkerPool::coreCount();
    for (const ExportOverride& option : parsed->options) {
        const OptionRole role = option.option->role;
        strict = strict || role == OptionRole::strict;
        quiet = quiet || role == OptionRole::quiet;
        if (role == OptionRole::depfile) {
            depfile = option.argument;
        } else if (role == OptionRole::outputFolder) {
            outputFolder = option.argument;
        } else if (role == OptionRole::jobs) {
            const std::optional<std::int32_t> count = wholeNumber(option.argument, 1, kMaxJobs);
            if (!count) {
                return context.usageError("--jobs: \"" + option.argument +
                                          "\" is not a number of outputs at once: give 1 to " +
                                          std::to_string(kMaxJobs));
            }
            jobs = *count;
        }
    }
    const std::string& fileName = parsed->operands.front();
    const auto error = [&context](const std::string& text) {
        context.err << context.program.name << ": " << text << "\n";
        return 1;
    };
    const Result<BuildFile> file = readBuildFile(fileName, outputFolder);
    if (!file) {
        return error(file.message());
    }
    std::vector<BuildProblem> problems = file->problems;
    // A default that every output would refuse is said once, at its own line.
    for (const BuildSetting& setting : file->defaults) {
        Document scratch{startupProject(context.renderer.defaultFaceName())};
        if (const Status applied =
                setting.option->apply(setting.argument, scratch, context.renderer);
            !applied) {
            problems.push_back({setting.line, setting.key + ": " + applied.message()});
        }
    }
    std::stable_sort(problems.begin(), problems.end(),
                     [](const BuildProblem& a, const BuildProblem& b) { return a.line < b.line; });
    for (const BuildProblem& problem : problems) {
        context.err << fileName << ":" << problem.line << ": " << problem.text << "\n";
    }
    if (!problems.empty()) {
        return 1;
    }

    // Outputs are made side by side; the rebuild of each then draws on its own thread, as the
    // pool is taken.
    InputDigests digests;
    BuildRun run{fileName, context.renderer, digests, strict};
    std::vector<OutputOutcome> outcomes(file->entries.size());
    WorkerPool::shared().run(outcomes.size(), jobs, [&](int, std::size_t index) {
        outcomes[index] = buildOutput(file->entries[index], run);
    });

    bool ok = true;
    std::vector<std::string> targets;
    std::vector<std::string> inputs{absolute(fileName)};
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const OutputOutcome& outcome = outcomes[i];
        for (const ExportMessage& message : outcome.messages) {
            if (message.error || !quiet) {
                context.err << message.text << "\n";
            }
        }
        if (outcome.state == OutputOutcome::State::made && !quiet) {
            context.out << "made " << file->entries[i].output << "\n";
        }
        ok = ok && outcome.state != OutputOutcome::State::failed;
        if (outcome.target) {
            targets.push_back(*outcome.target);
        }
        inputs.insert(inputs.end(), outcome.inputs.begin(), outcome.inputs.end());
    }
    if (depfile) {
        // With every output failed the rule still needs a target: the depfile itself.
        const std::string text =
            depfileText(targets.empty() ? std::vector{absolute(*depfile)} : targets, inputs);
        // Written again only when it changed, which spares a flush to disk on every build.
        std::vector<std::uint8_t> before;
        const bool same = !readRegularFile(*depfile, text.size() + 1, before) &&
                          std::string(before.begin(), before.end()) == text;
        if (const Status written =
                same ? Status::success()
                     : writeFileAtomically(*depfile,
                                           reinterpret_cast<const std::uint8_t*>(text.data()),
                                           text.size());
            !written) {
            return error(written.message());
        }
    }
    return ok ? 0 : 1;
}

}  // namespace vemro
