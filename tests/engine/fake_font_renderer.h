#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/font_renderer.h"

namespace vemro::testing {

// A renderer with fixed metrics: every character is a solid block of ink unless a test gives
// it its own image. Counts the calls the atlas makes.
class FakeFontRenderer final : public FontRenderer {
public:
    FakeFontRenderer() {
        for (auto& image : images_) {
            image = solidImage(0, 5, 2, 8);
        }
    }

    static GlyphImage solidImage(std::int32_t a, std::int32_t b, std::int32_t top,
                                 std::int32_t height, std::uint8_t level = 255) {
        GlyphImage image;
        image.a = a;
        image.b = b;
        image.top = top;
        image.width = b;
        image.height = height;
        image.coverage.assign(static_cast<std::size_t>(b * height), level);
        return image;
    }

    const std::vector<std::string>& faceNames() override { return faces_; }
    bool createFont(const FontRequest& request) override {
        lastRequest = request;
        ++createCount;
        return true;
    }
    bool hasFont() const override { return true; }
    std::int32_t lineHeight() const override { return lineHeightValue; }
    GlyphImage renderGlyph(std::uint8_t code) override {
        ++renderCount;
        return images_[code];
    }

    void setImage(std::uint8_t code, GlyphImage image) { images_[code] = std::move(image); }

    std::int32_t lineHeightValue = 16;
    FontRequest lastRequest{};
    int createCount = 0;
    int renderCount = 0;

private:
    std::vector<std::string> faces_{"Fake Sans"};
    std::array<GlyphImage, 256> images_;
};

}  // namespace vemro::testing
