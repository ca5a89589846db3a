#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/font_renderer.h"

namespace vemro {

// Font services on FreeType, with the installed typefaces found through fontconfig.
//
// Construction is cheap: fontconfig and FreeType are started, and the typeface list is built, on
// first use. Opened font files stay cached for the life of the object, so recreating the font
// (which the program does on every change) costs little after the first time.
class FreetypeFontRenderer final : public FontRenderer {
public:
    FreetypeFontRenderer();
    ~FreetypeFontRenderer() override;

    FreetypeFontRenderer(const FreetypeFontRenderer&) = delete;
    FreetypeFontRenderer& operator=(const FreetypeFontRenderer&) = delete;

    const std::vector<std::string>& faceNames() override;
    bool createFont(const FontRequest& request) override;
    bool hasFont() const override;
    std::int32_t lineHeight() const override;
    GlyphImage renderGlyph(std::uint8_t code) override;
    // Exactly the A and B widths renderGlyph reports. Antialiased outlines are measured by
    // asking FreeType's rasteriser only for the columns at the ink's edges; other glyphs are
    // scan-converted as drawing does but nothing is copied.
    std::optional<GlyphMetrics> measureGlyph(std::uint8_t code) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vemro
