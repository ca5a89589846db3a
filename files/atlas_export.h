#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/atlas.h"
#include "engine/result.h"

namespace vemro {

// The chosen path with the extension of its last component (from its last dot) replaced by
// extension (".tga" or ".tfd"). Only "/" separates folders; a dot in a folder name is kept.
std::string exportPath(const std::string& chosenPath, const std::string& extension);

// The 32-bit TGA: 18-byte header, rows bottom first, each pixel FF FF FF alpha, alpha being the
// red level of the surface pixel.
std::vector<std::uint8_t> encodeAtlasImage(const PixelSurface& surface, AtlasSize size);

// The .tfd text, every line ended with CR LF.
std::string encodeGlyphDescription(AtlasSize size, const GlyphList& glyphs);

Status writeAtlasImage(const std::string& chosenPath, const PixelSurface& surface, AtlasSize size);
Status writeGlyphDescription(const std::string& chosenPath, AtlasSize size,
                             const GlyphList& glyphs);

// Writes both files from the state the last rebuild left; the description is attempted even
// when the image fails. Returns one message per file that failed, none on success.
std::vector<std::string> exportAtlas(const std::string& chosenPath, const Atlas& atlas);

}  // namespace vemro
