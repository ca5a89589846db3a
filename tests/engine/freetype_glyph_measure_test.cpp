// measureGlyph must give exactly the A and B widths and ink rows renderGlyph reports, for every
// character, size, quality and synthesized style: the atlas lays out characters from them (cells
// trimmed to the ink from the rows), so any difference would move cells.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/font/freetype_font_renderer.h"
#include "engine/text/windows1252.h"

namespace vemro {
namespace {

bool listed(FreetypeFontRenderer& renderer, const std::string& face) {
    const std::vector<std::string>& faces = renderer.faceNames();
    return std::find(faces.begin(), faces.end(), face) != faces.end();
}

void expectMeasureMatchesDrawing(FreetypeFontRenderer& renderer, const std::string& face,
                                 const std::vector<int>& pixelSizes) {
    for (int pixels : pixelSizes) {
        for (bool antialiased : {true, false}) {
            for (int style = 0; style < 4; ++style) {
                const int weight = (style & 1) != 0 ? 700 : 400;
                const bool italic = (style & 2) != 0;
                Result<std::unique_ptr<Font>> font =
                    renderer.createFont({face, pixels, weight, antialiased, italic});
                ASSERT_TRUE(font.ok()) << font.message();
                for (int code = 0; code < 256; ++code) {
                    const char32_t character =
                        windows1252ToUnicode(static_cast<std::uint8_t>(code));
                    const GlyphImage image = font.value()->renderGlyph(character);
                    const std::optional<GlyphMetrics> metrics =
                        font.value()->measureGlyph(character);
                    ASSERT_TRUE(metrics.has_value());
                    ASSERT_EQ(*metrics, metricsOf(image))
                        << face << " " << pixels << " px, antialiased " << antialiased
                        << ", weight " << weight << ", italic " << italic << ", code " << code;
                }
            }
        }
    }
}

TEST(FreetypeGlyphMeasure, MatchesDrawingForEveryCharacterOfDejaVuSans) {
    FreetypeFontRenderer renderer;
    ASSERT_TRUE(listed(renderer, "DejaVu Sans"));
    // From the smallest size of the window up to size 100 at factor 4.
    expectMeasureMatchesDrawing(renderer, "DejaVu Sans", {7, 11, 15, 16, 29, 43, 64, 171, 533});
}

TEST(FreetypeGlyphMeasure, MatchesDrawingForCubicAndSerifFaces) {
    FreetypeFontRenderer renderer;
    int checked = 0;
    // Faces of other formats on a Debian machine: PostScript cubic outlines, a serif face.
    for (const char* face : {"Nimbus Sans", "URW Gothic", "DejaVu Serif"}) {
        if (listed(renderer, face)) {
            expectMeasureMatchesDrawing(renderer, face, {9, 20, 37, 133});
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

TEST(FreetypeGlyphMeasure, CharacterWithoutInkMeasuresLikeTheEmptyImage) {
    FreetypeFontRenderer renderer;
    Result<std::unique_ptr<Font>> font = renderer.createFont({"DejaVu Sans", 20, 400, true, false});
    ASSERT_TRUE(font.ok()) << font.message();
    EXPECT_EQ(font.value()->measureGlyph(U' '), (GlyphMetrics{0, 1}));
}

TEST(FreetypeGlyphMeasure, DrawnInkTouchesEveryEdgeOfItsImage) {
    FreetypeFontRenderer renderer;
    for (bool antialiased : {true, false}) {
        Result<std::unique_ptr<Font>> font =
            renderer.createFont({"DejaVu Sans", 57, 700, antialiased, true});
        ASSERT_TRUE(font.ok()) << font.message();
        for (int code = 33; code < 256; ++code) {
            const GlyphImage image =
                font.value()->renderGlyph(windows1252ToUnicode(static_cast<std::uint8_t>(code)));
            if (image.width == 0) {
                continue;
            }
            ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width * image.height));
            auto at = [&](int x, int y) { return image.pixels[y * image.width + x]; };
            bool left = false;
            bool right = false;
            bool top = false;
            bool bottom = false;
            for (int y = 0; y < image.height; ++y) {
                left = left || at(0, y) != 0;
                right = right || at(image.width - 1, y) != 0;
            }
            for (int x = 0; x < image.width; ++x) {
                top = top || at(x, 0) != 0;
                bottom = bottom || at(x, image.height - 1) != 0;
            }
            EXPECT_TRUE(left && right && top && bottom) << code;
        }
    }
}

}  // namespace
}  // namespace vemro
