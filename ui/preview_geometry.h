#pragma once

#include <cstdint>

namespace vemro {

// The preview's arithmetic, kept apart from the widget so that every rounding step is visible.
// The preview shows a canvas: the texture at its top-left corner, a hatch right of and below it
// up to at least kMinCanvasSide pixels along each side. The zoom is a percentage from 100 to
// 1000; the scale is canvas pixels per view pixel.
namespace preview_geometry {

inline constexpr int kMinCanvasSide = 512;
inline constexpr int kMinZoom = 100;
inline constexpr int kMaxZoom = 1000;

// 100 / zoom, held as a 32-bit float (0.333333343 at 300 %, 0.100000001 at 1000 %).
float scaleFor(int zoomPercent);

// Canvas pixels in view along one side: the view extent times the scale, formed in double
// precision and truncated.
int sourceExtent(int viewExtent, float scale);

// The canvas along one side for a texture side: the larger of the two and kMinCanvasSide.
int canvasExtent(int textureSide);

// Largest scroll position along one side of canvasExtent pixels; 0 when the view shows the
// whole side or more.
int scrollMaximum(int canvasExtent, int sourceExtent);

// A canvas coordinate (a glyph edge) in view pixels, for a view scrolled to scrollPosition:
// the distance divided by the scale in double precision, truncated toward zero (so -3 at 300 %
// gives -8, not -9).
int viewCoordinate(std::int32_t canvasEdge, int scrollPosition, float scale);

// The zoom steps of the wheel and the zoom commands are the whole multiples of kZoomStep, so
// every canvas pixel covers the same number of view pixels. The next step above zoomPercent
// (direction > 0) or below it (direction < 0), kept within kMinZoom..kMaxZoom.
inline constexpr int kZoomStep = 100;
int nextZoomStep(int zoomPercent, int direction);

// The canvas pixel shown at view pixel viewPixel (its centre) along one side of a view
// viewExtent pixels long that shows sourceExtent canvas pixels from scrollPosition on, as the
// preview paints it: the canvas stretched by viewExtent / sourceExtent, sampled at pixel
// centres.
int canvasPixelAt(int viewPixel, int scrollPosition, int viewExtent, int sourceExtent);

// The scroll position that shows canvasPixel at viewPixel, within 0..scrollMaximum.
int scrollToShow(int canvasPixel, int viewPixel, int viewExtent, int sourceExtent,
                 int canvasExtent);

}  // namespace preview_geometry
}  // namespace vemro
