#pragma once

#include <cstdint>
#include <memory>
#include <unordered_set>
#include <vector>

#include "engine/atlas/atlas_result.h"
#include "engine/atlas/colour_ink_cache.h"
#include "engine/atlas/glyph_cache.h"
#include "engine/atlas/rebuild_control.h"
#include "engine/atlas/worker_pool.h"
#include "engine/font/font_renderer.h"
#include "engine/pack/pack_options.h"
#include "engine/project/project.h"

namespace vemro {

// Turns projects into atlases: measure every glyph, choose the texture size, pack the cells onto
// pages, draw only the glyphs that landed on a page. It keeps the font of the last rebuild and
// what it knows of its glyphs, so a rebuild that asks for the same font draws nothing it has
// drawn before; a different font request makes a new font and forgets the glyphs. Glyphs are
// drawn and reduced on several threads; the pages are composed afterwards in list order, so the
// atlas is the same on any number of threads. With the project's kerning option on, the result
// carries the font's kerning among the list's characters, asked of the font again only when the
// font or the set of characters changed. With colour effects the pages are 32-bit, each glyph's
// ink composed with its outline and shadow once per font and set of effects; a distance field of
// each glyph's outline is drawn instead of coverage, at factor 1, with as many channels as its
// kind has. A cell holds a whole line, or with the packing's trim option only the rows of its
// glyph's ink, found by measuring as the widths are.
class AtlasBuilder {
public:
    // The renderer must outlive the builder.
    explicit AtlasBuilder(FontRenderer& renderer);
    ~AtlasBuilder();

    AtlasBuilder(const AtlasBuilder&) = delete;
    AtlasBuilder& operator=(const AtlasBuilder&) = delete;

    // How many threads later rebuilds draw glyphs on: 0 (the default) for one per core, 1 for
    // the calling thread alone. The helpers come from the pool the program shares.
    void setThreadCount(int threads);

    // The atlas of the project, whose values lie in their ranges (withinRanges). A font that
    // cannot be made gives empty cells and says why in the result's fontProblem. At most
    // maxPagesFor(texture) pages are drawn, and ink of at most kMaxAtlasPixels
    // (cellsPastInkBudget, a field counted with its spread); cells past either are placed below
    // the last page. With a control, the rebuild tells it how many of the list's characters it
    // has to draw (or measure) and how many it has, and stops when it is cancelled: it then
    // gives null, keeping what it learnt of the characters it finished for the next rebuild.
    std::shared_ptr<const AtlasResult> rebuild(const Project& project,
                                               RebuildControl* control = nullptr);

private:
    // Learns the widths of every glyph of the list, drawing at once the ones that probably land
    // on a page: while the cells so far cover less than `budget` pixels.
    // With an outline of `outlineWidth` pixels (0: none), the drawn glyphs are widened as well.
    void learnWidths(const Project& project, const InkForm& form, std::int32_t extraWidth,
                     std::int64_t rowsTaken, std::int32_t spacing, std::int64_t budget,
                     std::int32_t outlineWidth, const LearnWatch& watch);
    // The cells of the project's glyphs, measured but not yet placed: each a line of
    // `lineHeight` rows, or the rows of its ink when the project trims cells to the ink.
    std::vector<PlacedGlyph> measure(const Project& project, std::int32_t factor,
                                     std::int32_t lineHeight, const EffectPadding& padding,
                                     bool wholeInk) const;
    // Draws the cells that show on their page, in list order, and counts the cells that leave
    // their page. The cell's first line row (lineTop) lies at row inkTop of the cell. False when
    // the watch's control was cancelled first.
    bool draw(const InkForm& form, std::int32_t inkTop, AtlasResult& result,
              const LearnWatch& watch);

    // Packs the cells onto pages and sets the cells past the ink budget below the last page;
    // returns how many pages there are.
    static std::int32_t placeCells(PackerKind packer, const std::vector<PackItem>& items,
                                   const PackOptions& options, AtlasResult& result);
    // The characters of the list, each once, whose widths or ink in the form are not known yet.
    std::unordered_set<char32_t> unknownCharacters(const GlyphList& glyphs,
                                                   const InkForm& form) const;
    static void place(const std::vector<PackPosition>& positions, AtlasResult& result);
    // The threads a rebuild may use.
    int threads() const { return threads_ > 0 ? threads_ : WorkerPool::coreCount(); }

    GlyphCache cache_;
    ColourInkCache colourInks_;
    int threads_ = 0;
};

}  // namespace vemro
