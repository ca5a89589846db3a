#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/atlas/worker_pool.h"
#include "engine/font/font_renderer.h"
#include "engine/project/glyph_list.h"
#include "engine/raster/cell_reducer.h"

namespace vemro {

// The font of the last request and what is known of its characters: each character's A and B
// widths, glyph index and advance, and its ink reduced to atlas pixels for one factor. Each
// thing is asked of the font once. The drawn ink itself is dropped as soon as it is reduced.
// A font that cannot be made acts as a font without ink: line height 0, every character an empty
// image one pixel wide.
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

    // Whether the character's widths, glyph index and advance are known.
    bool knows(char32_t code) const { return glyphs_.contains(code); }
    // Whether its ink is reduced at the factor.
    bool hasInk(char32_t code, std::int32_t factor) const;
    // Whether its ink widened by an outline of `width` atlas pixels is reduced at the factor.
    bool hasBorder(char32_t code, std::int32_t factor, std::int32_t width) const;
    // Counts the fonts made: it changes whenever the characters are forgotten.
    std::uint64_t fontGeneration() const { return fontGeneration_; }

    // Finds what is not known yet of each character: its widths, index and advance, and, with
    // `withInk`, its ink reduced at the factor (1..4). Without `withInk` the widths are measured
    // without drawing where the font can; a character that has to be drawn for its widths keeps
    // its reduced ink all the same. The characters are shared out among up to `threads` threads
    // of the shared worker pool, each with a font of its own made for the same request; what
    // they find is stored afterwards on the calling thread, so the result is the same on any
    // number of threads. With `withInk` and an outline width (atlas pixels; 0 for none), the ink
    // widened by the outline is drawn and reduced too, on the same block grid as the ink.
    void learn(const std::vector<char32_t>& codes, bool withInk, std::int32_t factor, int threads,
               std::int32_t outlineWidth = 0);

    // What is known of a character; it must be known (knows, hasInk).
    GlyphMetrics metrics(char32_t code) const { return glyphs_.at(code).metrics; }
    const GlyphInfo& info(char32_t code) const { return glyphs_.at(code).info; }
    const ReducedInk& reducedInk(char32_t code) const { return glyphs_.at(code).ink; }
    const ReducedInk& borderedInk(char32_t code) const { return glyphs_.at(code).bordered; }

    // The font's kerning between the characters of the list, in 1/64 pixel; asked of the font
    // again only when the font or the list's characters changed. Never null.
    const std::shared_ptr<const std::vector<KerningPair>>& kerning(const GlyphList& glyphs);

private:
    struct Entry {
        GlyphMetrics metrics;
        GlyphInfo info;
        std::int32_t inkFactor = 0;  // 0 while `ink` holds nothing
        ReducedInk ink;
        std::int32_t borderFactor = 0;  // 0 while `bordered` holds nothing
        std::int32_t borderWidth = 0;
        ReducedInk bordered;
    };

    // The fonts the workers of a run use, one per worker, the cache's own font first: as many
    // as the pool has threads and fonts can be made.
    std::vector<Font*> workerFonts(int threads);

    FontRenderer& renderer_;
    std::optional<FontRequest> request_;
    // The request the font was made from: the typeface's when a font file gave way to it.
    FontRequest madeRequest_;
    std::unique_ptr<Font> font_;
    // Fonts for the other threads, made for madeRequest_ when a run first needs them.
    std::vector<std::unique_ptr<Font>> helperFonts_;
    bool helperFontFailed_ = false;
    std::string fontProblem_;
    std::string fontName_;
    std::shared_ptr<const std::vector<char32_t>> fontCharacters_;
    // The characters of the list the kerning was last found for, in list order.
    std::optional<std::vector<char32_t>> kerningCharacters_;
    std::shared_ptr<const std::vector<KerningPair>> kerning_;
    std::unordered_map<char32_t, Entry> glyphs_;
    std::uint64_t fontGeneration_ = 0;
};

}  // namespace vemro
