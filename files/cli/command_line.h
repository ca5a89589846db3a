#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/font/font_renderer.h"

namespace vemro {

// Runs a headless command (--export, --list-faces, --help, --version, or a usage error) and
// returns its exit code; returns nothing when the arguments ask for the window (no argument,
// or one project path). args excludes the program name. Needs no display.
std::optional<int> runCommandLine(const std::vector<std::string>& args, FontRenderer& renderer,
                                  std::ostream& out, std::ostream& err);

}  // namespace vemro
