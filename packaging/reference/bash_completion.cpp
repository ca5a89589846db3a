#include "packaging/reference/bash_completion.h"

#include <algorithm>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

#include "files/cli/cli_command.h"
#include "files/cli/export_options.h"
#include "packaging/reference/argument_words.h"

namespace vemro {

namespace {

std::string joined(const std::vector<std::string>& words, std::string_view separator) {
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : std::string(separator)) + word;
    }
    return text;
}

// "fnt -": per argument of the command, the extension of the files it takes, or "-" for any.
std::string argumentKinds(const CliCommand& command) {
    std::vector<std::string> kinds;
    for (const ArgumentPart& part : argumentParts(command.arguments)) {
        if (part.word) {
            const std::string extension = fileExtension(part.text);
            kinds.push_back(extension.empty() ? "-" : extension);
        }
    }
    return joined(kinds, " ");
}

// The case branches that complete an option's value.
void writeOptionValueBranches(std::ostream& out) {
    for (const ExportOption& option : exportOptions()) {
        if (option.placeholder.empty()) {
            continue;
        }
        out << "            " << option.name << ")\n";
        if (const std::vector<std::string> choices = literalChoices(option.placeholder);
            !choices.empty()) {
            out << "                COMPREPLY=($(compgen -W '" << joined(choices, " ")
                << "' -- \"$cur\"))\n";
        } else if (namesFile(option.placeholder)) {
            out << "                _vemro_complete_files '" << fileExtension(option.placeholder)
                << "'\n";
        }
        out << "                return\n                ;;\n";
    }
}

// The case branches that set up each command's arguments; the window's project, whose
// argument kinds are given (or nothing without a window), is the default branch.
void writeCommandBranches(std::ostream& out, bool window) {
    std::string windowKinds;
    for (const CliCommand& command : cliCommands()) {
        if (command.window && !window) {
            continue;
        }
        if (*command.name == '\0') {
            windowKinds = argumentKinds(command);
            continue;
        }
        out << "        " << command.name << ")\n";
        if (*command.arguments == '\0' && !command.takesOptions) {
            out << "            return\n            ;;\n";
            continue;
        }
        out << "            arguments='" << argumentKinds(command) << "'\n"
            << (command.takesOptions ? "            options=1\n" : "") << "            ;;\n";
    }
    out << "        *)\n";
    if (windowKinds.empty()) {
        out << "            return\n            ;;\n";
    } else {
        out << "            first=1\n            arguments='" << windowKinds
            << "'\n            ;;\n";
    }
}

// The extension of the project the window opens ("" for any file), or nothing without one.
std::optional<std::string> windowFiles(bool window) {
    for (const CliCommand& command : cliCommands()) {
        if (command.window && window && *command.name == '\0') {
            return fileExtension(command.arguments);
        }
    }
    return std::nullopt;
}

}  // namespace

std::string bashCompletion(std::string_view programName, bool window) {
    std::vector<std::string> commands;
    for (const CliCommand& command : cliCommands()) {
        if (*command.name != '\0' && (window || !command.window)) {
            commands.push_back(command.name);
        }
    }
    std::vector<std::string> options;
    std::vector<std::string> valued;
    for (const ExportOption& option : exportOptions()) {
        options.push_back(option.name);
        if (!option.placeholder.empty()) {
            valued.push_back(option.name);
        }
    }
    std::string function = "_";
    function.append(programName);
    std::replace(function.begin(), function.end(), '-', '_');

    std::ostringstream s;
    s << "# bash completion for " << programName
      << ", made when the program is built from the tables\n"
         "# its --help is made from.\n\n"
         "# File names, only those with the extension $1 (and folders) when it is given.\n"
         "_vemro_complete_files()\n{\n"
         "    local IFS=$'\\n'\n"
         "    compopt -o filenames 2>/dev/null\n"
         "    if [[ -n $1 ]]; then\n"
         "        COMPREPLY+=($(compgen -d -- \"$cur\"; compgen -f -X \"!*.$1\" -- \"$cur\"))\n"
         "    else\n"
         "        COMPREPLY+=($(compgen -f -- \"$cur\"))\n"
         "    fi\n}\n\n"
      << function
      << "()\n{\n"
         "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
         "    COMPREPLY=()\n"
         "    if ((COMP_CWORD == 1)); then\n"
         "        COMPREPLY=($(compgen -W '"
      << joined(commands, " ") << "' -- \"$cur\"))\n";
    if (const std::optional<std::string> files = windowFiles(window)) {
        s << "        # Or the project the window opens.\n"
             "        if [[ $cur != -* ]]; then\n"
             "            _vemro_complete_files '"
          << *files
          << "'\n"
             "        fi\n";
    }
    s << "        return\n"
         "    fi\n"
         "    local first=2 arguments= options=\n"
         "    case ${COMP_WORDS[1]} in\n";
    writeCommandBranches(s, window);
    s << "    esac\n"
         "    if [[ -n $options ]] && ((COMP_CWORD > first)); then\n"
         "        case $prev in\n";
    writeOptionValueBranches(s);
    s << "        esac\n"
         "        if [[ $cur == -* ]]; then\n"
         "            COMPREPLY=($(compgen -W '"
      << joined(options, " ")
      << "' -- \"$cur\"))\n"
         "            return\n"
         "        fi\n"
         "    fi\n"
         "    # Which of the command's arguments this is: options and their values do not count.\n"
         "    local i n=0\n"
         "    for ((i = first; i < COMP_CWORD; i++)); do\n"
         "        case ${COMP_WORDS[i]} in\n";
    if (!valued.empty()) {
        s << "            " << joined(valued, "|")
          << ")\n"
             "                i=$((i + 1))\n"
             "                ;;\n";
    }
    s << "            -*) ;;\n"
         "            *)\n"
         "                n=$((n + 1))\n"
         "                ;;\n"
         "        esac\n"
         "    done\n"
         "    local kinds=($arguments)\n"
         "    local kind=${kinds[n]--}\n"
         "    _vemro_complete_files \"${kind#-}\"\n"
         "}\n\n"
         "complete -F "
      << function << " " << programName << "\n";
    return s.str();
}

}  // namespace vemro
