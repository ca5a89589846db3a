#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vemro {

// Reads at most limit bytes from the start of a regular file into bytes. Returns the reason in a
// few words ("No such file or directory", "it is a folder", "it is not a regular file") when the
// path names no readable regular file; a named pipe or device is refused without blocking.
std::optional<std::string> readRegularFile(const std::string& path, std::size_t limit,
                                           std::vector<std::uint8_t>& bytes);

// Why the path names no readable regular file, in the words readRegularFile uses, or nothing.
std::optional<std::string> regularFileProblem(const std::string& path);

}  // namespace vemro
