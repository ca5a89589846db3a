#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/project/effect_settings.h"

namespace vemro {

// The project extension's section for the effects, written only when any setting differs from
// its default (a switched-off effect's values count too, so that they are kept):
//   EFCT  uint8 fill red, green, blue;
//         uint8 outline (0 or 1), int32 outline width (1..16), uint8 outline red, green, blue;
//         uint8 shadow (0 or 1), int32 offset x, int32 offset y (each -16..16), int32 blur
//         (0..8), uint8 shadow red, green, blue, uint8 opacity;
//         uint8 distance field (0 or 1), int32 spread (2..32)
// Fields are little-endian.
inline constexpr char kEffectsTag[] = "EFCT";
inline constexpr std::size_t kEffectsPayloadBytes = 33;

void appendEffectsSection(std::vector<std::uint8_t>& out, const EffectSettings& effects);

// Reads the payload of `length` bytes at `at` (the section's header already read), or says what
// is wrong with it, naming the limit.
std::optional<std::string> readEffectsSection(const std::vector<std::uint8_t>& bytes,
                                              std::size_t at, std::size_t length,
                                              std::optional<EffectSettings>& effects);

// What keeps the values from being stored so that they read back, or nothing.
std::optional<std::string> effectsProblem(const EffectSettings& effects);

}  // namespace vemro
