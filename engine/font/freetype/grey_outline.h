#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <cstdint>
#include <optional>

#include "engine/font/font_renderer.h"
#include "engine/font/freetype/freetype_handles.h"

namespace vemro {

// The pixels of the bitmap FreeType's smooth renderer makes for an outline: its control box
// widened to whole pixels.
struct PixelBox {
    FT_Pos left = 0;
    FT_Pos right = 0;
    FT_Pos bottom = 0;
    FT_Pos top = 0;

    bool empty() const { return right <= left || top <= bottom; }
    FT_Pos width() const { return right - left; }
    FT_Pos height() const { return top - bottom; }
};

// The bitmap box of an outline; nothing for boxes so far out that the renderer's limits come
// into play, which are left to FT_Render_Glyph.
std::optional<PixelBox> greyBitmapBox(const FT_Outline& outline);

// Draws an antialiased outline the way FT_Render_Glyph does, with the same rasteriser on the
// same bitmap box, but into a buffer the image can keep, so that ink touching every edge of the
// box (the usual case) needs no copy. `ascent` places the image's rows below the cell's top.
// Nothing when the outline is for FT_Render_Glyph to draw. The outline is left as it was.
std::optional<GlyphImage> drawGreyOutline(FT_Library library, FT_Outline& outline,
                                          std::int32_t ascent);

}  // namespace vemro
