#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/atlas/atlas_result.h"
#include "engine/core/result.h"
#include "engine/project/atlas_size.h"

namespace vemro {

// The TGA of one page: 18-byte header, rows bottom first. 32-bit for a page of one channel (each
// pixel FF FF FF and the page's value as alpha) or four (its blue, green, red and alpha); 24-bit
// for a page of three (its blue, green and red). A texture position the page does not hold reads
// as no coverage.
std::vector<std::uint8_t> encodeTgaImage(const AtlasPage& page, AtlasSize size);

// Writes encodeTgaImage(page, size) to path, whole or not at all.
Status writeTgaImage(const std::string& path, const AtlasPage& page, AtlasSize size);

}  // namespace vemro
