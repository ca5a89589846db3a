#include "packaging/reference/man_page.h"

#include <array>
#include <utility>

#include "files/cli/cli_command.h"
#include "files/cli/cli_example.h"
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

std::string optionsPart() {
    std::string part;
    for (const ExportOption& option : exportOptions()) {
        part.append(".TP\n\\fB").append(roffCode(option.name)).append("\\fR");
        if (!option.placeholder.empty()) {
            part.append(" ").append(roffArguments(option.placeholder));
        }
        part.append("\n").append(sentence(option.help)).append("\n");
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
    const std::array<std::pair<std::string_view, std::string>, 4> parts{{
        {"synopsis", synopsisPart(programName, window)},
        {"commands", commandsPart(window)},
        {"options", optionsPart()},
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
