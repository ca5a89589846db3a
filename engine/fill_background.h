#pragma once

#include "engine/atlas_size.h"
#include "engine/pixel_surface.h"

namespace vemro {

inline constexpr std::uint32_t kHatchGrey = 0x00808080u;

// Paints the whole surface: the texture area (top-left width x height of size) black, the rest
// grey crossed by one-pixel black diagonals 10 pixels apart in both directions. The diagonals are
// laid out against the 512-pixel atlas side whatever the texture size, so the pattern never moves.
void fillBackground(PixelSurface& surface, AtlasSize size);

}  // namespace vemro
