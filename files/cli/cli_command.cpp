#include "files/cli/cli_command.h"

#include <algorithm>
#include <array>

#include "files/cli/build_command.h"
#include "files/cli/command_context.h"
#include "files/cli/export_command.h"
#include "files/cli/export_options.h"
#include "files/cli/program_version.h"

namespace vemro {

namespace {

int runHelp(const CommandContext& context, std::span<const std::string> args) {
    if (!args.empty()) {
        return context.usageError("--help takes no arguments");
    }
    printUsage(context.program, context.out, true);
    return 0;
}

int runVersion(const CommandContext& context, std::span<const std::string> args) {
    if (!args.empty()) {
        return context.usageError("--version takes no arguments");
    }
    context.out << context.program.name << " " << kProgramVersion << "\n";
    return 0;
}

int runListFaces(const CommandContext& context, std::span<const std::string> args) {
    if (!args.empty()) {
        return context.usageError("--list-faces takes no arguments");
    }
    for (const std::string& face : context.renderer.faceNames()) {
        context.out << face << "\n";
    }
    return 0;
}

constexpr std::array<CliCommand, 7> kCommands{{
    {"", "[PROJECT.fnt]", "open the window, optionally with a font project", 0, true, nullptr},
    {"export", "[PROJECT.fnt] -o OUTPUT",
     "rebuild the atlas of the project, or of the start-up project (the default typeface at 11\n"
     "points, no characters), with the options applied in order, and write OUTPUT with the\n"
     "extension replaced: by .tga (image) and .tfd (glyph description) in the tfd format, page\n"
     "k >= 1 of several as OUTPUT_k.tga and OUTPUT_k.tfd; by _0.png, _1.png, ... (the pages)\n"
     "and .fnt (BMFont) or .json otherwise",
     kExportCommand, false, runExportCommand},
    {"build", "FILE.toml",
     "make every output of a build file whose inputs changed since it was made, several at once",
     kBuildCommand, false, runBuildCommand},
    {"--export", "PROJECT.fnt OUTPUT",
     "export PROJECT.fnt -o OUTPUT as before: a font that cannot be made is only a warning",
     kExportFlag, false, runExportFlag},
    {"--list-faces", "", "print the typefaces that can be chosen, one per line", 0, false,
     runListFaces},
    {"--help", "", "print this help", 0, false, runHelp},
    {"--version", "", "print the program's name and version", 0, false, runVersion},
}};

}  // namespace

std::span<const CliCommand> cliCommands() {
    return kCommands;
}

const CliCommand* findCliCommand(const std::string& name, bool window) {
    const auto found = std::find_if(kCommands.begin(), kCommands.end(), [&](const CliCommand& c) {
        return c.run != nullptr && (window || !c.window) && name == c.name;
    });
    return found == kCommands.end() ? nullptr : &*found;
}

std::string commandSynopsis(const CliCommand& command) {
    std::string synopsis = command.name;
    for (const char* part : {command.arguments, command.options != 0 ? "[OPTIONS]" : ""}) {
        if (*part != '\0') {
            synopsis += synopsis.empty() ? "" : " ";
            synopsis += part;
        }
    }
    return synopsis;
}

std::vector<const ExportOption*> optionsTakenBy(unsigned where) {
    std::vector<const ExportOption*> options;
    for (const ExportOption& option : exportOptions()) {
        if ((option.where & where) != 0) {
            options.push_back(&option);
        }
    }
    return options;
}

std::optional<OptionsWithin> optionsWithin(unsigned where, const CliCommand* before) {
    const std::vector<const ExportOption*> wanted = optionsTakenBy(where);
    for (const CliCommand& command : kCommands) {
        if (&command == before) {
            break;
        }
        if (command.options == 0 || command.options == where) {
            continue;
        }
        const auto taken = [&command](const ExportOption* option) {
            return (option->where & command.options) != 0;
        };
        if (std::all_of(wanted.begin(), wanted.end(), taken)) {
            OptionsWithin within{&command, {}};
            for (const ExportOption* option : optionsTakenBy(command.options)) {
                if ((option->where & where) == 0) {
                    within.lacking.push_back(option);
                }
            }
            return within;
        }
    }
    return std::nullopt;
}

}  // namespace vemro
