#include "engine/glyph_cache.h"

#include <algorithm>
#include <utility>

namespace vemro {

namespace {

std::shared_ptr<const std::vector<char32_t>> noCharacters() {
    static const auto none = std::make_shared<const std::vector<char32_t>>();
    return none;
}

}  // namespace

GlyphCache::GlyphCache(FontRenderer& renderer)
    : renderer_(renderer), fontCharacters_(noCharacters()) {}

GlyphCache::~GlyphCache() = default;

void GlyphCache::useFont(const FontRequest& request) {
    if (request_ == request) {
        return;
    }
    request_ = request;
    glyphs_.clear();
    font_.reset();
    fontProblem_.clear();
    fontName_.clear();
    fontCharacters_ = noCharacters();
    kerningCharacters_.reset();
    kerning_.reset();
    Result<std::unique_ptr<Font>> made = renderer_.createFont(request);
    if (!made && !request.fontFile.empty()) {
        FontRequest installed = request;
        installed.fontFile.clear();
        installed.faceIndex = 0;
        Result<std::unique_ptr<Font>> fallback = renderer_.createFont(installed);
        fontProblem_ = made.message() + "; " +
                       (fallback ? "using \"" + fallback.value()->familyName() + "\" instead"
                                 : fallback.message());
        made = std::move(fallback);
    } else if (!made) {
        fontProblem_ = made.message();
    }
    if (made) {
        font_ = std::move(made.value());
        fontName_ = font_->familyName();
        fontCharacters_ = std::make_shared<const std::vector<char32_t>>(font_->characters());
    }
}

const GlyphImage& GlyphCache::image(Entry& entry, char32_t code) {
    if (!entry.image) {
        entry.image = font_ ? font_->renderGlyph(code) : GlyphImage{};
        if (!entry.metrics) {
            entry.metrics = GlyphMetrics{entry.image->a, entry.image->b};
        }
    }
    return *entry.image;
}

GlyphMetrics GlyphCache::metrics(char32_t code, bool drawNow) {
    Entry& known = entry(code);
    if (!known.metrics && !drawNow && font_) {
        known.metrics = font_->measureGlyph(code);
    }
    if (!known.metrics) {
        image(known, code);
    }
    return *known.metrics;
}

const GlyphInfo& GlyphCache::info(char32_t code) {
    Entry& known = entry(code);
    if (!known.info) {
        known.info = font_ ? font_->glyphInfo(code) : GlyphInfo{};
    }
    return *known.info;
}

const ReducedInk& GlyphCache::reducedInk(char32_t code, std::int32_t factor) {
    Entry& known = entry(code);
    if (known.reducedFactor != factor) {
        const GlyphImage& ink = image(known, code);
        // An image whose bytes fall short of its size counts as one without ink.
        const bool whole = ink.width > 0 && ink.height > 0 &&
                           ink.coverage.size() >= static_cast<std::size_t>(ink.width) *
                                                      static_cast<std::size_t>(ink.height);
        known.reduced = whole
                            ? reduceInk(ink.coverage.data(), ink.width, ink.height, ink.top, factor)
                            : ReducedInk{};
        known.reducedFactor = factor;
    }
    return known.reduced;
}

const std::shared_ptr<const std::vector<KerningPair>>& GlyphCache::kerning(
    const GlyphList& glyphs) {
    // Comparing the list in order costs less than sorting it, and lists rarely change order.
    std::vector<char32_t> codes;
    codes.reserve(glyphs.size());
    for (const Glyph& glyph : glyphs) {
        codes.push_back(glyph.code);
    }
    if (kerning_ && kerningCharacters_ == codes) {
        return kerning_;
    }
    std::vector<char32_t> distinct = codes;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    kerning_ = std::make_shared<const std::vector<KerningPair>>(
        font_ ? font_->kerningPairs(distinct) : std::vector<KerningPair>());
    kerningCharacters_ = std::move(codes);
    return kerning_;
}

}  // namespace vemro
