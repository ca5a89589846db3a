#include "packaging/reference/bash_completion.h"

#include <algorithm>
#include <map>
#include <ostream>
#include <sstream>
#include <vector>

#include "files/cli/cli_command.h"
#include "files/cli/export_options.h"
#include "packaging/reference/placeholder_parts.h"

namespace vemro {

namespace {

std::string joined(const std::vector<std::string>& words, std::string_view separator) {
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : std::string(separator)) + word;
    }
    return text;
}

// Words one a line as a bash $'...' string.
std::string lines(const std::vector<std::string>& words) {
    std::string text = "$'";
    for (std::size_t i = 0; i < words.size(); ++i) {
        text += i == 0 ? "" : "\\n";
        for (const char c : words[i]) {
            text += c == '\'' || c == '\\' ? std::string("\\") + c : std::string(1, c);
        }
    }
    return text + "'";
}

// The names an option is typed as: its short name, if it has one, and its name.
std::vector<std::string> typedNames(const ExportOption& option) {
    std::vector<std::string> names;
    if (*option.shortName != '\0') {
        names.push_back(option.shortName);
    }
    names.push_back(option.name);
    return names;
}

// "fnt -": per argument of the command, the extension of the files it takes or "-" for any; the
// options the arguments show ("-o OUTPUT") are left out with their values.
std::string argumentKinds(const CliCommand& command) {
    std::vector<std::string> kinds;
    bool value = false;
    for (const ArgumentPart& part : argumentParts(command.arguments)) {
        if (!part.word) {
            continue;
        }
        if (value) {
            value = false;
        } else if (part.text.starts_with("-")) {
            const ExportOption* option = findExportOption(exportOptions(), part.text);
            value = option != nullptr && option->argument != ArgumentKind::none;
        } else {
            const std::string extension = fileExtension(part.text);
            kinds.push_back(extension.empty() ? "-" : extension);
        }
    }
    return joined(kinds, " ");
}

// The shell code that completes an option's value, or nothing for a value of the user's own.
std::string valueCompletion(const ExportOption& option) {
    switch (option.argument) {
        case ArgumentKind::file:
            return "_vemro_complete_files '" + fileExtension(option.placeholder) + "'";
        case ArgumentKind::output:
            return option.role == OptionRole::outputFolder ? "_vemro_complete_files /"
                                                           : "_vemro_complete_files ''";
        case ArgumentKind::face:
        case ArgumentKind::faceOrFile:
            return "_vemro_complete_words \"$(\"$program\" --list-faces 2>/dev/null)\"";
        case ArgumentKind::choice:
        case ArgumentKind::format:
        case ArgumentKind::charset:
            return "_vemro_complete_words " + lines(argumentWords(option));
        default:
            return {};
    }
}

// The case branches that complete the values of options, options that complete alike in one.
void writeValueBranches(std::ostream& out) {
    std::map<std::string, std::vector<std::string>> byCompletion;
    std::vector<std::string> order;
    for (const ExportOption& option : exportOptions()) {
        const std::string code = valueCompletion(option);
        if (code.empty()) {
            continue;
        }
        if (!byCompletion.contains(code)) {
            order.push_back(code);
        }
        for (const std::string& name : typedNames(option)) {
            byCompletion[code].push_back(name);
        }
    }
    for (const std::string& code : order) {
        out << "        " << joined(byCompletion[code], " | ") << ")\n            " << code
            << "\n            ;;\n";
    }
}

// The case branch of each command with arguments or options: its options, those of them that
// take a value, and the files its arguments name.
void writeCommandBranches(std::ostream& out, bool window) {
    for (const CliCommand& command : cliCommands()) {
        if (*command.name == '\0' || (command.window && !window) ||
            (*command.arguments == '\0' && command.options == 0)) {
            continue;
        }
        std::vector<std::string> options;
        std::vector<std::string> valued;
        for (const ExportOption* option : optionsTakenBy(command.options)) {
            for (const std::string& name : typedNames(*option)) {
                options.push_back(name);
                if (option->argument != ArgumentKind::none) {
                    valued.push_back(name);
                }
            }
        }
        // "|--size|-o|": each name between bars, so that a word is looked up as "|WORD|".
        std::string bars;
        for (const std::string& name : valued) {
            bars.append("|").append(name);
        }
        bars.append(bars.empty() ? "" : "|");
        out << "    " << command.name << ")\n        options='" << joined(options, " ")
            << "'\n        valued='" << bars << "'\n        arguments='" << argumentKinds(command)
            << "'\n        ;;\n";
    }
}

}  // namespace

