#pragma once

#include <cstdint>
#include <functional>

#include "engine/font/font_renderer.h"

namespace vemro {

// A stroker offsets each contour of a glyph by the radius. Where the radius is larger than a
// counter (the hole of an "o", the eye of an "e"), the counter's offset contour turns over
// instead of vanishing and keeps a hole of its own in the widened glyph. Those holes lie wholly
// inside the widened glyph: pixels not reached from outside the image through pixels below full
// coverage. Such an enclosed pixel is covered as far as its centre lies within `radius` of the
// glyph's solid ink (pixels of `glyph` of coverage 128 or more, counted to their centres and half
// a pixel beyond): full coverage from one pixel inside that distance, falling to none one pixel
// beyond it. A counter that truly stays open keeps the stroker's coverage, which is no less.
// Both images are placed as renderGlyph places ink (a - margin, top); the glyph is drawn only
// when some pixel is enclosed. Returns whether any was.
bool closeCounters(GlyphImage& bordered, const std::function<GlyphImage()>& drawGlyph,
                   std::int32_t radius);

}  // namespace vemro
