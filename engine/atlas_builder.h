#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/atlas_result.h"
#include "engine/font_renderer.h"
#include "engine/glyph_cache.h"
#include "engine/project.h"

namespace vemro {

// Turns projects into atlases: measure every glyph, pack the cells, draw only the glyphs that
// landed on a page. It keeps the font of the last rebuild and what it knows of its glyphs, so a
// rebuild that asks for the same font draws nothing it has drawn before; a different font
// request makes a new font and forgets the glyphs. With the project's kerning option on, the result
// carries the font's kerning among the list's characters, asked of the font again only when the
// font or the set of characters changed.
class AtlasBuilder {
public:
    // The renderer must outlive the builder.
    explicit AtlasBuilder(FontRenderer& renderer);
    ~AtlasBuilder();

    AtlasBuilder(const AtlasBuilder&) = delete;
    AtlasBuilder& operator=(const AtlasBuilder&) = delete;

    // The atlas of the project. Never fails: a font that cannot be made gives empty cells and
    // says why in the result's fontProblem. A texture side outside 1..AtlasSize::kMaxSide is
    // brought into that range.
    std::shared_ptr<const AtlasResult> rebuild(const Project& project);

private:
    // The cells of the project's glyphs, measured but not yet placed.
    std::vector<PlacedGlyph> measure(const Project& project, std::int32_t factor, AtlasSize texture,
                                     std::int32_t cellHeight);
    // Draws the cells of page 0 that show on it and counts the cells that leave their page.
    void draw(std::int32_t factor, std::int32_t borderTop, AtlasResult& result);

    GlyphCache cache_;
};

}  // namespace vemro
