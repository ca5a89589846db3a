#include "engine/raster/glyph_field_maker.h"

#include <cmath>

#include "engine/field/edge_colouring.h"
#include "engine/field/field_encoding.h"
#include "engine/field/field_frame.h"
#include "engine/field/outline_boundary.h"

namespace vemro {

namespace {

// The outline's box in whole pixels; nothing when it has no area.
struct WholeBox {
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t top = 0;

    bool empty() const { return right <= left || top <= bottom; }
};

WholeBox wholeBoxOf(const field::Box& box) {
    if (box.empty()) {
        return {};
    }
    return {static_cast<std::int32_t>(std::floor(box.left)),
            static_cast<std::int32_t>(std::ceil(box.right)),
            static_cast<std::int32_t>(std::floor(box.bottom)),
            static_cast<std::int32_t>(std::ceil(box.top))};
}

}  // namespace

GlyphMetrics fieldMetrics(const field::Shape& outline, std::int32_t ascent) {
    const WholeBox box = wholeBoxOf(outline.controlBox());
    return box.empty() ? GlyphMetrics{}
                       : GlyphMetrics{box.left, box.right - box.left, ascent - box.top,
                                      box.top - box.bottom};
}

ReducedInk GlyphFieldMaker::draw(const field::Shape& outline, FieldForm form, std::int32_t ascent) {
    const field::Box box = outline.controlBox();
    if (wholeBoxOf(box).empty()) {
        return ReducedInk{};
    }
    // The frame comes from the outline as the font gives it, hidden edges and all, so that it is
    // the box the metrics describe.
    const field::FieldFrame frame = field::FieldFrame::around(box, form.spread);
    field::Shape boundary = field::outlineBoundary(outline);
    if (field::isMultiChannel(form.kind)) {
        field::colourEdges(boundary);
    }
    const int channels = field::channelCount(form.kind);
    pixels_.resize(frame.width, frame.height, channels);
    generator_.generate(boundary, form.kind, frame, form.spread, pixels_.view());

    ReducedInk ink;
    ink.left = -form.spread;
    ink.top = ascent - static_cast<std::int32_t>(frame.origin.y);
    ink.width = frame.width;
    ink.height = frame.height;
    ink.channels = channels;
    ink.pixels.resize(static_cast<std::size_t>(frame.width) * frame.height * channels);
    field::encodeField(pixels_.view(), form.spread, ink.pixels.data(),
                       static_cast<std::ptrdiff_t>(frame.width) * channels);
    return ink;
}

}  // namespace vemro
