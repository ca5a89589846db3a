#pragma once

#include <string>

namespace vemro {

// A string as a descriptor can hold it: valid UTF-8 (each byte that starts no valid sequence
// becomes U+FFFD) without control characters (U+0000..U+001F and U+007F become spaces). Face
// names come from fonts and project files, which promise neither.
std::string descriptorString(const std::string& text);

}  // namespace vemro
