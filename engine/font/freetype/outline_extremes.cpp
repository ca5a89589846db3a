#include "engine/font/freetype/outline_extremes.h"

#include FT_OUTLINE_H

namespace vemro {

bool OutlineExtremes::find(FT_Outline& outline) {
    FT_Outline_Funcs funcs{};
    funcs.move_to = &OutlineExtremes::moveTo;
    funcs.line_to = &OutlineExtremes::lineTo;
    funcs.conic_to = &OutlineExtremes::conicTo;
    funcs.cubic_to = &OutlineExtremes::cubicTo;
    return FT_Outline_Decompose(&outline, &funcs, this) == 0;
}

void OutlineExtremes::note(double x, double y) {
    if (x < leftX_) {
        leftX_ = x;
        leftY = y;
    }
    if (x > rightX_) {
        rightX_ = x;
        rightY = y;
    }
}

int OutlineExtremes::moveTo(const FT_Vector* to, void* user) {
    auto* self = static_cast<OutlineExtremes*>(user);
    self->note(static_cast<double>(to->x), static_cast<double>(to->y));
    self->current_ = *to;
    return 0;
}

int OutlineExtremes::lineTo(const FT_Vector* to, void* user) {
    return moveTo(to, user);
}

int OutlineExtremes::conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* self = static_cast<OutlineExtremes*>(user);
    // x(t) of a quadratic has its turning point where its derivative vanishes.
    const double x0 = static_cast<double>(self->current_.x);
    const double x1 = static_cast<double>(control->x);
    const double x2 = static_cast<double>(to->x);
    const double curvature = x0 - 2 * x1 + x2;
    if (curvature != 0) {
        const double t = (x0 - x1) / curvature;
        if (t > 0 && t < 1) {
            const double u = 1 - t;
            const double y0 = static_cast<double>(self->current_.y);
            self->note(u * u * x0 + 2 * u * t * x1 + t * t * x2,
                       u * u * y0 + 2 * u * t * static_cast<double>(control->y) +
                           t * t * static_cast<double>(to->y));
        }
    }
    return moveTo(to, user);
}

int OutlineExtremes::cubicTo(const FT_Vector* control1, const FT_Vector* control2,
                             const FT_Vector* to, void* user) {
    auto* self = static_cast<OutlineExtremes*>(user);
    const FT_Vector p0 = self->current_;
    for (int step = 1; step < 8; ++step) {
        const double t = step / 8.0;
        const double u = 1 - t;
        const double a = u * u * u;
        const double b = 3 * u * u * t;
        const double c = 3 * u * t * t;
        const double d = t * t * t;
        self->note(a * static_cast<double>(p0.x) + b * static_cast<double>(control1->x) +
                       c * static_cast<double>(control2->x) + d * static_cast<double>(to->x),
                   a * static_cast<double>(p0.y) + b * static_cast<double>(control1->y) +
                       c * static_cast<double>(control2->y) + d * static_cast<double>(to->y));
    }
    return moveTo(to, user);
}

}  // namespace vemro
