#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/project/atlas_size.h"
#include "engine/project/packing_settings.h"

namespace vemro {

// The project extension's sections for settings the header cannot hold, each written only when
// it holds something other than what a project without it means:
//   TXSZ  int32 texture width, int32 texture height, each 1..4096: the true sides of a texture
//         with a side above the header's 512 (the header then holds min(side, 512))
//   PACK  uint8 packer (0 rows, 1 tight), int32 spacing (0..16), uint8 fit size (0 or 1),
//         uint8 several pages (0 or 1)
// Fields are little-endian.
inline constexpr char kTextureSizeTag[] = "TXSZ";
inline constexpr char kPackingTag[] = "PACK";
inline constexpr std::size_t kTextureSizePayloadBytes = 8;
inline constexpr std::size_t kPackingPayloadBytes = 7;

void appendTextureSizeSection(std::vector<std::uint8_t>& out, AtlasSize size);
void appendPackingSection(std::vector<std::uint8_t>& out, const PackingSettings& packing);

// Read the payload of `length` bytes at `at` (the section's header already read), or say what
// is wrong with it, naming the limit.
std::optional<std::string> readTextureSizeSection(const std::vector<std::uint8_t>& bytes,
                                                  std::size_t at, std::size_t length,
                                                  std::optional<AtlasSize>& size);
std::optional<std::string> readPackingSection(const std::vector<std::uint8_t>& bytes,
                                              std::size_t at, std::size_t length,
                                              std::optional<PackingSettings>& packing);

// What keeps the values from being stored so that they read back, or nothing.
std::optional<std::string> textureSizeProblem(AtlasSize size);
std::optional<std::string> packingProblem(const PackingSettings& packing);

}  // namespace vemro
