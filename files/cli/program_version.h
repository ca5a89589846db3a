#pragma once

namespace vemro {

// The program's version, as --version prints it and build stamps record it (the project's
// version in CMake).
#ifndef VEMRO_VERSION
#error "VEMRO_VERSION is set by files/cli/CMakeLists.txt"
#endif
inline constexpr const char* kProgramVersion = VEMRO_VERSION;

}  // namespace vemro
