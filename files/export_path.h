#pragma once

#include <string>

namespace vemro {

// The chosen path with the extension of its last component (from its last dot) replaced by
// extension (".tga", ".tfd"), or extension appended when that component has no dot. Only "/"
// separates folders; a dot in a folder name is kept.
std::string exportPath(const std::string& chosenPath, const std::string& extension);

}  // namespace vemro
