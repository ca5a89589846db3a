#pragma once

#include <span>
#include <string>

namespace vemro {

// One command of the program as its usage, man page and shell completion list it. The command
// line's parser decides what runs; this table says how each command is written and what it does.
struct CliCommand {
    const char* name;       // as typed ("--export"); empty for the window's project argument
    const char* arguments;  // the arguments after the name, e.g. "PROJECT.fnt OUTPUT"
    const char* help;       // what it does, lines separated by '\n'
    bool window;            // only a program with a window has it
    bool takesOptions;      // exportOptions() follow its arguments
};

// The commands in the order the usage lists them.
std::span<const CliCommand> cliCommands();

// "--export PROJECT.fnt OUTPUT [OPTIONS]": the name, the arguments and, when it takes options,
// "[OPTIONS]", as typed after the program's name; "[PROJECT.fnt]" for the window's.
std::string commandSynopsis(const CliCommand& command);

}  // namespace vemro
