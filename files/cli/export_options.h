#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/core/result.h"
#include "engine/font/font_renderer.h"
#include "files/project/document.h"

namespace vemro {

// How a failed option ends the command.
enum class ExportOptionFailure {
    usage,  // the argument is not what the option takes: exit 2, the usage is shown
    input,  // the argument names something that cannot be used (a file): exit 1
};

// An option of --export, given after the project and output paths, that changes the opened
// document before the rebuild.
struct ExportOption {
    const char* name;         // as typed, "--" included
    std::string placeholder;  // what its argument is, for --help; empty when it takes none
    std::string help;         // one line for --help
    // Applies the argument to the document, or says in a sentence what is wrong with it. The
    // renderer is the one the export rebuilds with.
    Status (*apply)(const std::string& argument, Document& document, FontRenderer& renderer);
    ExportOptionFailure failure;
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

// Why an override could not be applied: a message naming the option, and how the command ends.
struct ExportOverrideFailure {
    std::string message;
    ExportOptionFailure kind = ExportOptionFailure::usage;
};

// Applies the overrides in order; the first that fails stops it. The document may then hold the
// overrides before the failed one.
std::optional<ExportOverrideFailure> applyExportOverrides(
    const std::vector<ExportOverride>& overrides, Document& document, FontRenderer& renderer);

}  // namespace vemro
