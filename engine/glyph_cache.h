#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/cell_reducer.h"
#include "engine/font_renderer.h"
#include "engine/glyph_list.h"

namespace vemro {

// The font of the last request and what is known of its characters. Each thing is asked of the
// font once: a character's widths, its glyph index and advance, its ink, and the ink reduced for
// one factor. A font that cannot be made acts as a font without ink: line height 0, every
// character an empty image one pixel wide.
class GlyphCache {
public:
    // The renderer must outlive the cache.
    explicit GlyphCache(FontRenderer& renderer);
    ~GlyphCache();

    GlyphCache(const GlyphCache&) = delete;
    GlyphCache& operator=(const GlyphCache&) = delete;

    // Makes the font for the request and forgets every character, unless the request is the one
    // of the last call (whether that font was made or not). A font file that cannot be used
    // gives way to the request's typeface, as a typeface that is not installed does.
    void useFont(const FontRequest& request);

    // Empty when the font of the request was made; otherwise the renderer's reason, followed by
    // the face used instead when a font file gave way.
    const std::string& fontProblem() const { return fontProblem_; }
    // The family of the face in use; empty without a font.
    const std::string& fontName() const { return fontName_; }
    // Every character of that face, ascending; found once per font.
    const std::shared_ptr<const std::vector<char32_t>>& fontCharacters() const {
        return fontCharacters_;
    }
    std::int32_t lineHeight() const { return font_ ? font_->lineHeight() : 0; }
    std::int32_t ascent() const { return font_ ? font_->ascent() : 0; }

    // The A and B widths of a character. One not known yet is drawn right away when `drawNow`,
    // otherwise measured without drawing where the font can.
    GlyphMetrics metrics(char32_t code, bool drawNow);
    const GlyphInfo& info(char32_t code);
    // The character's ink reduced to atlas pixels at the factor (1..4).
    const ReducedInk& reducedInk(char32_t code, std::int32_t factor);

    // The font's kerning between the characters of the list, in 1/64 pixel; asked of the font
    // again only when the font or the list's characters changed. Never null.
    const std::shared_ptr<const std::vector<KerningPair>>& kerning(const GlyphList& glyphs);

private:
    struct Entry {
        std::optional<GlyphMetrics> metrics;
        std::optional<GlyphInfo> info;
        std::optional<GlyphImage> image;
        std::int32_t reducedFactor = 0;  // 0 while `reduced` holds nothing
        ReducedInk reduced;
    };

    Entry& entry(char32_t code) { return glyphs_[code]; }
    const GlyphImage& image(Entry& entry, char32_t code);

    FontRenderer& renderer_;
    std::optional<FontRequest> request_;
    std::unique_ptr<Font> font_;
    std::string fontProblem_;
    std::string fontName_;
    std::shared_ptr<const std::vector<char32_t>> fontCharacters_;
    // The characters of the list the kerning was last found for, in list order.
    std::optional<std::vector<char32_t>> kerningCharacters_;
    std::shared_ptr<const std::vector<KerningPair>> kerning_;
    // Node-based, so references to entries stay valid while others are added.
    std::unordered_map<char32_t, Entry> glyphs_;
};

}  // namespace vemro
