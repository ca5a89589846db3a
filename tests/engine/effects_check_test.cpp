// The effects drawn from real fonts, against what they must be: the outline covers the glyph's
// coverage dilated by its width and reaches no further; a distance field thresholded at 128 is
// the glyph's shape and its values fall with the distance from the outline at the spread's rate;
// the shadow is the glyph moved and blurred as asked. Each test prints the figures it found.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <string>

#include "engine/atlas/atlas_builder.h"
#include "engine/field/field_encoding.h"
#include "engine/font/freetype_font_renderer.h"

namespace vemro {
namespace {

// A glyph's cell in the coordinates of its ink: (0, 0) is the ink's first column on the line's
// top; outside the cell everything is 0.
struct InkMap {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    std::vector<std::int32_t> values;  // row-major

    std::int32_t at(std::int32_t u, std::int32_t v) const {
        const std::int32_t x = u - left;
        const std::int32_t y = v - top;
        return x < 0 || y < 0 || x >= width || y >= height
                   ? 0
                   : values[static_cast<std::size_t>(y * width + x)];
    }
};

// The cell of the glyph at `index`: coverage or alpha, or one colour channel.
InkMap inkOf(const AtlasResult& result, std::size_t index, std::int32_t channel = -1) {
    const PlacedGlyph& cell = result.glyphs.at(index);
    const AtlasPage& page = result.pages.at(static_cast<std::size_t>(cell.page));
    InkMap map{-cell.inkLeft,
               cell.lineTop - (result.fontBorders.top + result.effectPadding.top),
               cell.width,
               cell.height,
               {}};
    for (std::int32_t j = 0; j < cell.height; ++j) {
        for (std::int32_t k = 0; k < cell.width; ++k) {
            map.values.push_back(
                page.at(cell.x + k, cell.y + j, channel >= 0 ? channel : page.channels - 1));
        }
    }
    return map;
}

// From the centre of pixel (u, v) to the nearest pixel of the map passing `test`: to its centre,
// or with `reach` 0.5 to the nearest point of its square (where the ink of a pixel with any
// coverage may lie).
template <typename Test>
double distanceTo(const InkMap& map, std::int32_t u, std::int32_t v, double reach, Test test) {
    double nearest = std::numeric_limits<double>::infinity();
    for (std::int32_t y = map.top; y < map.top + map.height; ++y) {
        for (std::int32_t x = map.left; x < map.left + map.width; ++x) {
            if (test(map.at(x, y))) {
                nearest = std::min(nearest, std::hypot(std::max(std::abs(u - x) - reach, 0.0),
                                                       std::max(std::abs(v - y) - reach, 0.0)));
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
    double farthestSolid = 0.0;  // past the width
    double farthestAny = 0.0;
    std::int32_t weakestCore = 255;  // the least alpha within the width of solid coverage
    for (const std::int32_t factor : {1, 4}) {
        for (const std::int32_t width : {1, 2, 4, 8}) {
            Project outlined = dejaVu(24, factor, text);
            AtlasBuilder plainBuilder(renderer);
            const auto plain = plainBuilder.rebuild(outlined);
            outlined.effects.outline = true;
            outlined.effects.outlineWidth = width;
            outlined.packing.trimToInk = width % 2 == 0;  // the padding must hold the outline
            AtlasBuilder outlineBuilder(renderer);
            const auto outline = outlineBuilder.rebuild(outlined);
            ASSERT_EQ(outline->glyphsOutsideTexture, 0u);
            for (std::size_t i = 0; i < text.size(); ++i) {
                const InkMap coverage = inkOf(*plain, i);
                const InkMap alpha = inkOf(*outline, i);
                // Every pixel the outline may reach, in its cell or not.
                for (std::int32_t v = coverage.top - width - 2;
                     v < coverage.top + coverage.height + width + 2; ++v) {
                    for (std::int32_t u = coverage.left - width - 2;
                         u < coverage.left + coverage.width + width + 2; ++u) {
                        const std::int32_t a = alpha.at(u, v);
                        const double past =
                            distanceTo(coverage, u, v, 0.5, [](int c) { return c > 0; }) - width;
                        const std::string at = "factor " + std::to_string(factor) + ", width " +
                                               std::to_string(width) + ", character " +
                                               std::to_string(i) + " at " + std::to_string(u) +
                                               ", " + std::to_string(v);
                        if (distanceTo(coverage, u, v, 0.0, [](int c) { return c >= 128; }) <=
                            width) {
                            weakestCore = std::min(weakestCore, a);
                            EXPECT_GE(a, 128) << at;
                        }
                        if (a >= 128) {
                            farthestSolid = std::max(farthestSolid, past);
                            EXPECT_LE(past, 1.0) << at;
                        }
                        if (a > 0) {
                            farthestAny = std::max(farthestAny, past);
                            EXPECT_LE(past, 2.0) << at;
                        }
                    }
                }
            }
        }
    }
    std::cout << "outline: least alpha within the width of solid coverage " << weakestCore
              << "; alpha >= 128 at most " << farthestSolid
              << " px past the width, any alpha at most " << farthestAny << " px past\n";
}

// A glyph image's value at pen-relative pixel (x, y), 0 outside it.
std::int32_t valueAt(const GlyphImage& image, std::int32_t x, std::int32_t y) {
    const std::int32_t column = x - (image.a - image.margin);
    const std::int32_t row = y - image.top;
    if (column < 0 || row < 0 || column >= image.width || row >= image.height) {
        return 0;
    }
    return image.pixels[static_cast<std::size_t>(row * image.width + column)];
}

std::unique_ptr<Font> dejaVuFont(FreetypeFontRenderer& renderer, std::int32_t pixels,
                                 std::int32_t spread) {
    FontRequest request{"DejaVu Sans", pixels};
    request.distanceField = spread > 0;
    request.spread = spread;
    Result<std::unique_ptr<Font>> font = renderer.createFont(request);
    return font ? std::move(font.value()) : nullptr;
}

// Every Latin letter (A to Z, a to z, the letters of Latin-1) at 32 pixels and more: the field
// above 128 against the coverage of 128 or more (a pixel the field puts on the outline, 128,
// within its quantisation of 1/16 pixel at spread 8, counts to neither side).
TEST(EffectsCheck, DistanceFieldThresholdedAt128IsTheCoverageShape) {
    std::u32string letters;
    for (char32_t code = 0x41; code <= 0xFF; ++code) {
        const bool latin1Letter = code >= 0xC0 && code != 0xD7 && code != 0xF7;
        if ((code <= 0x5A || (code >= 0x61 && code <= 0x7A)) || latin1Letter) {
            letters += code;
        }
    }
    FreetypeFontRenderer renderer;
    double worst = 1.0;
    for (const std::int32_t pixels : {32, 48, 64, 100}) {
        const std::unique_ptr<Font> coverage = dejaVuFont(renderer, pixels, 0);
        const std::unique_ptr<Font> field = dejaVuFont(renderer, pixels, 8);
        ASSERT_TRUE(coverage && field);
        for (const char32_t code : letters) {
            const GlyphImage shape = coverage->renderGlyph(code);
            const GlyphImage distances = field->renderGlyph(code);
            std::int64_t both = 0;
            std::int64_t either = 0;
            const std::int32_t first = distances.a - distances.margin;
            for (std::int32_t y = distances.top; y < distances.top + distances.height; ++y) {
                for (std::int32_t x = first; x < first + distances.width; ++x) {
                    const std::int32_t value = valueAt(distances, x, y);
                    const bool inShape = valueAt(shape, x, y) >= 128;
                    both += value > 128 && inShape ? 1 : 0;
                    either += value != 128 && (value > 128 || inShape) ? 1 : 0;
                }
            }
            const double overlap = static_cast<double>(both) / static_cast<double>(either);
            EXPECT_GE(overlap, 0.9)
                << "code " << static_cast<std::uint32_t>(code) << " at " << pixels << " px";
            worst = std::min(worst, overlap);
        }
    }
    std::cout << "distance field: worst intersection over union " << worst << "\n";
}

// The distance from a pixel's centre to the outline lies between the distances to the nearest
// pixel squares that must hold it and that must lie past it: outside the glyph no nearer than a
// square with coverage and no farther than a fully covered one; inside, the reverse. The value,
// read as the field encoding says (128 plus 128 / spread per pixel of distance inside, minus
// outside), must lie between what those give.
TEST(EffectsCheck, DistanceFieldFallsWithTheDistanceFromTheOutlineAtTheSpreadsRate) {
    FreetypeFontRenderer renderer;
    double largestMiss = 0.0;  // in pixels of distance
    const std::unique_ptr<Font> coverage = dejaVuFont(renderer, 48, 0);
    for (const std::int32_t spread : {4, 16}) {
        const std::unique_ptr<Font> field = dejaVuFont(renderer, 48, spread);
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
                    const double value = valueAt(distances, x, y);
                    // The value as a distance on the pixel's own side; the values end at 0 and 255.
                    const double measured =
                        (inside ? 1 : -1) *
                        field::decodeDistance(static_cast<std::uint8_t>(value), spread);
                    const double end = inside ? field::decodeDistance(255, spread)
                                              : -field::decodeDistance(0, spread);
                    const double low = std::min(
                        squareDistance(x, y, [&](int c) { return inside ? c < 255 : c > 0; }), end);
                    const double high = std::min(
                        squareDistance(x, y, [&](int c) { return inside ? c == 0 : c == 255; }),
                        end);
                    const double miss = std::max(low - measured, measured - high);
                    largestMiss = std::max(largestMiss, miss);
                    EXPECT_LE(miss, 0.5)
                        << "code " << static_cast<std::uint32_t>(code) << ", spread " << spread
                        << " at " << x << ", " << y << ": value " << value;
                }
            }
        }
    }
    std::cout << "distance field: values at most " << largestMiss
              << " px of distance outside what the coverage allows\n";
}

// The shadow of a glyph that does not meet its fill, against a reference: the fill's coverage
// moved by the offset and convolved in two dimensions with a Gaussian of standard deviation
// blur / 2 cut off at the blur radius (weights adding up to 1), times the opacity, in its colour.
TEST(EffectsCheck, ShadowIsTheGlyphMovedAndBlurredAsAsked) {
    FreetypeFontRenderer renderer;
    const Project plainProject = dejaVu(24, 2, U".");
    AtlasBuilder plainBuilder(renderer);
    const InkMap coverage = inkOf(*plainBuilder.rebuild(plainProject), 0);
    const struct {
        std::int32_t x, y, blur;
        std::uint8_t opacity;
    } shadows[] = {{14, 14, 0, 255}, {-14, 13, 8, 255}, {15, -16, 3, 100}, {-16, -15, 5, 200}};
    double largestError = 0.0;
    for (const auto& asked : shadows) {
        Project project = plainProject;
        project.effects.shadow = true;
        project.effects.shadowX = asked.x;
        project.effects.shadowY = asked.y;
        project.effects.shadowBlur = asked.blur;
        project.effects.shadowColour = Rgb{0, 0, 255};
        project.effects.shadowOpacity = asked.opacity;
        project.packing.trimToInk = asked.blur > 4;  // the padding must hold the shadow
        AtlasBuilder builder(renderer);
        const auto result = builder.rebuild(project);
        const InkMap alpha = inkOf(*result, 0);
        const InkMap blue = inkOf(*result, 0, 2);

        std::vector<double> weights;
        double total = 0.0;
        for (std::int32_t k = -asked.blur; k <= asked.blur; ++k) {
            weights.push_back(asked.blur == 0 ? 1.0
                                              : std::exp(-2.0 * k * k / (asked.blur * asked.blur)));
            total += weights.back();
        }
        double shadowSum = 0.0;
        double coverageSum = 0.0;
        for (std::int32_t v = alpha.top; v < alpha.top + alpha.height; ++v) {
            for (std::int32_t u = alpha.left; u < alpha.left + alpha.width; ++u) {
                coverageSum += coverage.at(u, v);
                if (coverage.at(u, v) != 0) {
                    continue;  // the fill's own pixels
                }
                double expected = 0.0;
                for (std::int32_t dv = -asked.blur; dv <= asked.blur; ++dv) {
                    for (std::int32_t du = -asked.blur; du <= asked.blur; ++du) {
                        expected += weights[static_cast<std::size_t>(du + asked.blur)] *
                                    weights[static_cast<std::size_t>(dv + asked.blur)] *
                                    coverage.at(u - asked.x - du, v - asked.y - dv);
                    }
                }
                expected *= asked.opacity / 255.0 / (total * total);
                const std::int32_t a = alpha.at(u, v);
                largestError = std::max(largestError, std::abs(a - expected));
                EXPECT_LE(std::abs(a - expected), 1.0)
                    << asked.x << ", " << asked.y << " at " << u << ", " << v;
                EXPECT_TRUE(a == 0 || blue.at(u, v) == 255);
                shadowSum += a;
            }
        }
        // None of it is cut off by the cell.
        EXPECT_NEAR(shadowSum, coverageSum * asked.opacity / 255.0, coverageSum * 0.01);
    }
    std::cout << "shadow: alpha at most " << largestError << " from the reference blur\n";
}

}  // namespace
}  // namespace vemro
