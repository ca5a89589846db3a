// The effects drawn from real fonts, against what they must be: the outline covers the glyph's
// coverage dilated by its width and reaches no further, a distance field thresholded at 128 is
// the glyph's shape and its values fall with the distance from the outline at the rate the
// spread gives, and the shadow is the glyph moved and blurred as asked. Each test prints the
// figures it found.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <string>

#include "engine/atlas_builder.h"
#include "engine/freetype_font_renderer.h"

namespace vemro {
namespace {

// A glyph's pixels in the coordinates of its ink: (0, 0) is the ink's first column on the row the
// ink's vertical offset counts from (the line's top).
struct InkMap {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::vector<std::int32_t>> values;  // [row][column]

    std::int32_t at(std::int32_t u, std::int32_t v) const {
        const std::int32_t column = u - left;
        const std::int32_t row = v - top;
        if (column < 0 || row < 0 || column >= width || row >= height) {
            return 0;
        }
        return values[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }
};

// The whole cell of the glyph at `index`: coverage or alpha, or one colour channel.
InkMap inkOf(const AtlasResult& result, std::size_t index, std::int32_t channel = -1) {
    const PlacedGlyph& cell = result.glyphs.at(index);
    const AtlasPage& page = result.pages.at(static_cast<std::size_t>(cell.page));
    InkMap map;
    map.left = -cell.inkLeft;
    map.top = -(result.fontBorders.top + result.effectPadding.top);
    map.width = cell.width;
    map.height = cell.height;
    const std::int32_t read = channel >= 0 ? channel : page.channels - 1;
    for (std::int32_t j = 0; j < cell.height; ++j) {
        map.values.emplace_back();
        for (std::int32_t k = 0; k < cell.width; ++k) {
            map.values.back().push_back(page.at(cell.x + k, cell.y + j, read));
        }
    }
    return map;
}

// The distance from the centre of pixel (u, v) to the nearest pixel of the map that passes
// `test`: to its centre, or (toSquare) to the nearest point of its square, where the ink of a
// pixel with any coverage may lie. Infinity without such a pixel.
template <typename Test>
double distanceTo(const InkMap& map, std::int32_t u, std::int32_t v, bool toSquare, Test test) {
    double nearest = std::numeric_limits<double>::infinity();
    const double reach = toSquare ? 0.5 : 0.0;
    for (std::int32_t row = 0; row < map.height; ++row) {
        for (std::int32_t column = 0; column < map.width; ++column) {
            if (test(map.values[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)])) {
                const double dx = std::max(std::abs(u - (column + map.left)) - reach, 0.0);
                const double dy = std::max(std::abs(v - (row + map.top)) - reach, 0.0);
                nearest = std::min(nearest, std::hypot(dx, dy));
            }
        }
    }
    return nearest;
}

Project dejaVu(std::int32_t size, std::int32_t factor, const std::u32string& text) {
    Project project = startupProject("DejaVu Sans");
    project.font.size = size;
    project.font.factor = factor;
    project.textureSize = {1024, 1024};
    for (const char32_t code : text) {
        project.glyphs.addCharacter(code);
    }
    return project;
}

TEST(EffectsCheck, OutlineCoversTheCoverageDilatedByItsWidthAndReachesNoFurther) {
    const std::u32string text = U"AMWgo@&e8%ij";
    FreetypeFontRenderer renderer;
    double farthestSolid = 0.0;  // beyond the width
    double farthestAny = 0.0;
    std::int32_t weakestCore = 255;  // the least alpha within the width of solid coverage
    for (const std::int32_t factor : {1, 4}) {
        for (const std::int32_t width : {1, 2, 4, 8}) {
            const Project plainProject = dejaVu(24, factor, text);
            Project outlined = plainProject;
            outlined.effects.outline = true;
            outlined.effects.outlineWidth = width;
            AtlasBuilder plainBuilder(renderer);
            AtlasBuilder outlineBuilder(renderer);
            const auto plain = plainBuilder.rebuild(plainProject);
            const auto outline = outlineBuilder.rebuild(outlined);
            ASSERT_EQ(outline->glyphsOutsideTexture, 0u);
            ASSERT_EQ(outline->pages.front().channels, 4);
            for (std::size_t i = 0; i < text.size(); ++i) {
                const InkMap coverage = inkOf(*plain, i);
                const InkMap alpha = inkOf(*outline, i);
                const std::string label = "factor " + std::to_string(factor) + ", width " +
                                          std::to_string(width) + ", character " +
                                          std::to_string(i);
                for (std::int32_t v = alpha.top; v < alpha.top + alpha.height; ++v) {
                    for (std::int32_t u = alpha.left; u < alpha.left + alpha.width; ++u) {
                        const std::int32_t a = alpha.at(u, v);
                        const double toSolid = distanceTo(coverage, u, v, false,
                                                          [](std::int32_t c) { return c >= 128; });
                        const double toInk =
                            distanceTo(coverage, u, v, true, [](std::int32_t c) { return c > 0; });
                        if (toSolid <= width) {
                            weakestCore = std::min(weakestCore, a);
                            EXPECT_GE(a, 128) << label << " at " << u << ", " << v;
                        }
                        if (a >= 128) {
                            farthestSolid = std::max(farthestSolid, toInk - width);
                            EXPECT_LE(toInk, width + 1.0) << label << " at " << u << ", " << v;
                        }
                        if (a > 0) {
                            farthestAny = std::max(farthestAny, toInk - width);
                            EXPECT_LE(toInk, width + 2.0) << label << " at " << u << ", " << v;
                        }
                    }
                }
            }
        }
    }
    std::cout << "outline: least alpha within the width of solid coverage " << weakestCore
              << "; alpha >= 128 at most " << farthestSolid
              << " px beyond the width, any alpha at most " << farthestAny << " px beyond\n";
}

// Every Latin letter: A to Z, a to z and the letters of Latin-1.
std::u32string latinLetters() {
    std::u32string letters;
    for (char32_t code = U'A'; code <= U'Z'; ++code) {
        letters += code;
        letters += static_cast<char32_t>(code + 32);
    }
    for (char32_t code = 0xC0; code <= 0xFF; ++code) {
        if (code != 0xD7 && code != 0xF7) {
            letters += code;
        }
    }
    return letters;
}

// A glyph image's value at pen-relative pixel (x, y), 0 outside it.
std::int32_t valueAt(const GlyphImage& image, std::int32_t x, std::int32_t y) {
    const std::int32_t column = x - (image.a - image.margin);
    const std::int32_t row = y - image.top;
    if (image.width == 0 || column < 0 || row < 0 || column >= image.width || row >= image.height) {
        return 0;
    }
    return image.coverage[static_cast<std::size_t>(row) * static_cast<std::size_t>(image.width) +
                          static_cast<std::size_t>(column)];
}

std::unique_ptr<Font> dejaVuFont(FreetypeFontRenderer& renderer, std::int32_t pixels,
                                 std::int32_t spread) {
    FontRequest request{"DejaVu Sans", pixels};
    request.distanceField = spread > 0;
    request.spread = spread;
    Result<std::unique_ptr<Font>> font = renderer.createFont(request);
    return font ? std::move(font.value()) : nullptr;
}

TEST(EffectsCheck, DistanceFieldThresholdedAt128IsTheCoverageShape) {
    FreetypeFontRenderer renderer;
    double worst = 1.0;
    std::string worstGlyph;
    for (const std::int32_t pixels : {32, 48, 64, 100}) {
        const std::unique_ptr<Font> coverage = dejaVuFont(renderer, pixels, 0);
        const std::unique_ptr<Font> field = dejaVuFont(renderer, pixels, 8);
        ASSERT_TRUE(coverage && field);
        for (const char32_t code : latinLetters()) {
            const GlyphImage shape = coverage->renderGlyph(code);
            const GlyphImage distances = field->renderGlyph(code);
            ASSERT_EQ(distances.margin, 8);
            ASSERT_EQ(distances.width, distances.b + 16);
            std::int64_t both = 0;
            std::int64_t either = 0;
            for (std::int32_t y = distances.top; y < distances.top + distances.height; ++y) {
                const std::int32_t first = distances.a - distances.margin;
                for (std::int32_t x = first; x < first + distances.width; ++x) {
                    // A pixel the field puts on the outline (128, within its quantisation of
                    // 1/16 pixel at spread 8) lies on neither side.
                    const std::int32_t value = valueAt(distances, x, y);
                    if (value == 128) {
                        continue;
                    }
                    const bool inShape = valueAt(shape, x, y) >= 128;
                    const bool inField = value > 128;
                    both += inShape && inField ? 1 : 0;
                    either += inShape || inField ? 1 : 0;
                }
            }
            const double overlap = static_cast<double>(both) / static_cast<double>(either);
            EXPECT_GE(overlap, 0.9) << "U+" << std::hex << static_cast<std::uint32_t>(code)
                                    << std::dec << " at " << pixels << " px";
            if (overlap < worst) {
                worst = overlap;
                worstGlyph = "U+" + std::to_string(static_cast<std::uint32_t>(code)) + " at " +
                             std::to_string(pixels) + " px";
            }
        }
    }
    std::cout << "distance field: worst intersection over union " << worst << " (" << worstGlyph
              << ", decimal code)\n";
}

// The distance from a pixel's centre to the outline lies between the distances to the nearest
// pixel squares that must hold it and that must lie beyond it: outside the glyph, the outline
// is no nearer than any square with coverage and no farther than a fully covered square; inside,
// the reverse. The field's value, 128 plus 128 / spread per pixel of distance inside (minus
// outside), must lie between what those two distances give.
TEST(EffectsCheck, DistanceFieldFallsWithTheDistanceFromTheOutlineAtTheSpreadsRate) {
    FreetypeFontRenderer renderer;
    double largestMiss = 0.0;  // in pixels of distance
    for (const std::int32_t spread : {4, 16}) {
        const std::unique_ptr<Font> coverage = dejaVuFont(renderer, 48, 0);
        const std::unique_ptr<Font> field = dejaVuFont(renderer, 48, spread);
        ASSERT_TRUE(coverage && field);
        for (const char32_t code : std::u32string(U"AOgexW")) {
            const GlyphImage shape = coverage->renderGlyph(code);
            const GlyphImage distances = field->renderGlyph(code);
            const auto squareDistance = [&](std::int32_t x, std::int32_t y, auto test) {
                double nearest = std::numeric_limits<double>::infinity();
                for (std::int32_t j = shape.top - 1; j <= shape.top + shape.height; ++j) {
                    for (std::int32_t i = shape.a - 1; i <= shape.a + shape.width; ++i) {
                        if (test(valueAt(shape, i, j))) {
                            nearest =
                                std::min(nearest, std::hypot(std::max(std::abs(i - x) - 0.5, 0.0),
                                                             std::max(std::abs(j - y) - 0.5, 0.0)));
                        }
                    }
                }
                return nearest;
            };
            const std::int32_t first = distances.a - distances.margin;
            for (std::int32_t y = distances.top; y < distances.top + distances.height; ++y) {
                for (std::int32_t x = first; x < first + distances.width; ++x) {
                    const std::int32_t covered = valueAt(shape, x, y);
                    if (covered != 0 && covered != 255) {
                        continue;  // the outline crosses the pixel
                    }
                    const bool inside = covered == 255;
                    const double nearest = squareDistance(
                        x, y, [inside](std::int32_t c) { return inside ? c < 255 : c > 0; });
                    const double farthest = squareDistance(
                        x, y, [inside](std::int32_t c) { return inside ? c == 0 : c == 255; });
                    const double value = valueAt(distances, x, y);
                    // The field's value as a distance from the outline, positive on the pixel's
                    // own side; the values end at 0 and 255.
                    const double measured =
                        (inside ? value - 128.0 : 128.0 - value) * spread / 128.0;
                    const double end = inside ? 127.0 * spread / 128.0 : spread;
                    const double low = std::min(nearest, end);
                    const double high = std::min(farthest, end);
                    const double miss = std::max(low - measured, measured - high);
                    largestMiss = std::max(largestMiss, miss);
                    EXPECT_LE(miss, 0.5)
                        << "U+" << std::hex << static_cast<std::uint32_t>(code) << std::dec
                        << ", spread " << spread << " at " << x << ", " << y << ": value " << value
                        << ", outline " << nearest << " to " << farthest << " px away";
                }
            }
        }
    }
    std::cout << "distance field: values at most " << largestMiss
              << " px of distance outside what the coverage allows\n";
}

// The shadow of a glyph whose shadow does not meet its fill, against a reference: the fill's
// coverage moved by the offset and convolved in two dimensions with a Gaussian of standard
// deviation blur / 2 cut off at the blur radius (weights adding up to 1), times the opacity.
TEST(EffectsCheck, ShadowIsTheGlyphMovedAndBlurredAsAsked) {
    FreetypeFontRenderer renderer;
    const Project plainProject = dejaVu(24, 2, U".");
    AtlasBuilder plainBuilder(renderer);
    const InkMap coverage = inkOf(*plainBuilder.rebuild(plainProject), 0);
    double coverageSum = 0.0;
    double coverageX = 0.0;
    double coverageY = 0.0;
    for (std::int32_t v = coverage.top; v < coverage.top + coverage.height; ++v) {
        for (std::int32_t u = coverage.left; u < coverage.left + coverage.width; ++u) {
            coverageSum += coverage.at(u, v);
            coverageX += u * coverage.at(u, v);
            coverageY += v * coverage.at(u, v);
        }
    }
    ASSERT_GT(coverageSum, 0.0);
    const struct {
        std::int32_t x, y, blur;
        std::uint8_t opacity;
    } shadows[] = {{14, 14, 0, 255}, {-14, 13, 8, 255}, {15, -16, 3, 100}, {-16, -15, 5, 200}};
    double largestError = 0.0;
    double largestCentreError = 0.0;
    for (const auto& asked : shadows) {
        Project project = plainProject;
        project.effects.shadow = true;
        project.effects.shadowX = asked.x;
        project.effects.shadowY = asked.y;
        project.effects.shadowBlur = asked.blur;
        project.effects.shadowColour = Rgb{0, 0, 255};
        project.effects.shadowOpacity = asked.opacity;
        AtlasBuilder builder(renderer);
        const auto result = builder.rebuild(project);
        const InkMap alpha = inkOf(*result, 0);
        const InkMap blue = inkOf(*result, 0, 2);
        const InkMap red = inkOf(*result, 0, 0);

        std::vector<double> weights;
        double total = 0.0;
        for (std::int32_t k = -asked.blur; k <= asked.blur; ++k) {
            const double sigma = asked.blur / 2.0;
            weights.push_back(asked.blur == 0 ? 1.0 : std::exp(-k * k / (2 * sigma * sigma)));
            total += weights.back();
        }
        double shadowSum = 0.0;
        double shadowX = 0.0;
        double shadowY = 0.0;
        for (std::int32_t v = alpha.top; v < alpha.top + alpha.height; ++v) {
            for (std::int32_t u = alpha.left; u < alpha.left + alpha.width; ++u) {
                if (coverage.at(u, v) != 0) {
                    continue;  // the fill's own pixels
                }
                double expected = 0.0;
                for (std::int32_t dv = -asked.blur; dv <= asked.blur; ++dv) {
                    for (std::int32_t du = -asked.blur; du <= asked.blur; ++du) {
                        expected += weights[static_cast<std::size_t>(du + asked.blur)] *
                                    weights[static_cast<std::size_t>(dv + asked.blur)] /
                                    (total * total) *
                                    coverage.at(u - asked.x - du, v - asked.y - dv);
                    }
                }
                expected *= asked.opacity / 255.0;
                const std::int32_t a = alpha.at(u, v);
                largestError = std::max(largestError, std::abs(a - expected));
                EXPECT_LE(std::abs(a - expected), 1.0)
                    << "shadow " << asked.x << ", " << asked.y << " blur " << asked.blur << " at "
                    << u << ", " << v;
                if (a > 0) {
                    EXPECT_EQ(blue.at(u, v), 255);
                    EXPECT_EQ(red.at(u, v), 0);
                }
                shadowSum += a;
                shadowX += u * a;
                shadowY += v * a;
            }
        }
        // All of the shadow is there, centred where asked.
        EXPECT_NEAR(shadowSum, coverageSum * asked.opacity / 255.0, coverageSum * 0.01);
        const double centreError =
            std::hypot(shadowX / shadowSum - coverageX / coverageSum - asked.x,
                       shadowY / shadowSum - coverageY / coverageSum - asked.y);
        EXPECT_LE(centreError, 0.05);
        largestCentreError = std::max(largestCentreError, centreError);
    }
    std::cout << "shadow: alpha at most " << largestError
              << " from the reference blur, centre at most " << largestCentreError
              << " px from where asked\n";
}

}  // namespace
}  // namespace vemro
