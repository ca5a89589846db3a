#include "engine/font/freetype_font_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/text/windows1252.h"

namespace vemro {
namespace {

// DejaVu Sans: 2048 units per em, usWinAscent 1901, usWinDescent 483 in every one of its styles.
constexpr int kDejaVuWinAscent = 1901;
constexpr int kDejaVuUnitsPerEm = 2048;

FontRequest request(std::string face, int pixels, int weight = 400, bool antialiased = true,
                    bool italic = false) {
    return FontRequest{std::move(face), pixels, weight, antialiased, italic};
}

// A white-on-black canvas that places glyph images the way rasterisation does.
struct Canvas {
    int width;
    int height;
    std::vector<std::uint8_t> pixels;

    Canvas(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0) {}

    // Draws the character whose cell's top-left corner is at (x, y).
    void draw(const GlyphImage& image, int x, int y) {
        for (int row = 0; row < image.height; ++row) {
            for (int column = 0; column < image.width; ++column) {
                const int px = x + image.a + column;
                const int py = y + image.top + row;
                if (px >= 0 && px < width && py >= 0 && py < height) {
                    auto& pixel = pixels[static_cast<std::size_t>(py) * width + px];
                    pixel = std::max(pixel, image.pixels[row * image.width + column]);
                }
            }
        }
    }

    bool columnHasInk(int x) const {
        for (int y = 0; y < height; ++y) {
            if (pixels[static_cast<std::size_t>(y) * width + x] != 0) {
                return true;
            }
        }
        return false;
    }

    bool rowHasInk(int y) const {
        for (int x = 0; x < width; ++x) {
            if (pixels[static_cast<std::size_t>(y) * width + x] != 0) {
                return true;
            }
        }
        return false;
    }
};

// Horizontal shift of the ink per row, from the bottom row to the top row of a glyph.
double slant(const GlyphImage& image) {
    auto centre = [&](int row) {
        double sum = 0;
        double weight = 0;
        for (int x = 0; x < image.width; ++x) {
            sum += x * image.pixels[row * image.width + x];
            weight += image.pixels[row * image.width + x];
        }
        return sum / weight;
    };
    return (centre(0) - centre(image.height - 1)) / (image.height - 1);
}

class FreetypeFontRendererTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { renderer_ = std::make_unique<FreetypeFontRenderer>(); }
    static void TearDownTestSuite() { renderer_.reset(); }

    static std::unique_ptr<Font> font(const FontRequest& request) {
        Result<std::unique_ptr<Font>> made = renderer_->createFont(request);
        EXPECT_TRUE(made.ok()) << made.message();
        return made ? std::move(made.value()) : nullptr;
    }

    static GlyphImage glyph(const FontRequest& request, char32_t code) {
        const std::unique_ptr<Font> made = font(request);
        return made ? made->renderGlyph(code) : GlyphImage{};
    }

