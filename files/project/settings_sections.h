#pragma once

#include "files/project/project_section.h"

namespace vemro {

// The project extension's sections for settings the header cannot hold, each written only when
// it holds something other than what a project without it means:
//   TXSZ  int32 texture width, int32 texture height, each 1..4096: the true sides of a texture
//         with a side above the header's 512 (the header then holds min(side, 512))
//   PACK  uint8 packer (0 rows, 1 tight), int32 spacing (0..16), uint8 fit size (0 or 1),
//         uint8 several pages (0 or 1)
//   WGHT  int32 weight, 1..1000: the true weight where it is none of the three the header holds
//         (a face whose weight varies); the header then holds fixedWeightFor(weight)
//   TRIM  uint8 cells trimmed to the ink (0 or 1; a .tfd export never trims)
// Fields are little-endian.
inline constexpr char kTextureSizeTag[] = "TXSZ";
inline constexpr char kWeightTag[] = "WGHT";
extern const ProjectSection kTextureSizeSection;
extern const ProjectSection kPackingSection;
extern const ProjectSection kWeightSection;
extern const ProjectSection kTrimSection;

}  // namespace vemro
