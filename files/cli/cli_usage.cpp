#include "files/cli/cli_usage.h"

#include <optional>
#include <string_view>
#include <utility>

#include "files/cli/cli_example.h"

namespace vemro {

namespace {

// Writes text with every line indented by the given number of spaces.
void printIndented(std::ostream& stream, std::string_view text, std::size_t indent) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        stream << std::string(indent, ' ') << text.substr(0, end) << "\n";
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

void printOptions(std::ostream& stream, unsigned where) {
    for (const ExportOption* option : optionsTakenBy(where)) {
        stream << "  " << optionNames(*option);
        if (!option->placeholder.empty()) {
            stream << " " << option->placeholder;
        }
        stream << "\n";
        printIndented(stream, option->help, 6);
    }
}

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<const ExportOption*>& options) {
    std::string text;
    for (std::size_t i = 0; i < options.size(); ++i) {
        text += i == 0 ? "" : (i + 1 == options.size() ? " and " : ", ");
        text += options[i]->name;
    }
    return text;
}

}  // namespace

std::string optionNames(const ExportOption& option) {
    std::string names = option.shortName;
    return names.empty() ? option.name : names + ", " + option.name;
}

std::string optionsWithinText(const OptionsWithin& within) {
    std::string text = std::string("those of ") + within.command->name;
    return within.lacking.empty() ? text : text + " but " + listed(within.lacking);
}

std::string buildFileKeysText() {
    const std::optional<OptionsWithin> within = optionsWithin(kBuildFile);
    if (!within) {
        return "Keys of a build file: these options without \"--\"";
    }
    std::string text = std::string("Keys of a build file: the options of ") +
                       within->command->name + " without \"--\"";
    return within->lacking.empty() ? text : text + ", but " + listed(within->lacking);
}

void printUsage(const Program& program, std::ostream& stream, bool full) {
    stream << "Usage:\n";
    for (const CliCommand& command : cliCommands()) {
        if (command.window && !program.window) {
            continue;
        }
        const std::string synopsis = commandSynopsis(command);
        stream << "  " << program.name << (synopsis.empty() ? "" : " ") << synopsis << "\n";
        if (full) {
            printIndented(stream, command.help, 6);
        }
    }
    if (!full) {
        stream << "Run \"" << program.name << " --help\" for the options.\n";
        return;
    }
    // Each command's options in full, unless they lie within an earlier command's: then a line
    // after those says which.
    const std::optional<OptionsWithin> keys = optionsWithin(kBuildFile);
    for (const CliCommand& command : cliCommands()) {
        if (command.options == 0 || optionsWithin(command.options, &command)) {
            continue;
        }
        stream << "\nOptions of " << command.name << ":\n";
        printOptions(stream, command.options);
        bool first = true;
        for (const CliCommand& other : cliCommands()) {
            if (const std::optional<OptionsWithin> within =
                    other.options == 0 ? std::nullopt : optionsWithin(other.options, &other);
                within && within->command == &command) {
                stream << (std::exchange(first, false) ? "\n" : "") << "Options of " << other.name
                       << ": " << optionsWithinText(*within) << ".\n";
            }
        }
        if (keys && keys->command == &command) {
            stream << (std::exchange(first, false) ? "\n" : "") << buildFileKeysText() << ".\n";
        }
    }
    stream
        << "\nExit codes: 0 success; 1 a failure in the data (a file or font that cannot be used,\n"
           "an output that cannot be written, with --strict a lacking character or a cut\n"
           "glyph); 2 a usage error.\n";
    stream << "\nExamples:\n";
    for (const CliExample& example : cliExamples()) {
        stream << "  " << program.name << " " << example.arguments << "\n";
        printIndented(stream, example.what, 6);
    }
}

}  // namespace vemro