    static std::unique_ptr<FreetypeFontRenderer> renderer_;
};

std::unique_ptr<FreetypeFontRenderer> FreetypeFontRendererTest::renderer_;

std::string folded(const std::string& text) {
    std::string out = text;
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

TEST_F(FreetypeFontRendererTest, FaceListNamesEveryTypefaceOnceInCaseInsensitiveOrder) {
    const std::vector<std::string>& names = renderer_->faceNames();
    const std::set<std::string> unique(names.begin(), names.end());
    EXPECT_EQ(unique.size(), names.size());
    // Styles that weight and italic cannot reach are typefaces of their own.
    EXPECT_TRUE(unique.count("DejaVu Sans"));
    EXPECT_TRUE(unique.count("DejaVu Sans Condensed"));
    EXPECT_TRUE(unique.count("DejaVu Sans Light"));
    // Bold and oblique faces are reached through the weight and italic of their typeface.
    EXPECT_FALSE(unique.count("DejaVu Sans Bold"));
    EXPECT_FALSE(unique.count("DejaVu Sans Oblique"));
    for (std::size_t i = 1; i < names.size(); ++i) {
        const std::string previous = folded(names[i - 1]);
        const std::string current = folded(names[i]);
        EXPECT_TRUE(previous < current || (previous == current && names[i - 1] < names[i]))
            << names[i - 1] << " before " << names[i];
    }
    // Every listed typeface gives a font.
    for (const std::string& name : names) {
        const std::unique_ptr<Font> made = font(request(name, 15));
        ASSERT_NE(made, nullptr) << name;
        EXPECT_GT(made->lineHeight(), 0) << name;
    }
}

TEST_F(FreetypeFontRendererTest, LineHeightScalesTheWindowsMetricsWithOneRoundingEach) {
    const std::vector<std::pair<int, int>> expected = {
        {8, 9},
        {10, 11},
        {12, 14},
        {13, 15},
        {14, 16},
        {16, 19},
        {18, 21},
        {20, 24},
        {24, 28},
        {32, 38},
        {48, 56},
        {59, 69},    // size 11 at factor 4: 54.77 -> 55
                     // plus 13.91 -> 14
        {533, 621},  // size 100 at factor 4: 494.74 -> 495 plus 125.70 -> 126
    };
    for (const auto& [pixels, height] : expected) {
        const std::unique_ptr<Font> regular = font(request("DejaVu Sans", pixels));
        ASSERT_NE(regular, nullptr);
        EXPECT_EQ(regular->lineHeight(), height) << pixels << " px";
        // The ascent is the Windows ascent alone, rounded once.
        EXPECT_EQ(regular->ascent(),
                  (pixels * kDejaVuWinAscent + kDejaVuUnitsPerEm / 2) / kDejaVuUnitsPerEm)
            << pixels << " px";
        // Bold, oblique and unsmoothed fonts come from other files with the same metrics.
        const std::unique_ptr<Font> boldOblique =
            font(request("DejaVu Sans", pixels, 700, false, true));
        ASSERT_NE(boldOblique, nullptr);
        EXPECT_EQ(boldOblique->lineHeight(), height) << pixels << " px bold oblique";
        EXPECT_EQ(boldOblique->ascent(), regular->ascent()) << pixels << " px bold oblique";
    }
}

TEST_F(FreetypeFontRendererTest, CharacterWithoutInkIsOneColumnWide) {
    for (const bool antialiased : {true, false}) {
        for (const int pixels : {8, 15, 59}) {
            const GlyphImage space = glyph(request("DejaVu Sans", pixels, 400, antialiased), ' ');
            EXPECT_EQ(space.b, 1);
            EXPECT_EQ(space.width, 0);
            EXPECT_EQ(space.height, 0);
            EXPECT_TRUE(space.pixels.empty());
        }
    }
}

TEST_F(FreetypeFontRendererTest, BoldWidensTheBlackBox) {
    for (const int pixels : {15, 59}) {
        // DejaVu Sans has a bold face; DejaVu Sans Light has none, so its bold is synthesized.
        // Every weight above 550 asks for bold.
        for (const char* face : {"DejaVu Sans", "DejaVu Sans Light"}) {
            const GlyphImage normal = glyph(request(face, pixels, 400), 'H');
            const GlyphImage semibold = glyph(request(face, pixels, 600), 'H');
            const GlyphImage bold = glyph(request(face, pixels, 700), 'H');
            EXPECT_GT(bold.b, normal.b) << face << " " << pixels;
            EXPECT_EQ(semibold.pixels, bold.pixels) << face << " " << pixels;
        }
    }
}

TEST_F(FreetypeFontRendererTest, ItalicSlantsTheInkOnceWhetherTheFaceHasItOrNot) {
    const GlyphImage upright = glyph(request("DejaVu Sans", 100), 'l');
    const GlyphImage oblique = glyph(request("DejaVu Sans", 100, 400, true, true), 'l');
    const GlyphImage synthesized = glyph(request("DejaVu Sans Light", 100, 400, true, true), 'l');
    const GlyphImage boldSynthesized =
        glyph(request("DejaVu Sans Light", 100, 700, true, true), 'l');
    EXPECT_NE(oblique.pixels, upright.pixels);
    EXPECT_NEAR(slant(upright), 0.0, 0.02);
    // DejaVu Sans Oblique leans by tan 11 degrees; shearing it once more would double that.
    EXPECT_GT(slant(oblique), 0.15);
    EXPECT_LT(slant(oblique), 0.3);
    EXPECT_GT(slant(synthesized), 0.15);
    EXPECT_LT(slant(synthesized), 0.3);
    EXPECT_GT(slant(boldSynthesized), 0.15);
    EXPECT_LT(slant(boldSynthesized), 0.3);
    EXPECT_GT(boldSynthesized.b, synthesized.b);
}

TEST_F(FreetypeFontRendererTest, QualityDecidesBetweenGreyLevelsAndOnOffPixels) {
    std::set<std::uint8_t> smoothLevels;
    const std::unique_ptr<Font> mono = font(request("DejaVu Sans", 15, 400, false));
    const std::unique_ptr<Font> smooth = font(request("DejaVu Sans", 15, 400, true));
    ASSERT_TRUE(mono && smooth);
    for (int code = 0; code < 256; ++code) {
        const char32_t character = windows1252ToUnicode(static_cast<std::uint8_t>(code));
        for (const std::uint8_t value : mono->renderGlyph(character).pixels) {
            ASSERT_TRUE(value == 0 || value == 255) << "code " << code;
        }
        const GlyphImage image = smooth->renderGlyph(character);
        smoothLevels.insert(image.pixels.begin(), image.pixels.end());
    }
    EXPECT_GT(smoothLevels.size(), 100u);
    EXPECT_TRUE(smoothLevels.count(255));
}

TEST_F(FreetypeFontRendererTest, ImageIsTrimmedToItsInk) {
    for (const FontRequest& fontRequest :
         {request("DejaVu Sans", 15), request("DejaVu Sans", 15, 400, false),
          request("DejaVu Sans", 59, 700, true, true),
          request("DejaVu Sans Light", 23, 700, false, true), request("DejaVu Serif", 8)}) {
        const std::unique_ptr<Font> made = font(fontRequest);
        ASSERT_NE(made, nullptr);
        for (int code = 0; code < 256; ++code) {
            const GlyphImage image =
                made->renderGlyph(windows1252ToUnicode(static_cast<std::uint8_t>(code)));
            ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width) * image.height);
            if (image.width == 0) {
                EXPECT_EQ(image.b, 1);
                EXPECT_EQ(image.height, 0);
                continue;
            }
            EXPECT_EQ(image.width, image.b);
            auto inkInColumn = [&](int x) {
                for (int y = 0; y < image.height; ++y) {
                    if (image.pixels[y * image.width + x] != 0) {
                        return true;
                    }
                }
                return false;
            };
            auto inkInRow = [&](int y) {
                const auto start = image.pixels.begin() + y * image.width;
                return std::any_of(start, start + image.width, [](auto v) { return v != 0; });
            };
            EXPECT_TRUE(inkInColumn(0)) << "code " << code;
            EXPECT_TRUE(inkInColumn(image.width - 1)) << "code " << code;
            EXPECT_TRUE(inkInRow(0)) << "code " << code;
            EXPECT_TRUE(inkInRow(image.height - 1)) << "code " << code;
        }
    }
}

