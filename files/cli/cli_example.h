#pragma once

#include <span>

namespace vemro {

// A command line that the usage and the man page show as an example.
struct CliExample {
    const char* arguments;  // what follows the program's name
    const char* what;       // what it does, one line
};

// The examples in the order the usage lists them, after the commands.
std::span<const CliExample> cliExamples();

}  // namespace vemro
