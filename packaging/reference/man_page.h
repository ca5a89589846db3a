#pragma once

#include <string>
#include <string_view>

#include "engine/core/result.h"

namespace vemro {

// The man page of the program installed as programName: the hand-written template with its
// marker lines ".\" generated: synopsis", "... commands", "... options", "... build-file keys"
// and "... examples" each replaced by the part made from the command line's tables
// (cliCommands, exportOptions, cliExamples), and "@VERSION@" by the version. Without a window, the
// commands only a window has are left out. Fails when the template lacks a marker or holds one
// twice.
Result<std::string> manPage(std::string_view templateText, std::string_view programName,
                            bool window, std::string_view version);

}  // namespace vemro
