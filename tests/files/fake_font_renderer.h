#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/font/font_renderer.h"

namespace vemro {

// A font with made-up metrics for tests that need no real fonts: the line height equals the
// requested pixel height, every character but the space is a solid block half as wide as the
// line is high, and the space has no ink. It has every character from U+0020 to U+2FFF but the
// C1 controls, and none beyond: no kana, no ideographs.
class FakeFont final : public Font {
public:
    static constexpr char32_t kLastCharacter = 0x2FFF;

    FakeFont(std::int32_t pixelHeight, std::string family)
        : height_(pixelHeight), family_(std::move(family)) {}

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
        image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 255);
        return image;
    }

    // A character the font lacks has glyph index 0, the missing-glyph shape.
    GlyphInfo glyphInfo(char32_t code) override {
        return GlyphInfo{has(code) ? static_cast<std::uint32_t>(code) : 0u, 64 * (height_ / 2 + 1)};
    }

    std::string familyName() const override { return family_; }

    std::vector<char32_t> characters() override {
        std::vector<char32_t> all;
        for (char32_t code = 0; code <= kLastCharacter; ++code) {
            if (has(code)) {
                all.push_back(code);
            }
        }
        return all;
    }

private:
    static bool has(char32_t code) {
        return code >= 0x20 && code <= kLastCharacter && (code < 0x7F || code > 0x9F);
    }

    std::int32_t height_;
    std::string family_;
};

// Makes FakeFonts and remembers every request. A request of no pixels, or any request while
// failFonts is set, makes no font. The default face is defaultFace when set, else the first.
// The font files it knows are those in fontFiles (path to family name); a font made from one
// has that family, any other font file makes no font.
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
        std::string family = request.faceName;
        if (!request.fontFile.empty()) {
            const auto file = fontFiles.find(request.fontFile);
            if (file == fontFiles.end()) {
                return Result<std::unique_ptr<Font>>::failure("cannot use the font file \"" +
                                                              request.fontFile + "\"");
            }
            family = file->second;
        }
        if (failFonts || request.pixelHeight <= 0) {
            return Result<std::unique_ptr<Font>>::failure("the face \"" + request.faceName +
                                                          "\" cannot be loaded");
        }
        return std::unique_ptr<Font>(std::make_unique<FakeFont>(request.pixelHeight, family));
    }

    Result<std::vector<FontFileFace>> inspectFontFile(const std::string& path) override {
        const auto file = fontFiles.find(path);
        if (file == fontFiles.end()) {
            return Result<std::vector<FontFileFace>>::failure("cannot use the font file \"" + path +
                                                              "\": not a font");
        }
        return std::vector<FontFileFace>{{0, file->second, "Regular"}};
    }

    std::vector<FontRequest> requests;
    bool failFonts = false;
    std::string defaultFace;
    std::map<std::string, std::string> fontFiles;

private:
    std::vector<std::string> faces_;
};

}  // namespace vemro
