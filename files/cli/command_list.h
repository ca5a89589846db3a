#pragma once

#include <ostream>
#include <span>

namespace vemro {

// One way of running the program, for --help and the manual page.
struct CommandSyntax {
    // What follows the program's name ("export [PROJECT.fnt] -o OUTPUT [OPTIONS]").
    const char* synopsis;
    // What it does, in lines of at most 90 characters.
    const char* help;
    // The bit of ExportOption::where of the options it takes; 0 for none.
    unsigned options;
    // Only the program with the window has it.
    bool windowOnly;
};

// Every command, in the order --help lists them.
std::span<const CommandSyntax> commandList();

// The program that runs the commands: its name in messages, and whether it has a window to open.
struct Program {
    const char* name;
    bool window;
};

// The synopsis of every command the program has, under "Usage:", and with `full` the help of
// each and the options of every command (from exportOptions) and the exit codes.
void printUsage(const Program& program, std::ostream& stream, bool full);

}  // namespace vemro
