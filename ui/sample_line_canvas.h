#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>

namespace vemro {

struct AtlasResult;
struct LaidOutLine;

namespace sample_line_canvas {

// A laid-out line of text drawn from the atlas pages as a game engine draws it: black ground,
// each character's rectangle copied from its page as white with the page's coverage as alpha
// (a colour page's own colours and alpha, over the preview's checkerboard of 8-pixel squares
// rather than black; a multi-channel field's red, green and blue, each channel the lighter of
// the two), blended over what is drawn already (so a cell's empty part never hides a
// neighbour's ink).
//
// The part in region (atlas pixels, x from the pen's start, y from the line's top), as a
// Format_RGB32 image of region's size. Only the part in view is ever made, however long the
// line.
QImage compose(const AtlasResult& result, const LaidOutLine& line, QRect region);

// The line of a distance-field atlas rendered for the screen (field_rendering.h): an image of
// `size` view pixels whose pixel (i, j) shows the line at atlas position origin + (i + 0.5,
// j + 0.5) x step, each character's field sampled within its rectangle (by the median of a
// multi-channel field) and thresholded with a ramp of one view pixel, white over black.
QImage composeField(const AtlasResult& result, const LaidOutLine& line, QPointF origin, double step,
                    QSize size);

}  // namespace sample_line_canvas
}  // namespace vemro
