#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/atlas/rebuild_control.h"
#include "engine/atlas/worker_pool.h"
#include "engine/font/font_renderer.h"
#include "engine/project/glyph_list.h"
#include "engine/raster/cell_reducer.h"
#include "engine/raster/glyph_field_maker.h"

namespace vemro {

// How a character's ink is drawn: its coverage reduced at a supersampling factor (1..4), or, by
// a font made for distance fields, a distance field of its outline at factor 1.
struct InkForm {
    std::int32_t factor = 1;
    std::optional<FieldForm> field;

    friend bool operator==(const InkForm&, const InkForm&) = default;
};

// Who watches a run of GlyphCache::learn: the rebuild's control, which stops the run and is told
// of every character of `uncounted` the run finishes (which then leaves the set). Either may be
// null.
struct LearnWatch {
    RebuildControl* control = nullptr;
    std::unordered_set<char32_t>* uncounted = nullptr;
};

// The font of the last request and what is known of its characters: each character's A and B
// widths, glyph index and advance, and its ink in atlas pixels for one ink form (reduced
// coverage, or a distance field). Each thing is asked of the font once. The drawn ink itself is
// dropped as soon as it is reduced. A font made for distance fields gives its characters'
// widths and fields from their outlines (fieldMetrics, GlyphFieldMaker).
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
    // Whether its ink is there in the form.
    bool hasInk(char32_t code, const InkForm& form) const;
    // Whether its ink widened by an outline of `width` atlas pixels is reduced at the factor.
    bool hasBorder(char32_t code, std::int32_t factor, std::int32_t width) const;
    // Counts the fonts made: it changes whenever the characters are forgotten.
    std::uint64_t fontGeneration() const { return fontGeneration_; }

    // Finds what is not known yet of each character: its widths, index and advance, and, with
    // `withInk`, its ink in the form. Without `withInk` the widths are measured without drawing
    // where the font can; a character that has to be drawn for its widths keeps its reduced ink
    // all the same. The characters are shared out among up to `threads` threads of the shared
    // worker pool, each with a font (and a field maker) of its own made for the same request;
    // what they find is stored afterwards on the calling thread, so the result is the same on
    // any number of threads. With `withInk` and an outline width (atlas pixels; 0 for none), the
    // ink widened by the outline is drawn and reduced too, on the same block grid as the ink.
    // Once the watch's control is cancelled no character is begun; what the characters finished
    // so far found is kept.
    void learn(const std::vector<char32_t>& codes, bool withInk, const InkForm& form, int threads,
               std::int32_t outlineWidth = 0, const LearnWatch& watch = {});

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
        std::optional<InkForm> inkForm;  // nothing while `ink` holds nothing
        ReducedInk ink;
        std::int32_t borderFactor = 0;  // 0 while `bordered` holds nothing
        std::int32_t borderWidth = 0;
        ReducedInk bordered;
    };

    // The fonts the workers of a run use, one per worker, the cache's own font first: as many
    // as the pool has threads and fonts can be made.
    std::vector<Font*> workerFonts(int threads);
    // A field maker for each of that many workers.
    std::vector<GlyphFieldMaker*> fieldMakers(std::size_t workers);

    FontRenderer& renderer_;
    std::optional<FontRequest> request_;
    // The request the font was made from: the typeface's when a font file gave way to it.
    FontRequest madeRequest_;
    std::unique_ptr<Font> font_;
    // Fonts for the other threads, made for madeRequest_ when a run first needs them.
    std::vector<std::unique_ptr<Font>> helperFonts_;
    bool helperFontFailed_ = false;
    // The workers' field makers, kept with their memory from one run to the next.
    std::vector<std::unique_ptr<GlyphFieldMaker>> fieldMakers_;
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
