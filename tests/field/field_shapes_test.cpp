// Fields of shapes whose contours overlap, cancel or run either way round, against the
// brute-force oracle: the inside by the non-zero rule and the distance to the visible outline
// only, not to edges hidden inside the fill.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/field/field_check.h"

namespace vemro::field::test {
namespace {

Contour square(double left, double bottom, double size, bool counterClockwise) {
    const Vector2 a{left, bottom};
    const Vector2 b{left + size, bottom};
    const Vector2 c{left + size, bottom + size};
    const Vector2 d{left, bottom + size};
    Contour contour;
    contour.edges = {EdgeSegment::line(a, b), EdgeSegment::line(b, c), EdgeSegment::line(c, d),
                     EdgeSegment::line(d, a)};
    if (!counterClockwise) {
        contour.reverse();
    }
    return contour;
}

// A circle of `parts` quadratic or cubic arcs.
Contour circle(Vector2 centre, double radius, int parts, bool cubic, bool counterClockwise) {
    Contour contour;
    const double step = 2 * std::numbers::pi / parts;
    const auto at = [&](double angle, double r) {
        return centre + Vector2{std::cos(angle), std::sin(angle)} * r;
    };
    for (int i = 0; i < parts; ++i) {
        const double a0 = i * step;
        const double a1 = a0 + step;
        if (cubic) {
            const double handle = radius * 4.0 / 3.0 * std::tan(step / 4);
            const Vector2 p0 = at(a0, radius);
            const Vector2 p3 = at(a1, radius);
            contour.edges.push_back(
                EdgeSegment::cubic(p0, p0 + Vector2{-std::sin(a0), std::cos(a0)} * handle,
                                   p3 - Vector2{-std::sin(a1), std::cos(a1)} * handle, p3));
        } else {
            contour.edges.push_back(EdgeSegment::quadratic(
                at(a0, radius), at(a0 + step / 2, radius / std::cos(step / 2)), at(a1, radius)));
        }
    }
    if (!counterClockwise) {
        contour.reverse();
    }
    return contour;
}

TEST(FieldShapes, OverlappingReversedAndNestedContours) {
    const std::vector<Shape> shapes = {
        // Two squares wound the same way, overlapping: one filled region.
        {{square(0, 0, 20, true), square(10, 6, 20, true)}},
        // The same with the second wound the other way: the overlap is a hole.
        {{square(0, 0, 20, true), square(10, 6, 20, false)}},
        // A ring wound as TrueType winds it, outside clockwise.
        {{square(0, 0, 24, false), square(6, 6, 12, true)}},
        // A square inside a square wound the same way: its edges are hidden.
        {{square(0, 0, 24, true), square(6, 6, 12, true)}},
        // Two squares overlapping along common stretches of their top and bottom sides, wound
        // the same way, as hinting leaves strokes.
        {{square(0, 0, 12, false), square(10, 0, 12, false)}},
        // Two squares sharing part of a side, and a circle across both.
        {{square(0, 0, 12, true), square(12, 4, 12, true), circle({12, 10}, 7, 8, true, false)}},
        // Overlapping circles of quadratic arcs, one wound each way.
        {{circle({10, 10}, 9, 6, false, true), circle({18, 12}, 8, 7, false, true),
          circle({14, 4}, 5, 5, false, false)}},
    };
    FieldFigures figures;
    int index = 0;
    for (const Shape& shape : shapes) {
        checkOutline(shape, 4, "shape " + std::to_string(index++), nullptr, 0, figures);
    }
    std::printf("%s", figures.summary().c_str());
    EXPECT_LE(figures.worstDistanceError, 1.0 / 16) << figures.worstDistanceGlyph;
    EXPECT_EQ(figures.wrongSides, 0) << "first in " << figures.firstWrongSide;
    for (std::size_t k = 0; k < kAllKinds.size(); ++k) {
        for (std::size_t s = 0; s < kScales.size(); ++s) {
            EXPECT_GE(figures.leastExactOverlap[k][s], 0.98)
                << kindName(kAllKinds[k]) << " at " << kScales[s] << "x, "
                << figures.leastExactGlyph[k][s];
        }
    }
}

}  // namespace
}  // namespace vemro::field::test
