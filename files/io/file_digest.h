#pragma once

#include <string>

#include "engine/core/result.h"

namespace vemro {

// A digest of a file's bytes, to tell whether a file changed between two builds: XXH3's 128-bit
// hash as 32 lowercase hexadecimal digits. Fails with the reason in a few words, as
// readRegularFile gives it, when the path names no readable regular file.
Result<std::string> fileDigest(const std::string& path);

// The same digest of bytes in memory.
std::string bytesDigest(const void* data, std::size_t size);

}  // namespace vemro
