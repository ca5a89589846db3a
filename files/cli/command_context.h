#pragma once

#include <ostream>
#include <string>

#include "engine/font/font_renderer.h"
#include "files/cli/cli_usage.h"

namespace vemro {

// What a command runs with: the program, the renderer it draws with, and its output streams.
struct CommandContext {
    const Program& program;
    FontRenderer& renderer;
    std::ostream& out;
    std::ostream& err;

    // Prints "NAME: problem" and the usage on standard error; returns the exit code 2.
    int usageError(const std::string& problem) const {
        err << program.name << ": " << problem << "\n";
        printUsage(program, err, false);
        return 2;
    }
};

}  // namespace vemro
