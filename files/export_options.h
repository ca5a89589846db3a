#pragma once

#include <span>
#include <string>
#include <vector>

#include "engine/project.h"
#include "engine/result.h"

namespace vemro {

// An option of --export, given after the project and output paths, that changes one value of the
// opened project before the rebuild.
struct ExportOption {
    const char* name;         // as typed, "--" included
    const char* placeholder;  // what its argument is, for --help; empty when it takes none
    const char* help;         // one line for --help
    // Applies the argument to the project, or says in a sentence what is wrong with it.
    Status (*apply)(const std::string& argument, Project& project);
};

// The options --export takes, in the order --help lists them.
std::span<const ExportOption> exportOptions();

// One option as the command line gave it.
struct ExportOverride {
    const ExportOption* option = nullptr;
    std::string argument;
};

// Reads the arguments that follow the two paths against the table, in order. Fails on an
// argument that is no option of the table, an option whose argument is missing, or a stray
// argument (the message of the last is "--export takes a project file and an output path").
Result<std::vector<ExportOverride>> parseExportOptions(std::span<const std::string> args,
                                                       std::span<const ExportOption> table);

// Applies the overrides in order; the first that fails stops it with a message naming the option.
Status applyExportOverrides(const std::vector<ExportOverride>& overrides, Project& project);

}  // namespace vemro
