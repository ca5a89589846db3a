#pragma once

#include <QImage>

namespace vemro {

struct AtlasPage;

namespace preview_canvas {

// The picture the preview magnifies for one atlas page: preview_geometry::kCanvasSide pixels
// square, Format_RGB32. The page's part of the canvas shows its coverage as grey (red, green
// and blue all equal to the coverage); the rest of the canvas is mid grey crossed by one-pixel
// black diagonals, ten pixels apart, running both ways. Without a page the canvas is all hatch.
QImage compose(const AtlasPage* page);

}  // namespace preview_canvas
}  // namespace vemro
