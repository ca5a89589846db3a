#include "engine/font/freetype/outline_side_rows.h"

#include FT_OUTLINE_H

#include <algorithm>

namespace vemro {

namespace {

constexpr int kMaxDepth = 16;

}  // namespace

bool OutlineSideRows::find(FT_Outline& outline) {
    FT_Outline_Funcs funcs{};
    funcs.move_to = &OutlineSideRows::moveTo;
    funcs.line_to = &OutlineSideRows::lineTo;
    funcs.conic_to = &OutlineSideRows::conicTo;
    funcs.cubic_to = &OutlineSideRows::cubicTo;
    return FT_Outline_Decompose(&outline, &funcs, this) == 0;
}

int OutlineSideRows::moveTo(const FT_Vector* to, void* user) {
    auto* self = static_cast<OutlineSideRows*>(user);
    self->current_ = {static_cast<double>(to->x), static_cast<double>(to->y)};
    return 0;
}

int OutlineSideRows::lineTo(const FT_Vector* to, void* user) {
    auto* self = static_cast<OutlineSideRows*>(user);
    const Point piece[2] = {self->current_,
                            {static_cast<double>(to->x), static_cast<double>(to->y)}};
    self->add(piece, 2, 0);
    self->current_ = piece[1];
    return 0;
}

int OutlineSideRows::conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* self = static_cast<OutlineSideRows*>(user);
    const Point piece[3] = {self->current_,
                            {static_cast<double>(control->x), static_cast<double>(control->y)},
                            {static_cast<double>(to->x), static_cast<double>(to->y)}};
    self->add(piece, 3, 0);
    self->current_ = piece[2];
    return 0;
}

int OutlineSideRows::cubicTo(const FT_Vector* control1, const FT_Vector* control2,
                             const FT_Vector* to, void* user) {
    auto* self = static_cast<OutlineSideRows*>(user);
    const Point piece[4] = {self->current_,
                            {static_cast<double>(control1->x), static_cast<double>(control1->y)},
                            {static_cast<double>(control2->x), static_cast<double>(control2->y)},
                            {static_cast<double>(to->x), static_cast<double>(to->y)}};
    self->add(piece, 4, 0);
    self->current_ = piece[3];
    return 0;
}

void OutlineSideRows::add(const Point* p, int n, int depth) {
    int inside = 0;
    for (int i = 0; i < n; ++i) {
        inside += onSide(p[i]) ? 1 : 0;
    }
    if (inside == 0) {
        return;
    }
    if (inside == n || depth == kMaxDepth) {
        for (int i = 0; i < n; ++i) {
            low_ = std::min(low_, p[i].y);
            high_ = std::max(high_, p[i].y);
        }
        return;
    }
    // de Casteljau at t = 1/2.
    Point work[4]{};
    std::copy(p, p + n, work);
    Point first[4]{};
    Point second[4]{};
    for (int level = 0; level < n; ++level) {
        first[level] = work[0];
        second[n - 1 - level] = work[n - 1 - level];
        for (int i = 0; i + 1 < n - level; ++i) {
            work[i] = {(work[i].x + work[i + 1].x) / 2, (work[i].y + work[i + 1].y) / 2};
        }
    }
    add(first, n, depth + 1);
    add(second, n, depth + 1);
}

}  // namespace vemro
