#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/font/font_renderer.h"

namespace vemro::testing {

class FakeFontRenderer;

// A font of the fake renderer, made for one request. It reports what the renderer holds at the
// moment it is asked and counts every call in the renderer.
class FakeFont final : public Font {
public:
    FakeFont(FakeFontRenderer& renderer, std::int32_t pixelHeight, std::string family)
        : renderer_(renderer), height_(pixelHeight), family_(std::move(family)) {}

    std::int32_t lineHeight() const override;
    std::int32_t ascent() const override;
    GlyphImage renderGlyph(char32_t code) override;
    std::optional<GlyphMetrics> measureGlyph(char32_t code) override;
    std::optional<field::Shape> outline(char32_t code) override;
    GlyphInfo glyphInfo(char32_t code) override;
    std::string familyName() const override { return family_; }
    std::vector<char32_t> characters() override;

private:
    FakeFontRenderer& renderer_;
    std::int32_t height_;
    std::string family_;
};

// Fonts with made-up metrics, for every suite that needs no real font. A font's line is as high
// as the requested pixel height, its ascent three quarters of it; every character but the space
// is a solid block half as wide as the line is high, and the space has no ink; a character's
// outline is the rectangle round its image (nothing when the image is not solid). A font has every
// character from U+0020 to lastCharacter (U+2FFF: no kana, no ideographs) but the C1 controls;
// a character it lacks has glyph index 0, the missing-glyph shape. A test may fix the line
// height and ascent, or give a character an image of its own.
//
// A request of no pixels, or any request while failure is set, makes no font. The default face is
// defaultFace when set, else the first. The font files it knows are those in fontFiles (path to
// family name); a font made from one has that family, any other font file makes no font. The
// faces in faceWeights vary in weight.
// It remembers every request and counts the calls made to its fonts (which builders make on
// their threads: read the requests only while no rebuild runs).
class FakeFontRenderer final : public FontRenderer {
public:
    explicit FakeFontRenderer(std::vector<std::string> faces = {"Alpha Sans", "Beta Serif"})
        : faces_(std::move(faces)) {}

    // A block of ink with the A and B widths a and b, top rows from the line's top, height rows
    // high, all at level.
    static GlyphImage solidImage(std::int32_t a, std::int32_t b, std::int32_t top,
                                 std::int32_t height, std::uint8_t level = 255) {
        GlyphImage image;
        image.a = a;
        image.b = b;
        image.top = top;
        image.width = b;
        image.height = height;
        image.pixels.assign(static_cast<std::size_t>(b * height), level);
        return image;
    }

    // The glyph index and advance a font reports for a character with that image: the code
    // (0 when the font lacks it), and a pixel more than the B width.
    static GlyphInfo infoFor(char32_t code, const GlyphImage& image, bool has = true) {
        return GlyphInfo{has ? static_cast<std::uint32_t>(code) : 0u, (image.b + 1) * 64};
    }

    const std::vector<std::string>& faceNames() override { return faces_; }

    std::string defaultFaceName() override {
        return defaultFace.empty() ? FontRenderer::defaultFaceName() : defaultFace;
    }

    Result<std::unique_ptr<Font>> createFont(const FontRequest& request) override {
        requests.push_back(request);
        std::string family = request.faceName;
        if (!request.fontFile.empty()) {
            const auto file = fontFiles.find(request.fontFile);
            if (file == fontFiles.end()) {
                return Result<std::unique_ptr<Font>>::failure("cannot use the font file \"" +
                                                              request.fontFile + "\"");
            }
            family = file->second;
        }
        if (!failure.empty()) {
            return Result<std::unique_ptr<Font>>::failure(failure);
        }
        if (request.pixelHeight <= 0) {
            return Result<std::unique_ptr<Font>>::failure("the face \"" + request.faceName +
                                                          "\" cannot be loaded");
        }
        return std::unique_ptr<Font>(
            std::make_unique<FakeFont>(*this, request.pixelHeight, family));
    }

    Result<std::vector<FontFileFace>> inspectFontFile(const std::string& path) override {
        const auto file = fontFiles.find(path);
        if (file == fontFiles.end()) {
            return Result<std::vector<FontFileFace>>::failure("cannot use the font file \"" + path +
                                                              "\": not a font");
        }
        return std::vector<FontFileFace>{{0, file->second, "Regular"}};
    }

