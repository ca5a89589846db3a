#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/font/font_renderer.h"

namespace vemro {

// Runs a headless command (export, build, --export, --list-faces, --help, --version, or a usage
// error) of vemro-font-builder and returns its exit code; returns nothing when the arguments ask
// for the window (no argument, or one project path). args excludes the program name. Needs no
// display.
std::optional<int> runCommandLine(const std::vector<std::string>& args, FontRenderer& renderer,
                                  std::ostream& out, std::ostream& err);

// The same commands for a program without a window (vemro-font-builder-cli, or vemro-font-builder
// built without the window), named programName in its messages, usage and --version: no
// argument, or a project path alone, is a usage error (exit code 2).
int runCommandLineWithoutWindow(const std::vector<std::string>& args, FontRenderer& renderer,
                                std::ostream& out, std::ostream& err,
                                const char* programName = "vemro-font-builder-cli");

}  // namespace vemro