TEST_F(FreetypeFontRendererTest, DrawnInkStartsWhereTheAWidthPromises) {
    for (const bool antialiased : {true, false}) {
        for (const int pixels : {15, 59}) {
            const std::unique_ptr<Font> made =
                font(request("DejaVu Sans", pixels, 400, antialiased));
            ASSERT_NE(made, nullptr);
            const int tx = 40;
            for (const char code : std::string("AHWgjfy/\\_|")) {
                const GlyphImage image = made->renderGlyph(static_cast<char32_t>(code));
                Canvas canvas(200, 200);
                canvas.draw(image, tx - image.a, 20);
                int first = 0;
                while (first < canvas.width && !canvas.columnHasInk(first)) {
                    ++first;
                }
                int last = canvas.width - 1;
                while (last > 0 && !canvas.columnHasInk(last)) {
                    --last;
                }
                EXPECT_EQ(first, tx) << code << " at " << pixels;
                EXPECT_EQ(last - first + 1, image.b) << code << " at " << pixels;
            }
            // The baseline lies the font's ascent below the cell's top: H stands on it.
            const int ascent =
                (pixels * kDejaVuWinAscent + kDejaVuUnitsPerEm / 2) / kDejaVuUnitsPerEm;
            Canvas canvas(200, 200);
            canvas.draw(made->renderGlyph(U'H'), 10, 20);
            EXPECT_TRUE(canvas.rowHasInk(20 + ascent - 1)) << pixels;
            EXPECT_FALSE(canvas.rowHasInk(20 + ascent)) << pixels;
        }
    }
}