    std::vector<FaceWeight> weightsOf(const FontRequest& request) override {
        const auto found = faceWeights.find(request.faceName);
        return found != faceWeights.end() ? found->second : std::vector<FaceWeight>{};
    }

    void setImage(char32_t code, GlyphImage image) { images_[code] = std::move(image); }

    // The image of a character in a font of that line height.
    GlyphImage imageOf(char32_t code, std::int32_t lineHeight = 16) const {
        const auto found = images_.find(code);
        if (found != images_.end()) {
            return found->second;
        }
        const std::int32_t width = std::max(lineHeight / 2, 1);
        GlyphImage space;
        space.b = width;
        return code == U' ' ? space : solidImage(0, width, 0, lineHeight);
    }

    bool has(char32_t code) const {
        return code >= 0x20 && code <= lastCharacter && (code < 0x7F || code > 0x9F);
    }

    std::optional<std::int32_t> lineHeightValue;  // instead of the requested pixel height
    std::optional<std::int32_t> ascentValue;      // instead of three quarters of the line
    char32_t lastCharacter = 0x2FFF;
    bool measures = true;  // whether fonts answer measureGlyph
    std::string failure;   // when not empty, createFont fails with this message
    std::string defaultFace;
    std::map<std::string, std::string> fontFiles;
    // Called on the font's thread whenever a font is asked for an outline; empty for nothing.
    std::function<void(char32_t)> onOutline;
    // The weights of the installed faces whose weight varies, by face.
    std::map<std::string, std::vector<FaceWeight>> faceWeights;

    std::vector<FontRequest> requests;
    std::atomic<int> renderCount = 0;
    std::atomic<int> measureCount = 0;
    std::atomic<int> infoCount = 0;

private:
    std::vector<std::string> faces_;
    std::unordered_map<char32_t, GlyphImage> images_;
};

inline std::int32_t FakeFont::lineHeight() const {
    return renderer_.lineHeightValue.value_or(height_);
}

inline std::int32_t FakeFont::ascent() const {
    return renderer_.ascentValue.value_or(lineHeight() * 3 / 4);
}

inline GlyphImage FakeFont::renderGlyph(char32_t code) {
    ++renderer_.renderCount;
    return renderer_.imageOf(code, lineHeight());
}

inline std::optional<GlyphMetrics> FakeFont::measureGlyph(char32_t code) {
    if (!renderer_.measures) {
        return std::nullopt;
    }
    ++renderer_.measureCount;
    return metricsOf(renderer_.imageOf(code, lineHeight()));
}

inline std::optional<field::Shape> FakeFont::outline(char32_t code) {
    if (renderer_.onOutline) {
        renderer_.onOutline(code);
    }
    const GlyphImage image = renderer_.imageOf(code, lineHeight());
    field::Shape shape;
    if (image.width == 0 || image.height == 0) {
        return shape;
    }
    if (std::any_of(image.pixels.begin(), image.pixels.end(),
                    [](std::uint8_t value) { return value != 255; })) {
        return std::nullopt;
    }
    // Counter-clockwise, y up, the baseline at the ascent.
    const double left = image.a;
    const double right = image.a + image.width;
    const double top = ascent() - image.top;
    const double bottom = top - image.height;
    field::Contour box;
    box.edges = {field::EdgeSegment::line({left, bottom}, {right, bottom}),
                 field::EdgeSegment::line({right, bottom}, {right, top}),
                 field::EdgeSegment::line({right, top}, {left, top}),
                 field::EdgeSegment::line({left, top}, {left, bottom})};
    shape.contours.push_back(box);
    return shape;
}

inline GlyphInfo FakeFont::glyphInfo(char32_t code) {
    ++renderer_.infoCount;
    return FakeFontRenderer::infoFor(code, renderer_.imageOf(code, lineHeight()),
                                     renderer_.has(code));
}

inline std::vector<char32_t> FakeFont::characters() {
    std::vector<char32_t> all;
    for (char32_t code = 0; code <= renderer_.lastCharacter; ++code) {
        if (renderer_.has(code)) {
            all.push_back(code);
        }
    }
    return all;
}

}  // namespace vemro::testing
