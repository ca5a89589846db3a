#pragma once

#include <span>
#include <string>

#include "files/cli/command_context.h"

namespace vemro {

// build FILE.toml [OPTIONS]: makes every output of the
// build file whose stamp does not record its inputs as they are now, several at once on the
// program's worker pool, and prints what each said in the order of the file. An output with a
// problem is not made and makes the exit code 1; the others are made all the same. args holds
// everything after "build". Returns the exit code.
int runBuildCommand(const CommandContext& context, std::span<const std::string> args);

}  // namespace vemro
