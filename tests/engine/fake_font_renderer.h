#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/font/font_renderer.h"

namespace vemro::testing {

class FakeFontRenderer;

// A font of the fake renderer: it reports what the renderer holds at the moment it is asked and
// counts every call in the renderer.
class FakeFont final : public Font {
public:
    explicit FakeFont(FakeFontRenderer& renderer) : renderer_(renderer) {}

    std::int32_t lineHeight() const override;
    std::int32_t ascent() const override;
    GlyphImage renderGlyph(char32_t code) override;
    std::optional<GlyphMetrics> measureGlyph(char32_t code) override;
    GlyphInfo glyphInfo(char32_t code) override;
    std::string familyName() const override;
    std::vector<char32_t> characters() override;

private:
    FakeFontRenderer& renderer_;
};

// A renderer with fixed metrics: every character is a solid block of ink unless a test gives
// it its own image. Counts the fonts it makes and the calls made to them.
class FakeFontRenderer final : public FontRenderer {
public:
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

    // The glyph index and advance the fake reports: derived from the code and the ink so that
    // every character has its own.
    static GlyphInfo infoFor(char32_t code, const GlyphImage& image) {
        return GlyphInfo{static_cast<std::uint32_t>(code) + 3, image.b * 64 + 21};
    }

    const std::vector<std::string>& faceNames() override { return faces_; }

    Result<std::vector<FontFileFace>> inspectFontFile(const std::string& path) override {
        return Result<std::vector<FontFileFace>>::failure("no font file in " + path);
    }

    Result<std::unique_ptr<Font>> createFont(const FontRequest& request) override {
        lastRequest = request;
        ++createCount;
        if (!failure.empty()) {
            return Result<std::unique_ptr<Font>>::failure(failure);
        }
        return std::unique_ptr<Font>(std::make_unique<FakeFont>(*this));
    }

    void setImage(char32_t code, GlyphImage image) { images_[code] = std::move(image); }
    const GlyphImage& imageOf(char32_t code) const {
        const auto found = images_.find(code);
        return found == images_.end() ? defaultImage_ : found->second;
    }

    std::int32_t lineHeightValue = 16;
    std::int32_t ascentValue = 12;
    bool measures = true;  // whether fonts answer measureGlyph
    std::string failure;   // when not empty, createFont fails with this message

    // Fonts are made on the builder's thread; its fonts may be used on several threads at once.
    FontRequest lastRequest;
    int createCount = 0;
    std::atomic<int> renderCount = 0;
    std::atomic<int> measureCount = 0;
    std::atomic<int> infoCount = 0;

private:
    std::vector<std::string> faces_{"Fake Sans"};
    GlyphImage defaultImage_ = solidImage(0, 5, 2, 8);
    std::unordered_map<char32_t, GlyphImage> images_;
};

inline std::int32_t FakeFont::lineHeight() const {
    return renderer_.lineHeightValue;
}

inline std::int32_t FakeFont::ascent() const {
    return renderer_.ascentValue;
}

inline GlyphImage FakeFont::renderGlyph(char32_t code) {
    ++renderer_.renderCount;
    return renderer_.imageOf(code);
}

inline std::optional<GlyphMetrics> FakeFont::measureGlyph(char32_t code) {
    if (!renderer_.measures) {
        return std::nullopt;
    }
    ++renderer_.measureCount;
    const GlyphImage& image = renderer_.imageOf(code);
    return GlyphMetrics{image.a, image.b};
}

inline GlyphInfo FakeFont::glyphInfo(char32_t code) {
    ++renderer_.infoCount;
    return FakeFontRenderer::infoFor(code, renderer_.imageOf(code));
}

inline std::string FakeFont::familyName() const {
    return "Fake Sans";
}

inline std::vector<char32_t> FakeFont::characters() {
    return {U'A', U'B'};
}

}  // namespace vemro::testing
