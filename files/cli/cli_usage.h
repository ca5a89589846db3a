#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "files/cli/cli_command.h"
#include "files/cli/export_options.h"

namespace vemro {

// The program that runs the commands: its name in messages, and whether it has a window to open.
struct Program {
    const char* name;
    bool window;
};

// The usage, made from the tables (cliCommands, exportOptions, cliExamples): the synopsis of
// every command the program has under "Usage:"; with `full` also the help of each, the options
// of every command, the exit codes and the examples, and otherwise a line naming --help.
void printUsage(const Program& program, std::ostream& stream, bool full);

// "-o, --output": the option's short name, if it has one, and its name.
std::string optionNames(const ExportOption& option);

// "those of export but --project and --output": options that lie within a command's.
std::string optionsWithinText(const OptionsWithin& within);

// The sentence of the usage and the man page that says which keys a build file takes, without
// its full stop: "Keys of a build file: the options of export without "--", but --strict and
// --quiet".
std::string buildFileKeysText();

}  // namespace vemro
