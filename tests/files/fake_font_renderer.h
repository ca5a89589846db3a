#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/font_renderer.h"

namespace vemro {

// A font with made-up metrics for tests that need no real fonts: the line height equals the
// requested pixel height, every character but the space is a solid block half as wide as the
// line is high, and the space has no ink.
class FakeFont final : public Font {
public:
    explicit FakeFont(std::int32_t pixelHeight) : height_(pixelHeight) {}

    std::int32_t lineHeight() const override { return height_; }
    std::int32_t ascent() const override { return height_ * 3 / 4; }

    GlyphImage renderGlyph(char32_t code) override {
        GlyphImage image;
        image.b = height_ / 2 > 0 ? height_ / 2 : 1;
        if (code == U' ') {
            return image;
        }
        image.width = image.b;
        image.height = height_;
        image.coverage.assign(static_cast<std::size_t>(image.width) * image.height, 255);
        return image;
    }

    GlyphInfo glyphInfo(char32_t code) override {
        return GlyphInfo{static_cast<std::uint32_t>(code), 64 * (height_ / 2 + 1)};
    }

private:
    std::int32_t height_;
};

// Makes FakeFonts and remembers every request. A request of no pixels, or any request while
// failFonts is set, makes no font. The default face is defaultFace when set, else the first.
class FakeFontRenderer final : public FontRenderer {
public:
    explicit FakeFontRenderer(std::vector<std::string> faces = {"Alpha Sans", "Beta Serif"})
        : faces_(std::move(faces)) {}

    const std::vector<std::string>& faceNames() override { return faces_; }

    std::string defaultFaceName() override {
        return defaultFace.empty() ? FontRenderer::defaultFaceName() : defaultFace;
    }

    Result<std::unique_ptr<Font>> createFont(const FontRequest& request) override {
        requests.push_back(request);
        if (failFonts || request.pixelHeight <= 0) {
            return Result<std::unique_ptr<Font>>::failure("the face \"" + request.faceName +
                                                          "\" cannot be loaded");
        }
        return std::unique_ptr<Font>(std::make_unique<FakeFont>(request.pixelHeight));
    }

    std::vector<FontRequest> requests;
    bool failFonts = false;
    std::string defaultFace;

private:
    std::vector<std::string> faces_;
};

}  // namespace vemro
