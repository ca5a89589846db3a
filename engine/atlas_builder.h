#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "engine/atlas_result.h"
#include "engine/cell_reducer.h"
#include "engine/font_renderer.h"
#include "engine/project.h"

namespace vemro {

// Turns projects into atlases: measure every glyph, pack the cells, draw only the glyphs that
// landed on a page. It keeps the font of the last rebuild and what it knows of its glyphs, so a
// rebuild that asks for the same font draws nothing it has drawn before; a different font
// request makes a new font and forgets the glyphs.
class AtlasBuilder {
public:
    // The renderer must outlive the builder.
    explicit AtlasBuilder(FontRenderer& renderer);
    ~AtlasBuilder();

    AtlasBuilder(const AtlasBuilder&) = delete;
    AtlasBuilder& operator=(const AtlasBuilder&) = delete;

    // The atlas of the project. Never fails: a font that cannot be made gives empty cells and
    // says why in the result's fontProblem.
    std::shared_ptr<const AtlasResult> rebuild(const Project& project);

private:
    // What is known of one character of the current font: its A and B widths, its glyph index
    // and advance, its ink once drawn, and the ink reduced to atlas pixels for one factor.
    struct CachedGlyph;

    void useFont(const FontRequest& request);
    CachedGlyph& entry(char32_t code);

    FontRenderer& renderer_;
    std::optional<FontRequest> fontRequest_;
    std::unique_ptr<Font> font_;
    std::string fontProblem_;
    std::unordered_map<char32_t, std::unique_ptr<CachedGlyph>> glyphs_;
};

}  // namespace vemro
