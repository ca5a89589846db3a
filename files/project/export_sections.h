#pragma once

#include <cstddef>

#include "files/project/project_section.h"

namespace vemro {

// The project extension's sections for the export and the window's sample text, each written
// only when it differs from what a project without it means (the defaults):
//   EXPO  uint8 format (0 tfd, 1 BMFont text, 2 BMFont XML, 3 BMFont binary, 4 JSON),
//         uint8 page image (0 32-bit PNG, 1 8-bit PNG, 2 TGA), uint8 kerning (0 or 1): the export
//         settings and the project's kerning option, which the file keeps beside them
//   TEXT  the sample text's UTF-8 bytes, the whole payload (0..4,096 bytes, no zero byte)
inline constexpr std::size_t kMaxSampleTextBytes = 4096;
extern const ProjectSection kExportSection;
extern const ProjectSection kSampleTextSection;

}  // namespace vemro
