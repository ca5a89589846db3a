#include "engine/font/freetype/outline_measure.h"

#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/font/freetype/grey_outline.h"
#include "engine/font/freetype/outline_side_rows.h"

namespace vemro {

namespace {

// The distance (26.6) by which the rasteriser's straight pieces of a curve may stray from the
// curve, with room to spare, and the rows added around a band for the same reason.
constexpr double kCurveSlack = 128.0;
constexpr FT_Pos kRowSlack = 2;

// Probing one column at a time stops after this many empty columns; one whole pass then finds
// both edges.
constexpr FT_Pos kMaxProbes = 4;

}  // namespace

// First and last column, and lowest and highest row, holding ink inside a clip box, from the
// rasteriser's spans.
struct OutlineMeasure::SpanInk {
    int first = std::numeric_limits<int>::max();
    int last = std::numeric_limits<int>::min();
    int low = std::numeric_limits<int>::max();
    int high = std::numeric_limits<int>::min();

    bool any() const { return last >= first; }

    static void note(int y, int count, const FT_Span* spans, void* user) {
        auto* self = static_cast<SpanInk*>(user);
        for (int i = 0; i < count; ++i) {
            if (spans[i].coverage != 0 && spans[i].len > 0) {
                self->first = std::min(self->first, static_cast<int>(spans[i].x));
                self->last = std::max(self->last, spans[i].x + spans[i].len - 1);
                self->low = std::min(self->low, y);
                self->high = std::max(self->high, y);
            }
        }
    }
};

std::optional<GlyphMetrics> OutlineMeasure::measure(std::int32_t ascent) {
    const std::optional<PixelBox> box = greyBitmapBox(outline_);
    if (!box) {
        return std::nullopt;
    }
    if (box->empty()) {
        return GlyphMetrics{};  // no bitmap, so no ink
    }
    const FT_Pos left = box->left;
    const FT_Pos bottom = box->bottom;
    width_ = box->width();
    height_ = box->height();
    // Place the outline where the renderer puts it for drawing, bitmap origin at (0, 0).
    FT_Outline_Translate(&outline_, -left * 64, -bottom * 64);
    std::optional<GlyphMetrics> result;
    if (extremes_.find(outline_)) {
        result = inkColumns();
    }
    // inkColumns reports a glyph without ink as B = 0.
    std::optional<std::pair<FT_Pos, FT_Pos>> rows;
    if (result && result->b != 0) {
        rows = inkRows();
    }
    FT_Outline_Translate(&outline_, left * 64, bottom * 64);
    if (result && result->b == 0) {
        return GlyphMetrics{};
    }
    if (!result || !rows) {
        return std::nullopt;
    }
    // Row r of the box, counted upwards from its bottom, spans y = bottom + r to bottom + r + 1;
    // the cell's top lies at y = ascent.
    return GlyphMetrics{result->a + static_cast<std::int32_t>(left), result->b,
                        ascent - static_cast<std::int32_t>(bottom + rows->second + 1),
                        static_cast<std::int32_t>(rows->second - rows->first + 1)};
}

std::optional<bool> OutlineMeasure::rowHasInk(FT_Pos row) {
    SpanInk ink;
    if (!render(0, width_, row, row + 1, ink)) {
        return std::nullopt;
    }
    return ink.any();
}

std::optional<std::pair<FT_Pos, FT_Pos>> OutlineMeasure::inkRows() {
    std::optional<FT_Pos> high;
    for (FT_Pos row = height_ - 1; row >= std::max<FT_Pos>(0, height_ - kMaxProbes) && !high;
         --row) {
        const std::optional<bool> ink = rowHasInk(row);
        if (!ink) {
            return std::nullopt;
        }
        if (*ink) {
            high = row;
        }
    }
    std::optional<FT_Pos> low;
    if (high) {
        for (FT_Pos row = 0; row <= std::min(*high, kMaxProbes - 1) && !low; ++row) {
            const std::optional<bool> ink = rowHasInk(row);
            if (!ink) {
                return std::nullopt;
            }
            if (*ink) {
                low = row;
            }
        }
    }
    if (!high || !low) {
        // Wide margins without ink: one pass over the whole box, which has ink.
        SpanInk ink;
        if (!render(0, width_, 0, height_, ink) || !ink.any()) {
            return std::nullopt;
        }
        return std::pair<FT_Pos, FT_Pos>{ink.low, ink.high};
    }
    return std::pair<FT_Pos, FT_Pos>{*low, *high};
}

bool OutlineMeasure::render(FT_Pos first, FT_Pos end, FT_Pos rowBegin, FT_Pos rowEnd,
                            SpanInk& ink) {
    rowBegin = std::max<FT_Pos>(rowBegin, 0);
    rowEnd = std::min<FT_Pos>(rowEnd, height_);
    if (rowEnd <= rowBegin) {
        return true;
    }
    FT_Raster_Params params{};
    params.source = &outline_;
    params.flags = FT_RASTER_FLAG_AA | FT_RASTER_FLAG_DIRECT | FT_RASTER_FLAG_CLIP;
    params.gray_spans = &SpanInk::note;
    params.user = &ink;
    params.clip_box = {first, rowBegin, end, rowEnd};
    return FT_Outline_Render(library_, &outline_, &params) == 0;
}

std::optional<bool> OutlineMeasure::columnHasInk(FT_Pos column, bool fromLeft) {
    // Ink found in any clip box is ink, so a few rows around the outermost point are asked
    // first; they nearly always hold some. Only a column without ink there needs the full band
    // of rows.
    const auto pointRow =
        static_cast<FT_Pos>(std::floor((fromLeft ? extremes_.leftY : extremes_.rightY) / 64));
    SpanInk near;
    if (!render(column, column + 1, pointRow - kRowSlack, pointRow + 1 + kRowSlack, near)) {
        return std::nullopt;
    }
    if (near.any()) {
        return true;
    }
    // From the left: the parts left of the column's right edge; from the right: the parts right
    // of its left edge.
    OutlineSideRows rows(fromLeft ? static_cast<double>((column + 1) * 64) + kCurveSlack
                                  : static_cast<double>(column * 64) - kCurveSlack,
                         fromLeft);
    if (!rows.find(outline_)) {
        return std::nullopt;
    }
    if (rows.empty()) {
        return false;
    }
    const auto rowBegin = static_cast<FT_Pos>(std::floor(rows.low() / 64)) - kRowSlack;
    const auto rowEnd = static_cast<FT_Pos>(std::floor(rows.high() / 64)) + 1 + kRowSlack;
    SpanInk ink;
    if (!render(column, column + 1, rowBegin, rowEnd, ink)) {
        return std::nullopt;
    }
    return ink.any();
}

std::optional<GlyphMetrics> OutlineMeasure::inkColumns() {
    std::optional<FT_Pos> first;
    for (FT_Pos column = 0; column < std::min(width_, kMaxProbes) && !first; ++column) {
        const std::optional<bool> ink = columnHasInk(column, true);
        if (!ink) {
            return std::nullopt;
        }
        if (*ink) {
            first = column;
        }
    }
    std::optional<FT_Pos> last;
    if (first) {
        for (FT_Pos column = width_ - 1; column >= std::max(*first, width_ - kMaxProbes) && !last;
             --column) {
            const std::optional<bool> ink = columnHasInk(column, false);
            if (!ink) {
                return std::nullopt;
            }
            if (*ink) {
                last = column;
            }
        }
    }
    if (!first || !last) {
        // Wide margins without ink: one pass over the whole box.
        SpanInk ink;
        if (!render(0, width_, 0, height_, ink)) {
            return std::nullopt;
        }
        if (!ink.any()) {
            return GlyphMetrics{0, 0};
        }
        return GlyphMetrics{ink.first, ink.last - ink.first + 1};
    }
    return GlyphMetrics{static_cast<std::int32_t>(*first),
                        static_cast<std::int32_t>(*last - *first + 1)};
}

}  // namespace vemro
