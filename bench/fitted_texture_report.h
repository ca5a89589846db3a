#pragma once

#include <cstdio>

namespace vemro::bench {

// Prints, for each character set and size of the scenarios, the texture Fit size chooses (up to
// 4096 x 4096, spacing 1) with rows and with tight packing, and how much smaller tight is.
void printFittedTextures(std::FILE* out);

}  // namespace vemro::bench
