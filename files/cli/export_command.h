#pragma once

#include <span>
#include <string>

#include "files/cli/command_context.h"

namespace vemro {

// --export PROJECT OUTPUT [OPTIONS]: args holds everything after "--export". Returns the exit
// code.
int runExportFlag(const CommandContext& context, std::span<const std::string> args);

// export [PROJECT.fnt] -o OUTPUT [OPTIONS]: args holds everything after "export". Returns the
// exit code.
int runExportCommand(const CommandContext& context, std::span<const std::string> args);

}  // namespace vemro
