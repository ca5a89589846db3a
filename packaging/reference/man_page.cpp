#include "packaging/reference/man_page.h"

#include <array>
#include <optional>
#include <utility>

#include "files/cli/cli_command.h"
#include "files/cli/cli_example.h"
#include "files/cli/cli_usage.h"
#include "files/cli/export_options.h"
#include "packaging/reference/roff.h"

namespace vemro {

namespace {

// The usage's lines of help as one sentence of prose.
std::string sentence(std::string_view help) {
    std::string text(help);
    for (char& c : text) {
        c = c == '\n' ? ' ' : c;
    }
    if (!text.empty() && text.front() >= 'a' && text.front() <= 'z') {
        text.front() = static_cast<char>(text.front() - 'a' + 'A');
    }
    if (!text.empty() && text.back() != '.') {
        text += '.';
    }
    return roffText(text);
}

std::string synopsisPart(std::string_view programName, bool window) {
    std::string part;
    for (const CliCommand& command : cliCommands()) {
        if (command.window && !window) {
            continue;
        }
        part.append(part.empty() ? "" : ".br\n").append(".B ").append(roffCode(programName));
        part += '\n';
        if (const std::string synopsis = commandSynopsis(command); !synopsis.empty()) {
            part += roffArguments(synopsis) + "\n";
        }
    }
    return part;
}

std::string commandsPart(bool window) {
    std::string part;
    for (const CliCommand& command : cliCommands()) {
        if (command.window && !window) {
            continue;
        }
        part.append(".TP\n").append(roffArguments(commandSynopsis(command))).append("\n");
        part.append(sentence(command.help)).append("\n");
    }
    return part;
}

// One option as a tagged paragraph: "-o, --output OUTPUT" and its help.
std::string optionEntry(const ExportOption& option) {
    std::string entry = ".TP\n";
    if (*option.shortName != '\0') {
        entry.append("\\fB").append(roffCode(option.shortName)).append("\\fR, ");
    }
    entry.append("\\fB").append(roffCode(option.name)).append("\\fR");
    if (!option.placeholder.empty()) {
        entry.append(" ").append(roffArguments(option.placeholder));
    }
    return entry.append("\n").append(sentence(option.help)).append("\n");
}

// The options of every command as the usage lists them: a subsection for each command whose
// options do not lie within an earlier command's, followed by a sentence for each whose do.
std::string optionsPart(bool window) {
    const auto within = [window](const CliCommand& command) -> std::optional<OptionsWithin> {
        if (command.options == 0 || (command.window && !window)) {
            return std::nullopt;
        }
        return optionsWithin(command.options, &command);
    };
    std::string part;
    for (const CliCommand& command : cliCommands()) {
        if (command.options == 0 || (command.window && !window) || within(command)) {
            continue;
        }
        part.append(".SS \"Options of ").append(roffCode(command.name)).append("\"\n");
        for (const ExportOption* option : optionsTakenBy(command.options)) {
            part += optionEntry(*option);
        }
        for (const CliCommand& other : cliCommands()) {
            if (const std::optional<OptionsWithin> lying = within(other);
                lying && lying->command == &command) {
                part.append(".PP\n").append(roffText(std::string("Options of ") + other.name +
                                                     ": " + optionsWithinText(*lying) + "."));
                part += '\n';
            }
        }
    }
    return part;
}

// The keys of a build file: which options they are, and each key.
std::string buildFileKeysPart() {
    std::string part = ".PP\n" + roffText(buildFileKeysText() + ". That is:") + "\n";
    const std::vector<const ExportOption*> keys = optionsTakenBy(kBuildFile);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        part.append(".BR ").append(roffCode(std::string_view(keys[i]->name).substr(2)));
        part.append(i + 1 == keys.size() ? " .\n" : " ,\n");
    }
    return part;
}

std::string examplesPart(std::string_view programName) {
    std::string part;
    for (const CliExample& example : cliExamples()) {
        std::string command(programName);
        command.append(" ").append(example.arguments);
        part.append(".PP\n").append(sentence(example.what)).append("\n.PP\n.RS 4\n.nf\n");
        part.append(roffCode(command)).append("\n.fi\n.RE\n");
    }
    return part;
}

}  // namespace

Result<std::string> manPage(std::string_view templateText, std::string_view programName,
                            bool window, std::string_view version) {
    const std::array<std::pair<std::string_view, std::string>, 5> parts{{
        {"synopsis", synopsisPart(programName, window)},
        {"commands", commandsPart(window)},
        {"options", optionsPart(window)},
        {"build-file keys", buildFileKeysPart()},
        {"examples", examplesPart(programName)},
    }};
    std::string page(templateText);
    for (const auto& [name, text] : parts) {
        std::string marker = ".\\\" generated: ";
        marker.append(name).append("\n");
        const std::size_t at = page.find(marker);
        if (at == std::string::npos || (at != 0 && page[at - 1] != '\n') ||
            page.find(marker, at + 1) != std::string::npos) {
            std::string problem = "the man page template needs the line \"";
            problem.append(marker, 0, marker.size() - 1).append("\" once, at the start of a line");
            return Result<std::string>::failure(problem);
        }
        page.replace(at, marker.size(), text);
    }
    const std::string_view versionMarker = "@VERSION@";
    for (std::size_t at = page.find(versionMarker); at != std::string::npos;
         at = page.find(versionMarker, at + version.size())) {
        page.replace(at, versionMarker.size(), version);
    }
    return page;
}

}  // namespace vemro