TEST_F(FreetypeFontRendererTest, FaceNameIsMatchedIgnoringCaseAndFallsBackWhenUnknown) {
    const GlyphImage exact = glyph(request("DejaVu Sans", 20), 'H');
    EXPECT_EQ(glyph(request("dejavu SANS", 20), 'H').pixels, exact.pixels);
    EXPECT_NE(glyph(request("DejaVu Sans Condensed", 20), 'H').pixels, exact.pixels);

    for (const char* name : {"No Such Typeface Anywhere", ""}) {
        const std::unique_ptr<Font> made = font(request(name, 20, 700, true, true));
        ASSERT_NE(made, nullptr) << name;
        EXPECT_GT(made->lineHeight(), 0);
        EXPECT_GT(made->renderGlyph(U'A').width, 0) << name;
    }
}

TEST_F(FreetypeFontRendererTest, CharactersAreUnicodeCodePoints) {
    const std::unique_ptr<Font> made = font(request("DejaVu Sans", 20));
    ASSERT_NE(made, nullptr);
    // The C1 controls, which Windows-1252 leaves at its five undefined bytes, are missing from
    // the face: each draws the missing-glyph box and has glyph index 0. The euro sign is a real
    // character.
    const GlyphImage missing = made->renderGlyph(0x81);
    EXPECT_GT(missing.width, 0);
    for (const char32_t code : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(made->renderGlyph(code).pixels, missing.pixels) << int(code);
        EXPECT_EQ(made->glyphInfo(code).index, 0u) << int(code);
    }
    const GlyphImage euro = made->renderGlyph(U'\u20AC');
    EXPECT_GT(euro.width, 0);
    EXPECT_NE(euro.pixels, missing.pixels);
    EXPECT_NE(made->glyphInfo(U'\u20AC').index, 0u);
    // S with caron is an S with a mark above it.
    const GlyphImage s = made->renderGlyph(U'S');
    const GlyphImage sCaron = made->renderGlyph(U'\u0160');
    EXPECT_LT(sCaron.top, s.top);
    EXPECT_EQ(sCaron.top + sCaron.height, s.top + s.height);
    // Beyond the code page: Cyrillic Zhe is in DejaVu Sans, a CJK ideograph is not.
    EXPECT_GT(made->renderGlyph(U'\u0416').width, 0);
    EXPECT_NE(made->glyphInfo(U'\u0416').index, 0u);
    EXPECT_EQ(made->renderGlyph(U'\u4E00').pixels, missing.pixels);
    EXPECT_EQ(made->glyphInfo(U'\u4E00').index, 0u);
}

TEST_F(FreetypeFontRendererTest, FontThatCannotBeMadeSaysWhichAndWhy) {
    for (const int pixels : {0, -3}) {
        const Result<std::unique_ptr<Font>> made =
            renderer_->createFont(request("DejaVu Sans", pixels));
        ASSERT_FALSE(made.ok());
        const std::string expected =
            "the font \"DejaVu Sans\" could not be made at " + std::to_string(pixels) + " pixels: ";
        EXPECT_EQ(made.message().substr(0, expected.size()), expected);
        EXPECT_GT(made.message().size(), expected.size());
    }
    // A failure leaves the renderer as it was: the next font is made as usual.
    const std::unique_ptr<Font> made = font(request("DejaVu Sans", 15));
    ASSERT_NE(made, nullptr);
    EXPECT_GT(made->renderGlyph(U'A').width, 0);
}

}  // namespace
}  // namespace vemro
