#include "engine/font/freetype/freetype_outline_shape.h"

#include FT_OUTLINE_H

namespace vemro {

namespace {

struct Builder {
    field::Shape shape;
    field::Vector2 at;
};

field::Vector2 pixels(const FT_Vector* v) {
    return {static_cast<double>(v->x) / 64, static_cast<double>(v->y) / 64};
}

int moveTo(const FT_Vector* to, void* user) {
    auto& builder = *static_cast<Builder*>(user);
    builder.shape.contours.emplace_back();
    builder.at = pixels(to);
    return 0;
}

int lineTo(const FT_Vector* to, void* user) {
    auto& builder = *static_cast<Builder*>(user);
    const field::Vector2 end = pixels(to);
    if (!builder.shape.contours.empty()) {
        builder.shape.contours.back().edges.push_back(field::EdgeSegment::line(builder.at, end));
    }
    builder.at = end;
    return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto& builder = *static_cast<Builder*>(user);
    const field::Vector2 end = pixels(to);
    if (!builder.shape.contours.empty()) {
        builder.shape.contours.back().edges.push_back(
            field::EdgeSegment::quadratic(builder.at, pixels(control), end));
    }
    builder.at = end;
    return 0;
}

int cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
    auto& builder = *static_cast<Builder*>(user);
    const field::Vector2 end = pixels(to);
    if (!builder.shape.contours.empty()) {
        builder.shape.contours.back().edges.push_back(
            field::EdgeSegment::cubic(builder.at, pixels(control1), pixels(control2), end));
    }
    builder.at = end;
    return 0;
}

}  // namespace

field::Shape shapeFromOutline(const FT_Outline& outline) {
    static const FT_Outline_Funcs kFunctions = {moveTo, lineTo, conicTo, cubicTo, 0, 0};
    Builder builder;
    // FreeType only reads the outline; its interface just does not say so.
    if (FT_Outline_Decompose(const_cast<FT_Outline*>(&outline), &kFunctions, &builder) != 0) {
        return {};
    }
    // Contours close back to their first point; an empty one (a lone move) goes.
    builder.shape.tidy();
    return builder.shape;
}

}  // namespace vemro
