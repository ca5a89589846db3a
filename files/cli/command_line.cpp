#include "files/cli/command_line.h"

#include <algorithm>
#include <memory>
#include <span>
#include <string_view>

#include "engine/atlas/atlas_builder.h"
#include "engine/project/project.h"
#include "files/cli/cli_command.h"
#include "files/cli/cli_example.h"
#include "files/cli/export_options.h"
#include "files/export/export_path.h"
#include "files/export/exporter.h"
#include "files/export/leftover_pages.h"
#include "files/io/character_name.h"
#include "files/project/project_opener.h"

namespace vemro {

namespace {

constexpr const char* kVersion = "1.0.0";

// The program that runs the commands: its name in messages, and whether it has a window to open.
struct Program {
    const char* name;
    bool window;
};

constexpr Program kWindowProgram{"vemro-font-builder", true};

// Writes text with every line indented by the given number of spaces.
void printIndented(std::ostream& stream, std::string_view text, std::size_t indent) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        stream << std::string(indent, ' ') << text.substr(0, end) << "\n";
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

void printUsage(const Program& program, std::ostream& stream) {
    stream << "Usage:\n";
    for (const CliCommand& command : cliCommands()) {
        if (command.window && !program.window) {
            continue;
        }
        const std::string synopsis = commandSynopsis(command);
        stream << "  " << program.name << (synopsis.empty() ? "" : " ") << synopsis << "\n";
        printIndented(stream, command.help, 6);
        if (!command.takesOptions) {
            continue;
        }
        for (const ExportOption& option : exportOptions()) {
            stream << "      " << option.name;
            if (!option.placeholder.empty()) {
                stream << " " << option.placeholder;
            }
            stream << "\n";
            printIndented(stream, option.help, 10);
        }
    }
    stream << "Examples:\n";
    for (const CliExample& example : cliExamples()) {
        stream << "  " << program.name << " " << example.arguments << "\n";
        printIndented(stream, example.what, 6);
    }
}

int usageError(const Program& program, std::ostream& err, const std::string& problem) {
    err << program.name << ": " << problem << "\n";
    printUsage(program, err);
    return 2;
}

// "3 characters are not in DejaVu Sans: U+30A2 ア, U+30A4 イ, U+4E00 一", every one in list order.
std::string missingCharactersWarning(const std::vector<char32_t>& missing,
                                     const std::string& fontName) {
    std::string text = std::to_string(missing.size()) +
                       (missing.size() == 1 ? " character is" : " characters are") + " not in " +
                       fontName + ":";
    for (std::size_t i = 0; i < missing.size(); ++i) {
        text += (i == 0 ? " " : ", ") + characterLabel(missing[i]);
    }
    return text;
}

// --export PROJECT OUTPUT [OPTIONS]: args holds everything after "--export".
int exportProject(const Program& program, std::span<const std::string> args, FontRenderer& renderer,
                  std::ostream& err) {
    if (args.size() < 2) {
        return usageError(program, err, "--export takes a project file and an output path");
    }
    const std::string& projectPath = args[0];
    const std::string& outputPath = args[1];
    const Result<std::vector<ExportOverride>> overrides =
        parseExportOptions(args.subspan(2), exportOptions());
    if (!overrides) {
        return usageError(program, err, overrides.message());
    }
    if (const std::optional<std::string> problem = exportNameProblem(outputPath)) {
        return usageError(program, err, *problem);
    }

    // A stored value that matches nothing keeps the value a new session starts with.
    Result<OpenedProject> opened =
        openProject(projectPath, renderer.faceNames(), startupProject(renderer.defaultFaceName()));
    if (!opened) {
        err << program.name << ": " << opened.message() << "\n";
        return 1;
    }
    for (const std::string& warning : opened->warnings) {
        err << "warning: " << warning << "\n";
    }
    Document& document = opened->document;
    const Project& project = document.project;
    if (const std::optional<ExportOverrideFailure> failed =
            applyExportOverrides(overrides.value(), document, renderer)) {
        if (failed->kind == ExportOptionFailure::usage) {
            return usageError(program, err, failed->message);
        }
        err << program.name << ": " << failed->message << "\n";
        return 1;
    }

    // A distance field has no colour; the game gives the text its own.
    const bool fillGiven =
        std::any_of(overrides->begin(), overrides->end(), [](const ExportOverride& given) {
            return std::string_view(given.option->name) == "--fill";
        });
    if (fillGiven && project.effects.distanceField) {
        err << "warning: --fill has no effect on a distance field\n";
    }

    AtlasBuilder builder(renderer);
    const std::shared_ptr<const AtlasResult> result = builder.rebuild(atlasProjectOf(document));
    if (!result->fontProblem.empty()) {
        err << "warning: " << result->fontProblem << "\n";
    }
    // Without any font every character would count as missing; the problem above says it all.
    if (const std::vector<char32_t> missing = charactersMissingFromFont(*result);
        !result->fontName.empty() && !missing.empty()) {
        err << "warning: " << missingCharactersWarning(missing, result->fontName) << "\n";
    }
    const std::size_t outside = result->glyphsOutsideTexture;
    if (outside > 0) {
        err << "warning: " << outside << (outside == 1 ? " glyph lies" : " glyphs lie")
            << " partly or wholly outside the " << result->textureSize.width << " x "
            << result->textureSize.height << " texture\n";
    }

    // The project's own file is never written over, nor any other project file.
    const ExportSettings& settings = document.exportSettings;
    const Exporter& exporter = exporterFor(settings.format);
    const ExportReport report = exporter.write(outputPath, project, settings, *result, projectPath);
    for (const std::string& failure : report.failures) {
        err << program.name << ": " << failure << "\n";
    }
    if (!report.ok()) {
        return 1;
    }
    // Pages of an earlier export with more pages are not this export's to remove.
    if (const std::string leftovers = leftoverPagesMessage(leftoverPages(
            outputPath, settings, exporter.outputFiles(outputPath, settings, *result)));
        !leftovers.empty()) {
        err << "warning: " << leftovers << "\n";
    }
    return 0;
}

// The commands of either program; nothing when the arguments ask for the window.
std::optional<int> runCommands(const Program& program, const std::vector<std::string>& args,
                               FontRenderer& renderer, std::ostream& out, std::ostream& err) {
    if (args.empty() || (args.size() == 1 && !args[0].starts_with("-"))) {
        if (program.window) {
            return std::nullopt;
        }
        return usageError(program, err,
                          args.empty() ? "a command is needed"
                                       : "this program was built without the window; export "
                                         "the project with --export");
    }
    const std::string& command = args[0];
    const auto expectArguments = [&](std::size_t count) { return args.size() == count + 1; };

    if (command == "--help") {
        if (!expectArguments(0)) {
            return usageError(program, err, "--help takes no arguments");
        }
        printUsage(program, out);
        return 0;
    }
    if (command == "--version") {
        if (!expectArguments(0)) {
            return usageError(program, err, "--version takes no arguments");
        }
        out << program.name << " " << kVersion << "\n";
        return 0;
    }
    if (command == "--list-faces") {
        if (!expectArguments(0)) {
            return usageError(program, err, "--list-faces takes no arguments");
        }
        for (const std::string& face : renderer.faceNames()) {
            out << face << "\n";
        }
        return 0;
    }
    if (command == "--export") {
        return exportProject(program, std::span<const std::string>(args).subspan(1), renderer, err);
    }
    if (command.starts_with("-")) {
        return usageError(program, err, "unknown option \"" + command + "\"");
    }
    return usageError(program, err, "too many arguments");
}

}  // namespace

std::optional<int> runCommandLine(const std::vector<std::string>& args, FontRenderer& renderer,
                                  std::ostream& out, std::ostream& err) {
    return runCommands(kWindowProgram, args, renderer, out, err);
}

int runCommandLineWithoutWindow(const std::vector<std::string>& args, FontRenderer& renderer,
                                std::ostream& out, std::ostream& err, const char* programName) {
    // Without a window every argument list is a command or a usage error.
    return runCommands(Program{programName, false}, args, renderer, out, err).value();
}

}  // namespace vemro
