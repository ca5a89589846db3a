#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/core/result.h"
#include "engine/font/font_renderer.h"
#include "engine/project/project.h"
#include "files/cli/build_file.h"
#include "files/cli/input_digests.h"

namespace vemro {

// The stamp of a build output records what it was made from, so that a later build skips it
// while nothing changed. It is a text file beside the output (OUTPUT.stamp), holding neither a
// time nor a path of the machine, so that the same inputs give the same stamp anywhere:
//   vemro-font-builder VERSION
//   project DIGEST              the project file's bytes, when the output starts from one
//   --size 16                   every setting in the order applied, a file's path replaced by
//   --chars-from DIGEST         the digest of its bytes (the face index kept: DIGEST#1)
//   font DIGEST 0               the bytes of the font file drawn from, and the face's index
//   file NAME                   every file the export wrote, by name, in the order written
// DIGEST is fileDigest's.

// What one output is made from: the stamp's lines up to the files, and every input file's path
// (absolute), for a depfile.
struct StampInputs {
    std::string text;
    std::vector<std::string> files;
};

// The inputs of an output whose document holds `project` after the entry's settings. Fails
// with a sentence when an input file cannot be read or no font file matches the project.
Result<StampInputs> stampInputs(const BuildEntry& entry, const Project& project,
                                FontRenderer& renderer, InputDigests& digests);

// The stamp's path for an output path.
std::string stampPath(const std::string& outputPath);

// The whole stamp: the inputs, then the files written (paths; their names are kept).
std::string stampText(const StampInputs& inputs, const std::vector<std::string>& written);

// Whether the stamp at path records exactly these inputs and every file it names is still
// there beside it.
bool stampIsCurrent(const std::string& path, const StampInputs& inputs);

}  // namespace vemro
