#pragma once

#include <cstdint>
#include <vector>

#include "engine/field/artefact_corrector.h"
#include "engine/field/edge_culler.h"
#include "engine/field/field_frame.h"
#include "engine/field/field_kind.h"
#include "engine/field/field_pixels.h"
#include "engine/field/pixel_edge.h"
#include "engine/field/shape.h"
#include "engine/field/winding_rows.h"

namespace vemro::field {

// Makes distance fields of shapes. It keeps its working memory from one field to the next, so
// each thread should have one of its own; fields of any number of shapes may be made with it.
//
// The shape should come from outlineBoundary (its fill left of every edge, no edges inside the
// fill) and, for the multi-channel kinds, be coloured by colourEdges; the inside is taken from
// the shape's non-zero winding, row by row.
class FieldGenerator {
public:
    // Fills `out` (frame.width x frame.height pixels of channelCount(kind) channels) with the
    // field of the shape over the frame: distances in pixels, positive inside, clamped to
    // [-spread, spread]; pixels farther than the spread from the outline hold -spread or
    // spread in every channel. Multi-channel fields are corrected where the median of the
    // channels would give the wrong side of the outline (see ArtefactCorrector).
    void generate(const Shape& shape, FieldKind kind, const FieldFrame& frame, double spread,
                  const FieldView& out);

private:
    class PixelVisitor;

    std::vector<PixelEdge> edges_;
    WindingRows winding_;
    EdgeCuller culler_;
    ArtefactCorrector corrector_;
    std::vector<std::uint8_t> inside_;
    std::vector<float> trueDistance_;
};

}  // namespace vemro::field
