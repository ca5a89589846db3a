#pragma once

#include <optional>
#include <string>

namespace vemro {

// The chosen path with the extension of its last component (from its last dot) replaced by
// extension (".tga", ".tfd"), or extension appended when that component has no dot. Only "/"
// separates folders; a dot in a folder name is kept.
std::string exportPath(const std::string& chosenPath, const std::string& extension);

// Why the chosen path cannot name an export, or nothing: its last component, up to its last dot,
// is empty ("out/", "out/.fnt", ".", an empty path) or is "..", so that the export's files would
// be hidden ones (".fnt", "_0.png") or land beside the folder meant.
std::optional<std::string> exportNameProblem(const std::string& chosenPath);

}  // namespace vemro
