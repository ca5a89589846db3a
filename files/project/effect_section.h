#pragma once

#include "files/project/project_section.h"

namespace vemro {

// The project extension's section for the effects, written only when any setting differs from
// its default (a switched-off effect's values count too, so that they are kept):
//   EFCT  uint8 fill red, green, blue;
//         uint8 outline (0 or 1), int32 outline width (1..16), uint8 outline red, green, blue;
//         uint8 shadow (0 or 1), int32 offset x, int32 offset y (each -16..16), int32 blur
//         (0..8), uint8 shadow red, green, blue, uint8 opacity;
//         uint8 distance field (0 or 1), int32 spread (2..32)
// Fields are little-endian.
extern const ProjectSection kEffectsSection;

// What keeps the effects from being stored so that they read back, or nothing.
std::optional<std::string> effectsProblem(const EffectSettings& effects);

}  // namespace vemro
