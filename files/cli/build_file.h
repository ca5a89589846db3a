#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/result.h"
#include "files/cli/export_options.h"

namespace vemro {

// A build file lists the outputs of a build, in TOML:
//
//   [defaults]                  # keys every output takes unless it gives them itself
//   format = "bmfont-text"
//   charset = ["classic", "Cyrillic"]
//
//   [[font]]                    # one output
//   output = "fonts/title"      # the export's path (required)
//   face = "DejaVu Serif"
//   size = 32
//   outline = "2,000000"
//
// The keys are the names of export's options without "--" (exportOptions, ArgumentKind and
// OptionRole say which); a string, an integer or a list of them is the option's argument (a
// list is joined by commas, or for an option that adds, such as chars-from, gives it once per
// item); `true` gives a switch and `false` its opposite ("fit = false" is --no-fit, "sdf = false"
// is --no-field). Paths are relative to the build file's folder. The keys of a table apply in the
// order of their lines, after the defaults that the output does not give itself.

// One key of a build file as an option and its argument, and where it stands.
struct BuildSetting {
    const ExportOption* option = nullptr;
    std::string argument;  // a path resolved against the build file's folder
    std::int64_t line = 0;
    std::string key;
};

// A message about the build file naming its line: "fonts.toml:12: size: ..." when printed.
struct BuildProblem {
    std::int64_t line = 0;
    std::string text;
};

// One [[font]] of the build file.
struct BuildEntry {
    std::int64_t line = 0;
    // The output as written, and resolved against the build file's folder.
    std::string output;
    std::string outputPath;
    // The project file the output starts from (resolved), if any.
    std::optional<std::string> project;
    // The defaults it does not give itself, then its own settings, in order.
    std::vector<BuildSetting> settings;
    // What is wrong with it; nothing is made for an entry with problems.
    std::vector<BuildProblem> problems;
};

struct BuildFile {
    // The settings of [defaults], in order.
    std::vector<BuildSetting> defaults;
    std::vector<BuildEntry> entries;
    // Problems of the file as a whole (an unknown table, a bad default), by line; nothing is
    // made then.
    std::vector<BuildProblem> problems;
};

// Reads the build file at path; fails with "PATH:LINE:COLUMN: what is wrong" when it is no
// TOML, or with the reason when it cannot be read. Outputs are resolved against outputFolder
// when one is given.
Result<BuildFile> readBuildFile(const std::string& path,
                                const std::optional<std::string>& outputFolder = {});

// Reads the build file's text: relative inputs are resolved against folder, relative outputs
// against outputFolder.
Result<BuildFile> parseBuildFile(const std::string& text, const std::string& displayName,
                                 const std::string& folder, const std::string& outputFolder);

}  // namespace vemro
