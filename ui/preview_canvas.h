#pragma once

#include <QImage>
#include <QRect>

namespace vemro {

struct AtlasEncoding;
struct AtlasPage;

namespace preview_canvas {

// The picture the preview magnifies for one atlas page is a canvas of
// preview_geometry::canvasExtent of the page's sides: inside the page its coverage (or distance
// field) as grey (red, green and blue all equal to the value), or a colour page's pixels
// composed over a checkerboard of two greys in squares of 8 pixels, so that see-through pixels
// show as such; elsewhere mid grey crossed by one-pixel black diagonals, ten pixels apart,
// running both ways. Without a page the canvas is all hatch.
//
// The part of that canvas in region (canvas pixels, inside the canvas), as a Format_RGB32 image
// of region's size. Only the part in view is ever made, so a 4096 x 4096 page costs no more than
// the pixels the view shows.
QImage compose(const AtlasPage* page, QRect region);

// A distance-field page rendered for the screen (field_rendering.h): an image of `size` view
// pixels whose pixel (i, j) shows the canvas at origin + ((i + 0.5) x step.width, (j + 0.5) x
// step.height), the field there thresholded with a ramp of one view pixel, white on black; the
// hatch beyond the page. `encoding` is the field's.
QImage composeField(const AtlasPage* page, QPointF origin, QSizeF step, QSize size,
                    const AtlasEncoding& encoding);

}  // namespace preview_canvas
}  // namespace vemro
