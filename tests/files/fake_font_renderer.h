#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/font_renderer.h"

namespace vemro {

// A renderer with made-up metrics for tests that need no real fonts: the line height equals the
// requested pixel height, every character but the space is a solid block half as wide as the
// line is high, and the space has no ink.
class FakeFontRenderer : public FontRenderer {
public:
    explicit FakeFontRenderer(std::vector<std::string> faces = {"Alpha Sans", "Beta Serif"})
        : faces_(std::move(faces)) {}

    const std::vector<std::string>& faceNames() override { return faces_; }

    bool createFont(const FontRequest& request) override {
        requests.push_back(request);
        hasFont_ = request.pixelHeight > 0;
        return hasFont_;
    }

    bool hasFont() const override { return hasFont_; }

    std::int32_t lineHeight() const override { return hasFont_ ? requests.back().pixelHeight : 0; }

    GlyphImage renderGlyph(std::uint8_t code) override {
        GlyphImage image;
        if (!hasFont_) {
            return image;
        }
        const std::int32_t height = requests.back().pixelHeight;
        image.b = height / 2 > 0 ? height / 2 : 1;
        if (code == ' ') {
            return image;
        }
        image.width = image.b;
        image.height = height;
        image.coverage.assign(static_cast<std::size_t>(image.width) * image.height, 255);
        return image;
    }

    std::vector<FontRequest> requests;

private:
    std::vector<std::string> faces_;
    bool hasFont_ = false;
};

}  // namespace vemro
