#pragma once

// Checks fields of all four kinds of one outline against the brute-force oracle and, for font
// glyphs, against FreeType's coverage of the glyph magnified, gathering the worst figures.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/field/field_kind.h"
#include "engine/field/shape.h"
#include "tests/field/outline_font.h"

namespace vemro::field::test {

inline constexpr std::array<FieldKind, 4> kAllKinds{FieldKind::sdf, FieldKind::psdf,
                                                    FieldKind::msdf, FieldKind::mtsdf};
inline constexpr std::array<int, 3> kScales{1, 4, 8};

const char* kindName(FieldKind kind);

// The field's value (the median of the first three channels of a multi-channel field) at
// (x, y) in pixels from its top-left corner, sampled bilinearly between the pixel centres.
double sampleField(const std::vector<std::uint8_t>& field, int width, int height, int channels,
                   double x, double y);

// Inside (1) or outside (0) for each pixel of the field magnified `scale` times: the channels
// (the median of the first three of a multi-channel field) sampled bilinearly between pixel
// centres and compared with the outline's value 128.
std::vector<std::uint8_t> magnifiedInside(const std::vector<std::uint8_t>& field, int width,
                                          int height, int channels, int scale);

struct FieldFigures {
    double worstDistanceError = 0;  // of sdf and of mtsdf's true distance, in pixels
    std::string worstDistanceGlyph;
    int wrongSides = 0;  // pixels on the wrong side of the outline
    std::string firstWrongSide;
    // The least intersection over union with FreeType's coverage, by kind and scale.
    std::array<std::array<double, kScales.size()>, kAllKinds.size()> leastOverlap{};
    std::array<std::array<std::string, kScales.size()>, kAllKinds.size()> leastOverlapGlyph;
    // The same with the outline itself, sampled at the same points.
    std::array<std::array<double, kScales.size()>, kAllKinds.size()> leastExactOverlap{};
    std::array<std::array<std::string, kScales.size()>, kAllKinds.size()> leastExactGlyph;
    int glyphs = 0;
    bool withCoverage = false;  // whether FreeType's coverage was compared

    FieldFigures();
    std::string summary() const;
};

// Makes the four fields of the outline at 1 pixel per unit, `spread` pixels either side, and
// checks them: every pixel's side (for multi-channel fields, the median's side where the
// outline is more than 1 pixel away), the true distance within the spread, and where a font
// is given, the overlap of each field magnified with FreeType's coverage of the glyph.
void checkOutline(const Shape& outline, double spread, const std::string& name, OutlineFont* font,
                  char32_t code, FieldFigures& figures);

}  // namespace vemro::field::test
