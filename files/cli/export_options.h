#pragma once

#include <cstdint>
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
    input,  // the argument names something that cannot be used (a file, a font): exit 1
};

// What an option's argument is, for the help, the manual page and the shell completion.
enum class ArgumentKind : std::uint8_t {
    none,        // a switch
    text,        // free text or numbers as the placeholder says
    file,        // a path to an existing file (relative to a build file's folder in a build file)
    output,      // a path the command writes
    face,        // an installed typeface, as --list-faces prints them
    faceOrFile,  // an installed typeface, or a font file when namesFontFile says so
    choice,      // one of the words in ExportOption::choices
    format,      // the name of an export format (registeredExporters)
    charset,     // "classic" or a Unicode block's name (unicodeBlocks)
};

// What an option does besides changing the document. The options of the run are handled by the
// commands themselves and have no apply function.
enum class OptionRole : std::uint8_t {
    setting,       // changes the document (apply)
    project,       // the project file the export starts from
    output,        // the output path
    strict,        // characters the font lacks and glyphs outside the texture are errors
    quiet,         // print errors only
    depfile,       // build: write a Make/Ninja depfile
    outputFolder,  // build: where the outputs go
    jobs,          // build: how many outputs are made at once
};

// Where an option may be given, as bits of ExportOption::where.
inline constexpr unsigned kExportCommand = 1;  // vemro-font-builder export
inline constexpr unsigned kExportFlag = 2;     // vemro-font-builder --export PROJECT OUTPUT
inline constexpr unsigned kBuildCommand = 4;   // vemro-font-builder build FILE.toml
inline constexpr unsigned kBuildFile = 8;      // a key of a build file, named without "--"
inline constexpr unsigned kSettingPlaces = kExportCommand | kExportFlag | kBuildFile;

// One option of the command line. The table of them (exportOptions) is the one list the
// commands parse, --help prints, a build file's keys are checked against, and the manual page
// and the shell completion are made from.
struct ExportOption {
    const char* name;         // as typed, "--" included
    std::string placeholder;  // what its argument is, for --help; empty when it takes none
    std::string help;         // one line for --help
    // Applies the argument to the document, or says in a sentence what is wrong with it. The
    // renderer is the one the export rebuilds with. Null for the options of the run.
    Status (*apply)(const std::string& argument, Document& document, FontRenderer& renderer);
    ExportOptionFailure failure;
    ArgumentKind argument = ArgumentKind::text;
    // For ArgumentKind::choice: the words it takes, separated by spaces.
    const char* choices = "";
    // The switch that undoes this one ("--no-fit" for "--fit" and the other way round); empty
    // for none. In a build file "fit = false" gives it.
    const char* opposite = "";
    // Each use adds to the last (characters); a build file may give a list of arguments.
    bool repeatable = false;
    unsigned where = kSettingPlaces;
    OptionRole role = OptionRole::setting;
    const char* shortName = "";  // "-o", or empty
};

// Every option, in the order --help lists them.
std::span<const ExportOption> exportOptions();

// The option of the table with that name ("--size"; a short name such as "-o" too), or nullptr.
const ExportOption* findExportOption(std::span<const ExportOption> table, const std::string& name);

// The option whose name in a build file (its name without "--") is key, or nullptr.
const ExportOption* findBuildFileKey(std::span<const ExportOption> table, const std::string& key);

// The words an option's argument can be, for completion and the manual page: the choices, the
// export formats, or "classic" and the Unicode blocks; empty for other arguments.
std::vector<std::string> argumentWords(const ExportOption& option);

// One option as the command line gave it.
struct ExportOverride {
    const ExportOption* option = nullptr;
    std::string argument;
};

// The options and the other arguments of a command, in order.
struct ParsedArguments {
    std::vector<ExportOverride> options;
    std::vector<std::string> operands;
};

// Reads arguments against the table, taking only the options whose `where` has the command's
// bit. Fails on an option the command does not take ("unknown option") or one whose argument is
// missing; "--" ends the options.
Result<ParsedArguments> parseOptions(std::span<const std::string> args,
                                     std::span<const ExportOption> table, unsigned command);

// Reads the arguments that follow the two paths of --export against the table, in order. Fails
// as parseOptions does, and on a stray argument ("--export takes a project file and an output
// path").
Result<std::vector<ExportOverride>> parseExportOptions(std::span<const std::string> args,
                                                       std::span<const ExportOption> table);

// Why an override could not be applied: a message naming the option, and how the command ends.
struct ExportOverrideFailure {
    std::string message;
    ExportOptionFailure kind = ExportOptionFailure::usage;
};

// Applies the overrides that change the document, in order; the first that fails stops it. The
// document may then hold the overrides before the failed one.
std::optional<ExportOverrideFailure> applyExportOverrides(
    const std::vector<ExportOverride>& overrides, Document& document, FontRenderer& renderer);

}  // namespace vemro
