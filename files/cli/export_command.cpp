#include "files/cli/export_command.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/project/project.h"
#include "files/cli/export_options.h"
#include "files/cli/export_run.h"
#include "files/export/export_path.h"
#include "files/project/project_opener.h"

namespace vemro {

namespace {

bool given(const std::vector<ExportOverride>& overrides, OptionRole role) {
    return std::any_of(overrides.begin(), overrides.end(),
                       [role](const ExportOverride& o) { return o.option->role == role; });
}

bool fillGiven(const std::vector<ExportOverride>& overrides) {
    return std::any_of(overrides.begin(), overrides.end(), [](const ExportOverride& o) {
        return std::string_view(o.option->name) == "--fill";
    });
}

// Opens the project (none: the start-up project), applies the overrides and writes the export;
// returns the exit code. The usage failures of the arguments are found before.
int exportDocument(const CommandContext& context, const std::string& projectPath,
                   const std::string& outputPath, const std::vector<ExportOverride>& overrides,
                   bool fontRequired) {
    const bool quiet = given(overrides, OptionRole::quiet);
    const auto fail = [&context](const std::string& message) {
        context.err << context.program.name << ": " << message << "\n";
        return 1;
    };
    FontRenderer& renderer = context.renderer;
    // A stored value that matches nothing keeps the value a new session starts with.
    const Project startup = startupProject(renderer.defaultFaceName());
    Document document = startupDocument(renderer.defaultFaceName());
    if (!projectPath.empty()) {
        Result<OpenedProject> opened = openProject(projectPath, renderer.faceNames(), startup);
        if (!opened) {
            return fail(opened.message());
        }
        for (const std::string& warning : opened->warnings) {
            if (!quiet) {
                context.err << "warning: " << warning << "\n";
            }
        }
        document = std::move(opened->document);
    }
    if (const std::optional<ExportOverrideFailure> failed =
            applyExportOverrides(overrides, document, renderer)) {
        if (failed->kind == ExportOptionFailure::usage) {
            return context.usageError(failed->message);
        }
        return fail(failed->message);
    }

    ExportRunRules rules{
        given(overrides, OptionRole::strict), fontRequired, fillGiven(overrides), {}};
    // A long rebuild tells how far it has got on a line of its own, written over as it goes,
    // when the messages go to a terminal.
    if (!quiet && &context.err == &std::cerr && isatty(STDERR_FILENO) == 1) {
        rules.progress = [&context](const std::string& text) {
            context.err << "\r" << text << "\x1b[K" << std::flush;
        };
    }
    const ExportRunReport report = runExport(document, outputPath, projectPath, renderer, rules);
    for (const ExportMessage& message : report.messages) {
        if (message.error) {
            fail(message.text);
        } else if (!quiet) {
            context.err << "warning: " << message.text << "\n";
        }
    }
    return report.ok ? 0 : 1;
}

}  // namespace

int runExportFlag(const CommandContext& context, std::span<const std::string> args) {
    if (args.size() < 2) {
        return context.usageError("--export takes a project file and an output path");
    }
    const Result<std::vector<ExportOverride>> overrides =
        parseExportOptions(args.subspan(2), exportOptions());
    if (!overrides) {
        return context.usageError(overrides.message());
    }
    if (const std::optional<std::string> problem = exportNameProblem(args[1])) {
        return context.usageError(*problem);
    }
    // A font that cannot be made gives empty cells and a warning, as it always did here.
    return exportDocument(context, args[0], args[1], overrides.value(), false);
}

int runExportCommand(const CommandContext& context, std::span<const std::string> args) {
    const Result<ParsedArguments> parsed = parseOptions(args, exportOptions(), kExportCommand);
    if (!parsed) {
        return context.usageError(parsed.message());
    }
    std::vector<std::string> projects = parsed->operands;
    std::optional<std::string> output;
    for (const ExportOverride& option : parsed->options) {
        if (option.option->role == OptionRole::project) {
            projects.push_back(option.argument);
        } else if (option.option->role == OptionRole::output) {
            output = option.argument;
        }
    }
    if (projects.size() > 1) {
        return context.usageError("export takes one project file at most");
    }
    if (!output) {
        return context.usageError("export needs an output path: -o OUTPUT");
    }
    if (const std::optional<std::string> problem = exportNameProblem(*output)) {
        return context.usageError(*problem);
    }
    return exportDocument(context, projects.empty() ? std::string() : projects.front(), *output,
                          parsed->options, true);
}

}  // namespace vemro
