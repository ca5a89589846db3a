#pragma once

#include <QImage>
#include <QRect>

namespace vemro {

struct AtlasResult;
struct LaidOutLine;

namespace sample_line_canvas {

// A laid-out line of text drawn from the atlas pages as a game engine draws it: black ground,
// each character's rectangle copied from its page as white with the page's coverage as alpha,
// blended over what is drawn already (so a cell's empty part never hides a neighbour's ink).
//
// The part in region (atlas pixels, x from the pen's start, y from the line's top), as a
// Format_RGB32 image of region's size. Only the part in view is ever made, however long the
// line.
QImage compose(const AtlasResult& result, const LaidOutLine& line, QRect region);

}  // namespace sample_line_canvas
}  // namespace vemro
