#pragma once

#include <string>
#include <vector>

namespace vemro {

// A depfile as Make and Ninja read it (and CMake's add_custom_command DEPFILE): one rule whose
// targets are the given files and whose prerequisites are the dependencies, one path a line.
// Spaces and "#" are escaped with a backslash and "$" doubled; dependencies repeated are listed
// once.
std::string depfileText(const std::vector<std::string>& targets,
                        const std::vector<std::string>& dependencies);

}  // namespace vemro
