#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/font/font_renderer.h"

namespace vemro::bench {

// Passes every call on to another font and counts the characters drawn and the ones only
// measured (measureGlyph answered, so nothing had to be drawn for the widths) into counters the
// caller owns, so a benchmark can show how much of the charset a rebuild had to draw. Fonts of
// one renderer draw on several threads at once, so the counters are atomic.
class CountingFont final : public Font {
public:
    CountingFont(std::unique_ptr<Font> inner, std::atomic<std::int64_t>& rendered,
                 std::atomic<std::int64_t>& measured)
        : inner_(std::move(inner)), rendered_(rendered), measured_(measured) {}

    std::int32_t lineHeight() const override { return inner_->lineHeight(); }
    std::int32_t ascent() const override { return inner_->ascent(); }
    GlyphImage renderGlyph(char32_t code) override {
        ++rendered_;
        return inner_->renderGlyph(code);
    }
    std::optional<GlyphMetrics> measureGlyph(char32_t code) override {
        std::optional<GlyphMetrics> metrics = inner_->measureGlyph(code);
        if (metrics) {
            ++measured_;
        }
        return metrics;
    }
    GlyphInfo glyphInfo(char32_t code) override { return inner_->glyphInfo(code); }
    std::string familyName() const override { return inner_->familyName(); }
    std::vector<char32_t> characters() override { return inner_->characters(); }
    std::vector<KerningPair> kerningPairs(const std::vector<char32_t>& characters) override {
        return inner_->kerningPairs(characters);
    }

private:
    std::unique_ptr<Font> inner_;
    std::atomic<std::int64_t>& rendered_;
    std::atomic<std::int64_t>& measured_;
};

}  // namespace vemro::bench
