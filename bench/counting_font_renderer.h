#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/font_renderer.h"

namespace vemro::bench {

// Passes every call on to another renderer and counts the characters drawn and the ones only
// measured, so a benchmark can show how much of the charset a rebuild had to draw.
class CountingFontRenderer final : public FontRenderer {
public:
    explicit CountingFontRenderer(FontRenderer& inner) : inner_(inner) {}

    const std::vector<std::string>& faceNames() override { return inner_.faceNames(); }
    bool createFont(const FontRequest& request) override { return inner_.createFont(request); }
    bool hasFont() const override { return inner_.hasFont(); }
    std::int32_t lineHeight() const override { return inner_.lineHeight(); }
    GlyphImage renderGlyph(std::uint8_t code) override {
        ++rendered;
        return inner_.renderGlyph(code);
    }
    std::optional<GlyphMetrics> measureGlyph(std::uint8_t code) override {
        std::optional<GlyphMetrics> metrics = inner_.measureGlyph(code);
        if (metrics) {
            ++measured;
        }
        return metrics;
    }

    std::int64_t rendered = 0;
    std::int64_t measured = 0;

private:
    FontRenderer& inner_;
};

}  // namespace vemro::bench
