#pragma once

#include <cstddef>

#include "files/project/project_section.h"

namespace vemro {

// The most fallback faces a project holds.
inline constexpr std::size_t kMaxProjectFallbacks = 16;

// "FALL": the fallback faces in order. A uint32 count, then for each face a byte (0: an
// installed typeface, 1: a font file), a uint32 length and that many bytes of UTF-8 (the name or
// the absolute path), and an int32 face index (0 for a typeface). Written only when the project
// has fallbacks.
extern const ProjectSection kFallbackSection;

}  // namespace vemro
