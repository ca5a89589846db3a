#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/atlas/atlas_result.h"
#include "engine/core/result.h"
#include "engine/project/atlas_size.h"

namespace vemro {

// The 32-bit TGA of one page: 18-byte header, rows bottom first, each pixel FF FF FF and the
// page's coverage as alpha (a colour page: its blue, green, red and alpha). A texture position
// the page does not hold reads as no coverage.
std::vector<std::uint8_t> encodeTgaImage(const AtlasPage& page, AtlasSize size);

// Writes encodeTgaImage(page, size) to path, whole or not at all.
Status writeTgaImage(const std::string& path, const AtlasPage& page, AtlasSize size);

}  // namespace vemro
