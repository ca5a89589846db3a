#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/result.h"
#include "engine/font/font_renderer.h"
#include "engine/font/freetype/face_source.h"
#include "engine/font/freetype/face_variation.h"
#include "engine/font/freetype/font_catalogue.h"
#include "engine/font/freetype/freetype_library.h"

#include FT_STROKER_H

namespace vemro {

// One face at one pixel height and style, on FreeType. The font has a FreeType face to itself
// (from the face's source, which takes it back when the font goes) and its own size on it, so
// fonts may be used on different threads at once. A variable font is drawn at the request's
// weight and italic on its axes. Bold and italic the face lacks (and its axes do not give) are
// synthesized where the choice allows: strokes widened by 1/24 of the em, outlines sheared by
// about 12 degrees.
//
// A font for distance fields loads its glyphs as outlines only (no embedded bitmaps), hinted as
// antialiased coverage is; the fields are made from outline().
//
// The library belongs to the renderer that made the font and must outlive it.
class FreetypeFont final : public Font {
public:
    // A font of the face for the request, drawn as the choice says; the reason (a phrase a user
    // can read) when FreeType cannot size the face. The face, taken from the source, must be
    // scalable with a non-zero em.
    static Result<std::unique_ptr<FreetypeFont>> create(FreetypeLibrary& library,
                                                        std::shared_ptr<FaceSource> source,
                                                        FreetypeLibrary::Face face,
                                                        const FontRequest& request,
                                                        const FaceChoice& choice);
    ~FreetypeFont() override;

    FreetypeFont(const FreetypeFont&) = delete;
    FreetypeFont& operator=(const FreetypeFont&) = delete;

    std::int32_t lineHeight() const override { return lineHeight_; }
    std::int32_t ascent() const override { return ascent_; }
    GlyphImage renderGlyph(char32_t code) override;
    // Exactly the A and B widths and ink rows renderGlyph reports. Antialiased outlines are
    // measured by asking FreeType's rasteriser only for the columns and rows at the ink's edges;
    // other glyphs are scan-converted as drawing does but nothing is copied.
    std::optional<GlyphMetrics> measureGlyph(char32_t code) override;
    // The outline stroked by FreeType's stroker with round joins and caps, its outside border
    // filled, drawn as renderGlyph draws coverage.
    GlyphImage renderBordered(char32_t code, std::int32_t radius) override;
    // The loaded glyph's outline (FT_Outline_Decompose) in pixels.
    std::optional<field::Shape> outline(char32_t code) override;
    GlyphInfo glyphInfo(char32_t code) override;
    std::string familyName() const override { return familyName_; }
    std::vector<char32_t> characters() override;
    // As HarfBuzz shapes each pair on this face: from the GPOS `kern` feature, or from a legacy
    // `kern` table where HarfBuzz uses that (see kerningInDesignUnits), scaled to the em height.
    std::vector<KerningPair> kerningPairs(const std::vector<char32_t>& characters) override;

private:
    FreetypeFont(FreetypeLibrary& library, std::shared_ptr<FaceSource> source,
                 FreetypeLibrary::Face face, FT_Size size, const FontRequest& request,
                 const FaceChoice& choice, AxisStyle axes);

    // Ascent and line height as Windows scales them.
    void computeLineMetrics();
    // Design units to 1/64 pixel at the em height, rounded once.
    std::int32_t scaleDesignUnits(FT_Long units) const;
    // Loads a character into the face's glyph slot with the synthesized styles applied; false
    // when neither it nor the missing-glyph shape can be loaded.
    bool loadGlyph(char32_t code);
    // Turns the loaded glyph into a bitmap as renderGlyph draws it; false on failure.
    bool drawSlot();
    // Whether the glyph is drawn in colour: every glyph of a face of colour strikes alone, the
    // glyphs with colour layers of an outline face; none in a distance field.
    bool isColourGlyph(FT_UInt index) const;
    // The colour image of a colour glyph, scaled from its strike to the em height; nothing for
    // another glyph or when FreeType cannot draw it in colour.
    std::optional<GlyphImage> renderColour(char32_t code);

public:
    // Selects the bitmap strike of a face without outlines that a font of the height scales
    // from, and gives the scale from the strike to the height.
    static FT_Error chooseStrike(FT_Face face, std::int32_t pixelHeight, double* scale);
    // The face's design units per em: FreeType's, or the head table's for a face of bitmap
    // strikes alone, for which FreeType gives none. 0 when neither says.
    static FT_UShort unitsPerEm(FT_Face face);

private:
    FreetypeLibrary& ownLibrary_;
    FT_Library library_;
    std::shared_ptr<FaceSource> source_;
    FreetypeLibrary::Face ownedFace_;
    FT_Face face_;  // ownedFace_.get()
    FT_Size size_;
    // The design coordinates of a variable font (empty for other faces), which its kerning
    // depends on.
    std::vector<FT_Fixed> coordinates_;
    std::string familyName_;
    std::int32_t pixelHeight_;
    bool antialiased_;
    bool distanceField_;
    // Whether glyphs may be drawn in colour, and the scale from a colour strike to the em height
    // (1 for a face with outlines).
    bool colourFace_;
    double strikeScale_ = 1.0;
    bool embolden_;
    bool oblique_;
    // How far a synthesized bold widens each stroke, 26.6 pixels.
    FT_Pos emboldenStrength_ = 0;
    std::int32_t ascent_ = 0;
    std::int32_t lineHeight_ = 0;
    // Made on first use of renderBordered.
    FT_Stroker stroker_ = nullptr;
};

}  // namespace vemro
