// Corners of "E", "M", "W" and "k" as each field draws them magnified: how far the drawn outline
// passes from each corner of the glyph's outline, in atlas pixels. The multi-channel
// fields keep corners sharp; the true distance rounds them.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>

#include "engine/field/edge_colouring.h"
#include "engine/field/field_encoding.h"
#include "engine/field/field_generator.h"
#include "engine/field/outline_boundary.h"
#include "tests/field/field_check.h"

namespace vemro::field::test {
namespace {

// The points where the outline turns by more than 30 degrees.
std::vector<Vector2> corners(const Shape& shape) {
    std::vector<Vector2> found;
    for (const Contour& contour : shape.contours) {
        for (std::size_t i = 0; i < contour.edges.size(); ++i) {
            const EdgeSegment& before =
                contour.edges[(i + contour.edges.size() - 1) % contour.edges.size()];
            const Vector2 a = normalised(before.endDirection());
            const Vector2 b = normalised(contour.edges[i].startDirection());
            if (std::atan2(std::abs(cross(a, b)), dot(a, b)) > std::numbers::pi / 6) {
                found.push_back(contour.edges[i].start());
            }
        }
    }
    return found;
}

// The farthest any corner lies from the outline the field draws when magnified: the field is
// sampled bilinearly every 1/64 pixel round each corner, and the corner's distance is that to
// the nearest sample on the other side of the drawn outline than the corner itself (about 0
// where the drawn outline runs through the corner).
double farthestCorner(const Shape& outline, FieldKind kind, double spread) {
    Shape shape = outlineBoundary(outline);
    colourEdges(shape);
    const FieldFrame frame = FieldFrame::around(outline.controlBox(), static_cast<int>(spread) + 4);
    FieldGenerator generator;
    FieldPixels field;
    field.resize(frame.width, frame.height, channelCount(kind));
    generator.generate(shape, kind, frame, spread, field.view());
    std::vector<std::uint8_t> bytes(field.values.size());
    encodeField(field.view(), spread, bytes.data(), frame.width * field.channels);
    const auto inside = [&](Vector2 p) {
        return sampleField(bytes, frame.width, frame.height, field.channels, p.x - frame.origin.x,
                           frame.origin.y - p.y) >= 128;
    };
    constexpr double kStep = 1.0 / 64;
    constexpr int kReach = 192;  // samples each way: 3 pixels
    double farthest = 0;
    for (const Vector2 corner : corners(outline)) {
        const bool side = inside(corner);
        double nearest = kReach * kStep;
        for (int i = -kReach; i <= kReach; ++i) {
            for (int j = -kReach; j <= kReach; ++j) {
                const Vector2 offset{i * kStep, j * kStep};
                if (length(offset) < nearest && inside(corner + offset) != side) {
                    nearest = length(offset);
                }
            }
        }
        farthest = std::max(farthest, nearest);
    }
    return farthest;
}

TEST(FieldCorners, MultiChannelFieldsKeepCornersMagnified) {
    OutlineFont font(kDejaVuSans, 32);
    ASSERT_TRUE(font.ok());
    for (const double spread : {2.0, 4.0, 8.0}) {
        for (const char32_t code : {U'E', U'M', U'W', U'k'}) {
            const Shape outline = font.shape(code);
            ASSERT_FALSE(corners(outline).empty());
            const double msdf = farthestCorner(outline, FieldKind::msdf, spread);
            const double mtsdf = farthestCorner(outline, FieldKind::mtsdf, spread);
            const double sdf = farthestCorner(outline, FieldKind::sdf, spread);
            std::printf("%c spread %.0f: farthest corner msdf %.3f, mtsdf %.3f, sdf %.3f px\n",
                        static_cast<char>(code), spread, msdf, mtsdf, sdf);
            EXPECT_LE(msdf, 0.25) << static_cast<char>(code) << " spread " << spread;
            EXPECT_LE(mtsdf, 0.25) << static_cast<char>(code) << " spread " << spread;
        }
    }
}

}  // namespace
}  // namespace vemro::field::test
