#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/cli/export_options.h"

namespace vemro {

struct CommandContext;

// One command of the program: how the usage, the man page and the shell completion write it, and
// what runs it. The one table of them (cliCommands) is what the command line dispatches on.
struct CliCommand {
    const char* name;       // as typed ("export", "--export"); empty for the window's project
    const char* arguments;  // what follows the name before the options ("[PROJECT.fnt] -o OUTPUT")
    const char* help;       // what it does, lines of at most 90 characters separated by '\n'
    unsigned options;       // the bit of ExportOption::where of the options it takes; 0 for none
    bool window;            // only a program with a window has it
    // Runs it with the arguments after its name and returns the exit code; null for the
    // window's project, which the program with the window opens itself.
    int (*run)(const CommandContext& context, std::span<const std::string> args);
};

// The commands in the order the usage lists them.
std::span<const CliCommand> cliCommands();

// The command of the table named name that the program has, or nullptr: never the window's.
const CliCommand* findCliCommand(const std::string& name, bool window);

// "export [PROJECT.fnt] -o OUTPUT [OPTIONS]": the name, the arguments and, when it takes options,
// "[OPTIONS]", as typed after the program's name; "[PROJECT.fnt]" for the window's.
std::string commandSynopsis(const CliCommand& command);

// The options whose ExportOption::where has any of the bits of where, in table order.
std::vector<const ExportOption*> optionsTakenBy(unsigned where);

// Options that lie within those of an earlier command: that command, and those of its options
// they lack ("--export" takes the options of "export" but --project and --output).
struct OptionsWithin {
    const CliCommand* command = nullptr;
    std::vector<const ExportOption*> lacking;
};

// The first command before `before` in the table (any command when it is null) whose options
// include every option of where, or nothing.
std::optional<OptionsWithin> optionsWithin(unsigned where, const CliCommand* before = nullptr);

}  // namespace vemro
