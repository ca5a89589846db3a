#pragma once

#include <cstdint>

namespace vemro {

// The preview's arithmetic, kept apart from the widget so that every rounding step is visible.
// The zoom is a percentage from 100 to 1000; the scale is surface pixels per view pixel.
namespace preview_geometry {

inline constexpr int kSurfaceSide = 512;
inline constexpr int kMinZoom = 100;
inline constexpr int kMaxZoom = 1000;

// 100 / zoom, held as a 32-bit float (0.333333343 at 300 %, 0.100000001 at 1000 %).
float scaleFor(int zoomPercent);

// Surface pixels in view along one side: the view extent times the scale, formed in double
// precision and truncated.
int sourceExtent(int viewExtent, float scale);

// Largest scroll position along one side; 0 when the view shows the whole side or more.
int scrollMaximum(int sourceExtent);

// A surface coordinate (a glyph edge) in view pixels, for a view scrolled to scrollPosition:
// the distance divided by the scale in double precision, truncated toward zero (so -3 at 300 %
// gives -8, not -9).
int viewCoordinate(std::int32_t surfaceEdge, int scrollPosition, float scale);

}  // namespace preview_geometry
}  // namespace vemro