std::string bashCompletion(std::string_view programName, bool window) {
    std::vector<std::string> commands;
    std::string projects;
    for (const CliCommand& command : cliCommands()) {
        if (command.window && !window) {
            continue;
        }
        if (*command.name == '\0') {
            projects = fileExtension(command.arguments);
        } else {
            commands.push_back(command.name);
        }
    }
    std::string function = "_";
    function.append(programName);
    std::replace(function.begin(), function.end(), '-', '_');

    std::ostringstream s;
    s << "# bash completion for " << programName
      << ", made when the program is built from the tables\n"
         "# its --help is made from.\n\n"
         "# File names, only those with the extension $1 (and folders) when it is given; folders\n"
         "# alone when $1 is \"/\".\n"
         "_vemro_complete_files()\n{\n"
         "    local IFS=$'\\n'\n"
         "    compopt -o filenames 2>/dev/null\n"
         "    if [[ $1 == / ]]; then\n"
         "        COMPREPLY+=($(compgen -d -- \"$cur\"))\n"
         "    elif [[ -n $1 ]]; then\n"
         "        COMPREPLY+=($(compgen -d -- \"$cur\"; compgen -f -X \"!*.$1\" -- \"$cur\"))\n"
         "    else\n"
         "        COMPREPLY+=($(compgen -f -- \"$cur\"))\n"
         "    fi\n}\n\n"
         "# The words of $1, one a line, that start with the word being typed, quoted for the\n"
         "# shell (typeface and Unicode block names hold spaces).\n"
         "_vemro_complete_words()\n{\n"
         "    local word typed=${cur//\\\\/}\n"
         "    typed=${typed#[\\\"\\']}\n"
         "    while IFS= read -r word; do\n"
         "        if [[ -n $word && $word == \"$typed\"* ]]; then\n"
         "            COMPREPLY+=(\"$(printf '%q' \"$word\")\")\n"
         "        fi\n"
         "    done <<<\"$1\"\n}\n\n"
      << function
      << "()\n{\n"
         "    local program=$1 cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
         "    COMPREPLY=()\n"
         "    if ((COMP_CWORD == 1)); then\n"
         "        COMPREPLY=($(compgen -W '"
      << joined(commands, " ") << "' -- \"$cur\"))\n";
    if (window) {
        s << "        # Or the project the window opens.\n"
             "        if [[ $cur != -* ]]; then\n"
             "            _vemro_complete_files '"
          << projects
          << "'\n"
             "        fi\n";
    }
    s << "        return\n"
         "    fi\n"
         "    local options valued arguments\n"
         "    case ${COMP_WORDS[1]} in\n";
    writeCommandBranches(s, window);
    s << "    *)\n"
         "        return\n"
         "        ;;\n"
         "    esac\n"
         "    # The value of an option of the command.\n"
         "    if [[ $valued == *\"|$prev|\"* ]]; then\n"
         "        case $prev in\n";
    writeValueBranches(s);
    s << "        esac\n"
         "        return\n"
         "    fi\n"
         "    if [[ $cur == -* ]]; then\n"
         "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
         "        return\n"
         "    fi\n"
         "    # Which of the command's arguments this is: options and their values do not count.\n"
         "    local i n=0\n"
         "    for ((i = 2; i < COMP_CWORD; i++)); do\n"
         "        if [[ $valued == *\"|${COMP_WORDS[i]}|\"* ]]; then\n"
         "            i=$((i + 1))\n"
         "        elif [[ ${COMP_WORDS[i]} != -* ]]; then\n"
         "            n=$((n + 1))\n"
         "        fi\n"
         "    done\n"
         "    local kinds=($arguments)\n"
         "    if ((n < ${#kinds[@]})); then\n"
         "        local kind=${kinds[n]}\n"
         "        _vemro_complete_files \"${kind#-}\"\n"
         "    fi\n"
         "}\n\n"
         "complete -F "
      << function << " " << programName << "\n";
    return s.str();
}

}  // namespace vemro
