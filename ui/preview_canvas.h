#pragma once

#include <QImage>
#include <QRect>

namespace vemro {

struct AtlasPage;

namespace preview_canvas {

// The picture the preview magnifies for one atlas page is a canvas of
// preview_geometry::canvasExtent of the page's sides: inside the page its coverage as grey (red,
// green and blue all equal to the coverage), elsewhere mid grey crossed by one-pixel black
// diagonals, ten pixels apart, running both ways. Without a page the canvas is all hatch.
//
// The part of that canvas in region (canvas pixels, inside the canvas), as a Format_RGB32 image
// of region's size. Only the part in view is ever made, so a 4096 x 4096 page costs no more than
// the pixels the view shows.
QImage compose(const AtlasPage* page, QRect region);

}  // namespace preview_canvas
}  // namespace vemro
