#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <limits>

#include "engine/font/freetype/freetype_handles.h"

namespace vemro {

// Where the curves of an outline reach furthest left and right (only a good guess for cubics):
// the place to look for ink first.
class OutlineExtremes {
public:
    double leftY = 0;
    double rightY = 0;

    // Walks the outline; false when FreeType cannot decompose it.
    bool find(FT_Outline& outline);

private:
    void note(double x, double y);

    static int moveTo(const FT_Vector* to, void* user);
    static int lineTo(const FT_Vector* to, void* user);
    static int conicTo(const FT_Vector* control, const FT_Vector* to, void* user);
    static int cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to,
                       void* user);

    FT_Vector current_{0, 0};
    double leftX_ = std::numeric_limits<double>::max();
    double rightX_ = std::numeric_limits<double>::lowest();
};

}  // namespace vemro
