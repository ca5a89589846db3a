#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/font_renderer.h"

namespace vemro::test {

// Hands out the fonts of another renderer and counts the characters they draw. Told a failure,
// it makes no font and gives that reason instead, as a face whose file is gone would.
class CountingFontRenderer final : public FontRenderer {
public:
    explicit CountingFontRenderer(FontRenderer& inner) : inner_(inner) {}

    const std::vector<std::string>& faceNames() override { return inner_.faceNames(); }
    std::string defaultFaceName() override { return inner_.defaultFaceName(); }

    Result<std::unique_ptr<Font>> createFont(const FontRequest& request) override {
        if (!failure.empty()) {
            return Result<std::unique_ptr<Font>>::failure(failure);
        }
        Result<std::unique_ptr<Font>> made = inner_.createFont(request);
        if (!made) {
            return made;
        }
        return std::unique_ptr<Font>(
            std::make_unique<CountingFont>(std::move(made.value()), *this));
    }

    std::string failure;
    int glyphsDrawn = 0;

private:
    class CountingFont final : public Font {
    public:
        CountingFont(std::unique_ptr<Font> inner, CountingFontRenderer& owner)
            : inner_(std::move(inner)), owner_(owner) {}

        std::int32_t lineHeight() const override { return inner_->lineHeight(); }
        std::int32_t ascent() const override { return inner_->ascent(); }
        GlyphImage renderGlyph(char32_t code) override {
            ++owner_.glyphsDrawn;
            return inner_->renderGlyph(code);
        }
        std::optional<GlyphMetrics> measureGlyph(char32_t code) override {
            return inner_->measureGlyph(code);
        }
        GlyphInfo glyphInfo(char32_t code) override { return inner_->glyphInfo(code); }
        std::vector<KerningPair> kerningPairs(const std::vector<char32_t>& characters) override {
            return inner_->kerningPairs(characters);
        }

    private:
        std::unique_ptr<Font> inner_;
        CountingFontRenderer& owner_;
    };

    FontRenderer& inner_;
};

}  // namespace vemro::test
