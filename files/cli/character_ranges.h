#pragma once

#include <string>
#include <vector>

#include "engine/core/result.h"

namespace vemro {

// The characters a list of codes and ranges names, as --chars takes it:
// "32-126,0x400-0x4FF,U+3000-U+30FF,65". Each code is decimal, or hexadecimal after "0x" or
// "U+" (either case); a range "FIRST-LAST" runs upwards and includes both ends. The result holds
// every character the items name that may join a character set (isAddableCharacter: assigned,
// no control character), each once, in the order named. Fails with a sentence naming the item
// for an empty item, a code that is no number, one past U+10FFFF, or a range that runs
// backwards.
Result<std::vector<char32_t>> parseCharacterRanges(const std::string& text);

}  // namespace vemro
