#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/core/result.h"

namespace vemro {

// The largest text file characters are read from: far more than the strings of a game, small
// enough to read whole.
inline constexpr std::size_t kMaxCharacterFileBytes = std::size_t{64} << 20;

// The characters of a UTF-8 text file (a game's strings) that may join a character set, each
// once, in the order of their first appearance. A byte-order mark is skipped; line breaks and
// other control characters are left out. A file that cannot be read, is larger than
// kMaxCharacterFileBytes or is not valid UTF-8 is refused with a message naming the file and,
// for invalid UTF-8, the byte offset of the first bad byte.
Result<std::vector<char32_t>> readCharacterFile(const std::string& path);

}  // namespace vemro
