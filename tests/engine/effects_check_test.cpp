// The effects drawn from real fonts, against what they must be: the outline covers the glyph's
// coverage dilated by its width and reaches no further; a distance field of every kind
// thresholded at 128 is the glyph's shape, and the true distance falls with the distance from the
// outline at the spread's rate;
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

// A glyph's cell where a game draws it: (0, 0) is the pen's column on the line's top, the cell
// placed by the descriptors' offset; outside the cell everything is 0.
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
    InkMap map{static_cast<std::int32_t>(std::lround(cell.a)) - cell.inkLeft,
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

// The field of the glyph at `index` as a game reads it: the first channel, or the median of the
// first three for a multi-channel field.
InkMap fieldOf(const AtlasResult& result, std::size_t index) {
    if (!result.encoding.isMultiChannel()) {
        return inkOf(result, index, 0);
    }
    InkMap median = inkOf(result, index, 0);
    const InkMap green = inkOf(result, index, 1);
    const InkMap blue = inkOf(result, index, 2);
    for (std::size_t i = 0; i < median.values.size(); ++i) {
        const std::int32_t r = median.values[i];
        const std::int32_t g = green.values[i];
        median.values[i] = std::max(std::min(r, g), std::min(std::max(r, g), blue.values[i]));
    }
    return median;
}

std::u32string latinLetters() {
    std::u32string letters;
    for (char32_t code = 0x41; code <= 0xFF; ++code) {
        const bool latin1Letter = code >= 0xC0 && code != 0xD7 && code != 0xF7;
        if ((code <= 0x5A || (code >= 0x61 && code <= 0x7A)) || latin1Letter) {
            letters += code;
        }
    }
    return letters;
}

// Every Latin letter (A to Z, a to z, the letters of Latin-1) at 32 pixels and more, in an atlas
// of each kind of field: the field above 128 (the median of a multi-channel one, and an mtsdf's
// true distance in alpha) against the atlas's coverage of 128 or more, both placed in their cells
// by the descriptors' offsets (a pixel the field puts on the outline, 128, counts to neither
// side).
TEST(EffectsCheck, DistanceFieldsThresholdedAt128AreTheCoverageShape) {
    const std::u32string letters = latinLetters();
    FreetypeFontRenderer renderer;
    double worst[5] = {1, 1, 1, 1, 1};
    for (const std::int32_t size : {24, 36, 48, 75}) {  // 32, 48, 64 and 100 pixels
        Project plainProject = dejaVu(size, 1, letters);
        plainProject.textureSize = {2048, 2048};
        AtlasBuilder plainBuilder(renderer);
        const auto plain = plainBuilder.rebuild(plainProject);
        for (const DistanceField kind :
             {DistanceField::Sdf, DistanceField::Psdf, DistanceField::Msdf, DistanceField::Mtsdf}) {
            Project project = plainProject;
            project.effects.distanceField = kind;
            AtlasBuilder builder(renderer);
            const auto field = builder.rebuild(project);
            ASSERT_EQ(field->glyphsOutsideTexture, 0u);
            for (std::size_t i = 0; i < letters.size(); ++i) {
                const InkMap coverage = inkOf(*plain, i);
                std::vector<std::pair<InkMap, std::size_t>> fields{{fieldOf(*field, i), 0}};
                if (kind == DistanceField::Mtsdf) {
                    fields.emplace_back(inkOf(*field, i, 3), 1);
                }
                for (const auto& [values, alpha] : fields) {
                    std::int64_t both = 0;
                    std::int64_t either = 0;
                    for (std::int32_t v = values.top; v < values.top + values.height; ++v) {
                        for (std::int32_t u = values.left; u < values.left + values.width; ++u) {
                            const std::int32_t value = values.at(u, v);
                            const bool inShape = coverage.at(u, v) >= 128;
                            both += value > 128 && inShape ? 1 : 0;
                            either += value != 128 && (value > 128 || inShape) ? 1 : 0;
                        }
                    }
                    const double overlap = static_cast<double>(both) / static_cast<double>(either);
                    EXPECT_GE(overlap, 0.95)
                        << "kind " << static_cast<int>(kind) << ", code "
                        << static_cast<std::uint32_t>(letters[i]) << " at " << size << " pt";
                    double& least = worst[alpha != 0 ? 4 : static_cast<int>(kind) - 1];
                    least = std::min(least, overlap);
                }
            }
        }
    }
    std::cout << "distance fields: worst intersection over union sdf " << worst[0] << ", psdf "
              << worst[1] << ", msdf " << worst[2] << ", mtsdf " << worst[3] << " (alpha "
              << worst[4] << ")\n";
}

// The distance from a pixel's centre to the outline lies between the distances to the nearest
// pixel squares that must hold it and that must lie past it: outside the glyph no nearer than a
// square with coverage and no farther than a fully covered one; inside, the reverse. The true
// distance (sdf, and an mtsdf's alpha), read as the field encoding says (128 plus 128 / spread
// per pixel of distance inside, minus outside), must lie between what those give.
TEST(EffectsCheck, TrueDistanceFallsWithTheDistanceFromTheOutlineAtTheSpreadsRate) {
    FreetypeFontRenderer renderer;
    double largestMiss = 0.0;  // in pixels of distance
    const std::u32string text = U"AOgexW";
    const Project plainProject = dejaVu(36, 1, text);  // 48 pixels
    AtlasBuilder plainBuilder(renderer);
    const auto plain = plainBuilder.rebuild(plainProject);
    for (const DistanceField kind : {DistanceField::Sdf, DistanceField::Mtsdf}) {
        for (const std::int32_t spread : {4, 16}) {
            Project project = plainProject;
            project.effects.distanceField = kind;
            project.effects.spread = spread;
            AtlasBuilder builder(renderer);
            const auto field = builder.rebuild(project);
            for (std::size_t i = 0; i < text.size(); ++i) {
                const InkMap shape = inkOf(*plain, i);
                const InkMap distances = inkOf(*field, i, kind == DistanceField::Sdf ? 0 : 3);
                // Over the field's cell, which holds the coverage's with a margin.
                const auto squareDistance = [&](std::int32_t x, std::int32_t y, auto test) {
                    double nearest = std::numeric_limits<double>::infinity();
                    for (std::int32_t j = distances.top; j < distances.top + distances.height;
                         ++j) {
                        for (std::int32_t k = distances.left; k < distances.left + distances.width;
                             ++k) {
                            if (test(shape.at(k, j))) {
                                nearest = std::min(
                                    nearest, std::hypot(std::max(std::abs(k - x) - 0.5, 0.0),
                                                        std::max(std::abs(j - y) - 0.5, 0.0)));
                            }
                        }
                    }
                    return nearest;
                };
                for (std::int32_t y = distances.top; y < distances.top + distances.height; ++y) {
                    for (std::int32_t x = distances.left; x < distances.left + distances.width;
                         ++x) {
                        const std::int32_t covered = shape.at(x, y);
                        if (covered != 0 && covered != 255) {
                            continue;  // the outline crosses the pixel
                        }
                        const bool inside = covered == 255;
                        const auto value = static_cast<std::uint8_t>(distances.at(x, y));
                        // The value as a distance on the pixel's own side; the values end at 0
                        // and 255.
                        const double measured =
                            (inside ? 1 : -1) * field::decodeDistance(value, spread);
                        const double end = inside ? field::decodeDistance(255, spread)
                                                  : -field::decodeDistance(0, spread);
                        const double low = std::min(
                            squareDistance(x, y, [&](int c) { return inside ? c < 255 : c > 0; }),
                            end);
                        const double high = std::min(
                            squareDistance(x, y, [&](int c) { return inside ? c == 0 : c == 255; }),
                            end);
                        const double miss = std::max(low - measured, measured - high);
                        largestMiss = std::max(largestMiss, miss);
                        EXPECT_LE(miss, 0.5)
                            << "character " << i << ", spread " << spread << " at " << x << ", "
                            << y << ": value " << static_cast<int>(value);
                    }
                }
            }
        }
    }
    std::cout << "true distance: values at most " << largestMiss
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
