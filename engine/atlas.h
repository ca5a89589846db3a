#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "engine/atlas_size.h"
#include "engine/cell_reducer.h"
#include "engine/font_borders.h"
#include "engine/font_renderer.h"
#include "engine/font_settings.h"
#include "engine/glyph_list.h"
#include "engine/pixel_surface.h"

namespace vemro {

// The one atlas of the program: the glyph list, the texture size, the font borders, the current
// font and the finished texture. Font settings and the supersampling factor are not stored; the
// caller passes them in at the moment of use.
class Atlas {
public:
    // The renderer must outlive the atlas.
    explicit Atlas(FontRenderer& renderer);

    GlyphList& glyphs() { return glyphs_; }
    const GlyphList& glyphs() const { return glyphs_; }
    FontRenderer& renderer() { return renderer_; }

    AtlasSize textureSize() const { return textureSize_; }
    // Rejects (returns false, changes nothing) a side outside 1..512.
    bool setTextureSize(AtlasSize size);

    FontBorders fontBorders() const { return fontBorders_; }
    void setFontBorders(FontBorders borders) { fontBorders_ = borders; }

    // Sets the two borders of glyph index; an index at or past the end of the list designates no
    // glyph: nothing changes and the result is false.
    bool setCharacterBorders(std::size_t index, std::int32_t left, std::int32_t right);

    // Empties the glyph list. The caller rebuilds.
    void newAtlas();
    // Adds codes 32..255 in ascending order, skipping those present. The caller rebuilds.
    void addFullCharset();

    // Pixel em height for a size in points at a fixed 96 pixels per inch: size x factor x 96 / 72
    // rounded to nearest, halves away from zero. The size is first brought into 5..100.
    static std::int32_t pixelHeightFor(std::int32_t size, std::int32_t factor);

    // Replaces the current font with one built from the settings, factor times as large.
    void recreateFont(const FontSettings& settings);

    // The rebuild steps; rebuildAtlas runs all of them in order and then the rebuild listener.
    // A factor outside 1..4 is brought into that range.
    void measureGlyphs(std::int32_t factor);
    void packGlyphs();
    void rasteriseGlyphs(std::int32_t factor);
    void rebuildAtlas(std::int32_t factor);

    // Called at the end of every rebuild (the window repaints its preview).
    void setRebuildListener(std::function<void()> listener) { listener_ = std::move(listener); }

    // The finished texture in the top-left corner of a 512 x 512 surface, hatch around it.
    const PixelSurface& atlasSurface() const { return atlasSurface_; }

    // Glyphs whose cell lies partly or wholly outside the texture after the last rebuild.
    std::size_t glyphsOutsideTexture() const;

private:
    // What is known of one character of the current font: its A and B widths, its ink once
    // drawn, and the ink reduced to atlas pixels for one factor.
    struct CachedGlyph {
        std::optional<GlyphMetrics> metrics;
        std::optional<GlyphImage> image;
        std::int32_t reducedFactor = 0;  // 0 while `reduced` holds nothing
        ReducedInk reduced;
    };

    // The A and B widths of a character. A character not known yet is drawn right away when
    // `drawNow`, otherwise measured without drawing if the renderer can.
    GlyphMetrics glyphMetrics(std::uint8_t code, bool drawNow);
    const GlyphImage& glyphImage(std::uint8_t code);
    const ReducedInk& reducedInk(std::uint8_t code, std::int32_t factor);

    FontRenderer& renderer_;
    GlyphList glyphs_;
    AtlasSize textureSize_;
    FontBorders fontBorders_;
    PixelSurface atlasSurface_;
    // The texture size the hatch around the texture was last painted for.
    std::optional<AtlasSize> backgroundSize_;
    // Characters of the current font, dropped by recreateFont.
    std::array<CachedGlyph, 256> glyphCache_;
    std::function<void()> listener_;
};

}  // namespace vemro
