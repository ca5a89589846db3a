#include "engine/font/fallback_font.h"

#include <algorithm>
#include <utility>

namespace vemro {

FallbackFont::FallbackFont(std::vector<std::unique_ptr<Font>> fonts) : fonts_(std::move(fonts)) {}

std::size_t FallbackFont::fontFor(char32_t code) {
    if (const auto found = chosen_.find(code); found != chosen_.end()) {
        return found->second;
    }
    std::size_t index = 0;
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i]->glyphInfo(code).index != 0) {
            index = i;
            break;
        }
    }
    chosen_.emplace(code, index);
    return index;
}

GlyphImage FallbackFont::onPrimaryLine(GlyphImage image, std::size_t index) const {
    // A glyph's top counts from the top of its own face's line, ascent() above its baseline.
    image.top += fonts_.front()->ascent() - fonts_[index]->ascent();
    return image;
}

GlyphImage FallbackFont::renderGlyph(char32_t code) {
    const std::size_t index = fontFor(code);
    return onPrimaryLine(fonts_[index]->renderGlyph(code), index);
}

std::optional<GlyphMetrics> FallbackFont::measureGlyph(char32_t code) {
    const std::size_t index = fontFor(code);
    std::optional<GlyphMetrics> metrics = fonts_[index]->measureGlyph(code);
    if (metrics && metrics->height > 0) {
        metrics->top += fonts_.front()->ascent() - fonts_[index]->ascent();
    }
    return metrics;
}

GlyphImage FallbackFont::renderBordered(char32_t code, std::int32_t radius) {
    const std::size_t index = fontFor(code);
    return onPrimaryLine(fonts_[index]->renderBordered(code, radius), index);
}

std::optional<field::Shape> FallbackFont::outline(char32_t code) {
    return fonts_[fontFor(code)]->outline(code);
}

GlyphInfo FallbackFont::glyphInfo(char32_t code) {
    return fonts_[fontFor(code)]->glyphInfo(code);
}

std::vector<char32_t> FallbackFont::characters() {
    std::vector<char32_t> all;
    for (const std::unique_ptr<Font>& font : fonts_) {
        const std::vector<char32_t> own = font->characters();
        all.insert(all.end(), own.begin(), own.end());
    }
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    return all;
}

std::vector<KerningPair> FallbackFont::kerningPairs(const std::vector<char32_t>& characters) {
    std::vector<std::vector<char32_t>> byFont(fonts_.size());
    for (const char32_t code : characters) {
        byFont[fontFor(code)].push_back(code);
    }
    std::vector<KerningPair> pairs;
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        if (byFont[i].size() < 2) {
            continue;
        }
        const std::vector<KerningPair> own = fonts_[i]->kerningPairs(byFont[i]);
        pairs.insert(pairs.end(), own.begin(), own.end());
    }
    std::sort(pairs.begin(), pairs.end(), [](const KerningPair& x, const KerningPair& y) {
        return x.left != y.left ? x.left < y.left : x.right < y.right;
    });
    return pairs;
}

}  // namespace vemro
