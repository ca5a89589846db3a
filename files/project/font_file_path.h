#pragma once

#include <string>

namespace vemro {

// The font file a project names, as the project keeps it in memory: an absolute, lexically
// normal path. A stored path that does not start with "/" is relative to the folder of the
// project file (an empty projectPath stands for a file in the current folder).
std::string resolveFontFilePath(const std::string& stored, const std::string& projectPath);

// The path a project file at projectPath stores for a font file: relative to the project file's
// folder when the font lies beneath it, so that the two move together, and absolute otherwise.
// The comparison is by name only; neither file needs to exist.
std::string storedFontFilePath(const std::string& fontFile, const std::string& projectPath);

}  // namespace vemro
