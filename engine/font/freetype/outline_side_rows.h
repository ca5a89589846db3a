#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include "engine/font/freetype/freetype_handles.h"

namespace vemro {

// The rows an outline occupies on one side of a vertical line: parts with x <= limit when
// `leftOf`, else parts with x >= limit (26.6 units). Curves are split until each piece lies
// wholly on one side or is tiny.
class OutlineSideRows {
public:
    OutlineSideRows(double limit, bool leftOf) : limit_(limit), leftOf_(leftOf) {}

    // Walks the outline; false when FreeType cannot decompose it.
    bool find(FT_Outline& outline);

    bool empty() const { return low_ > high_; }
    double low() const { return low_; }
    double high() const { return high_; }

private:
    struct Point {
        double x;
        double y;
    };

    static int moveTo(const FT_Vector* to, void* user);
    static int lineTo(const FT_Vector* to, void* user);
    static int conicTo(const FT_Vector* control, const FT_Vector* to, void* user);
    static int cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to,
                       void* user);

    bool onSide(const Point& p) const { return leftOf_ ? p.x <= limit_ : p.x >= limit_; }
    // A piece of n control points (a line, a conic or a cubic): the curve lies in their hull.
    void add(const Point* p, int n, int depth);

    double limit_;
    bool leftOf_;
    Point current_{0, 0};
    double low_ = 1e300;
    double high_ = -1e300;
};

}  // namespace vemro
