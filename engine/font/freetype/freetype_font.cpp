#include "engine/font/freetype/freetype_font.h"

#include FT_ADVANCES_H
#include FT_SIZES_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "engine/font/freetype/character_lookup.h"
#include "engine/font/freetype/font_catalogue.h"
#include "engine/font/freetype/glyph_ink.h"
#include "engine/font/freetype/grey_outline.h"
#include "engine/font/freetype/outline_measure.h"

namespace vemro {

namespace {

// Shear of a synthesized italic, x' = x + shear * y (16.16 fixed point, about 0.21).
constexpr FT_Fixed kObliqueShear = 0x0366A;
// A synthesized bold widens the strokes by this fraction of the em.
constexpr FT_Long kEmboldenDivisor = 24;

std::string errorText(FT_Error error) {
    if (const char* text = FT_Error_String(error); text != nullptr) {
        return text;
    }
    char code[32];
    std::snprintf(code, sizeof code, "FreeType error 0x%02X", static_cast<unsigned>(error));
    return code;
}

}  // namespace

Result<std::unique_ptr<FreetypeFont>> FreetypeFont::create(FreetypeLibrary& library,
                                                           std::shared_ptr<FaceSource> source,
                                                           FreetypeLibrary::Face face,
                                                           const FontRequest& request,
                                                           const FaceChoice& choice) {
    // Before the size, whose metrics follow the axes. A named instance keeps its own
    // coordinates; any other variable font starts from its default, whatever an earlier font
    // of the face set.
    AxisStyle axes;
    if (choice.onAxes) {
        axes = setAxes(face.get(), request.weight, request.italic);
    } else if (!FT_IS_NAMED_INSTANCE(face.get())) {
        resetAxes(face.get());
    }
    FT_Size size = nullptr;
    if (const FT_Error error = FT_New_Size(face.get(), &size); error != 0) {
        return Result<std::unique_ptr<FreetypeFont>>::failure(
            "FreeType could not make a size for it (" + errorText(error) + ")");
    }
    FT_Activate_Size(size);
    double strikeScale = 1.0;
    if (const FT_Error error =
            FT_IS_SCALABLE(face.get())
                ? FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(request.pixelHeight))
                : chooseStrike(face.get(), request.pixelHeight, &strikeScale);
        error != 0) {
        FT_Done_Size(size);
        return Result<std::unique_ptr<FreetypeFont>>::failure(
            "FreeType could not scale it to that height (" + errorText(error) + ")");
    }
    std::unique_ptr<FreetypeFont> font(
        new FreetypeFont(library, std::move(source), std::move(face), size, request, choice, axes));
    font->strikeScale_ = strikeScale;
    return font;
}

FreetypeFont::FreetypeFont(FreetypeLibrary& library, std::shared_ptr<FaceSource> source,
                           FreetypeLibrary::Face face, FT_Size size, const FontRequest& request,
                           const FaceChoice& choice, AxisStyle axes)
    : ownLibrary_(library),
      library_(library.get()),
      source_(std::move(source)),
      ownedFace_(std::move(face)),
      face_(ownedFace_.get()),
      size_(size),
      coordinates_(designCoordinates(face_)),
      familyName_(source_->familyName(face_)),
      pixelHeight_(request.pixelHeight),
      antialiased_(request.antialiased || request.distanceField),
      distanceField_(request.distanceField),
      colourFace_(FT_HAS_COLOR(face_) && !request.distanceField),
      embolden_(choice.mayEmbolden && !axes.weight && FontCatalogue::wantsBold(request) &&
                (face_->style_flags & FT_STYLE_FLAG_BOLD) == 0),
      oblique_(!choice.leans && !axes.italic && request.italic &&
               (face_->style_flags & FT_STYLE_FLAG_ITALIC) == 0),
      emboldenStrength_(FT_MulFix(face_->units_per_EM, size->metrics.y_scale) / kEmboldenDivisor) {
    computeLineMetrics();
}

FreetypeFont::~FreetypeFont() {
    if (stroker_ != nullptr) {
        FT_Stroker_Done(stroker_);
    }
    FT_Done_Size(size_);
    source_->giveBack(std::move(ownedFace_));
}

std::vector<char32_t> FreetypeFont::characters() {
    return source_->characters(face_);
}

// Ascent and descent the way Windows scales them: the OS/2 Windows metrics (or the hhea ones
// when those are zero or missing), each scaled with one rounding, not the size's rounded values.
void FreetypeFont::computeLineMetrics() {
    FT_Long ascender = face_->ascender;
    FT_Long descender = -face_->descender;
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face_, FT_SFNT_HHEA));
    if (hhea != nullptr) {
        ascender = hhea->Ascender;
        descender = -hhea->Descender;
    }
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent != 0) {
        ascender = os2->usWinAscent;
        // Some fonts store the descent negated; its size is what counts.
        descender = std::abs(static_cast<FT_Long>(static_cast<FT_Short>(os2->usWinDescent)));
    }
    const FT_Long emScale = FT_MulDiv(pixelHeight_, 1 << 16, unitsPerEm(face_));
    ascent_ = static_cast<std::int32_t>(FT_MulFix(ascender, emScale));
    lineHeight_ = ascent_ + static_cast<std::int32_t>(FT_MulFix(descender, emScale));
}

std::int32_t FreetypeFont::scaleDesignUnits(FT_Long units) const {
    return static_cast<std::int32_t>(
        FT_MulDiv(units, FT_Long{pixelHeight_} * 64, unitsPerEm(face_)));
}

bool FreetypeFont::loadGlyph(char32_t code) {
    FT_Int32 flags = antialiased_ ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
    if (embolden_ || oblique_ || distanceField_) {
        flags |= FT_LOAD_NO_BITMAP;  // synthesis and distance fields work on outlines
    }
    const FT_UInt index = glyphIndexFor(face_, code);
    if (FT_Load_Glyph(face_, index, flags) != 0 &&
        (index == 0 || FT_Load_Glyph(face_, 0, flags) != 0)) {
        return false;
    }
    const FT_GlyphSlot slot = face_->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (embolden_) {
            FT_Outline_EmboldenXY(&slot->outline, emboldenStrength_, emboldenStrength_);
        }
        if (oblique_) {
            const FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
            FT_Outline_Transform(&slot->outline, &shear);
        }
    }
    return true;
}

bool FreetypeFont::drawSlot() {
    const FT_GlyphSlot slot = face_->glyph;
    return slot->format == FT_GLYPH_FORMAT_BITMAP ||
           FT_Render_Glyph(slot, antialiased_ ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) == 0;
}

GlyphImage FreetypeFont::renderGlyph(char32_t code) {
    if (std::optional<GlyphImage> colour = renderColour(code)) {
        return std::move(*colour);
    }
    if (!loadGlyph(code)) {
        return GlyphImage{};
    }
    const FT_GlyphSlot slot = face_->glyph;
    // Outlines with overlap are drawn oversampled by FT_Render_Glyph; leave those to it.
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE && antialiased_ &&
        (slot->outline.flags & FT_OUTLINE_OVERLAP) == 0) {
        if (std::optional<GlyphImage> image = drawGreyOutline(library_, slot->outline, ascent_)) {
            return std::move(*image);
        }
    }
    if (!drawSlot()) {
        return GlyphImage{};
    }
    return trimmedImage(slot->bitmap, slot->bitmap_left, ascent_ - slot->bitmap_top, antialiased_);
}

std::optional<GlyphMetrics> FreetypeFont::measureGlyph(char32_t code) {
    if (isColourGlyph(glyphIndexFor(face_, code))) {
        return std::nullopt;  // measured on its colour image
    }
    if (!loadGlyph(code)) {
        return GlyphMetrics{};  // what the empty image of renderGlyph reports
    }
    const FT_GlyphSlot slot = face_->glyph;
    // Grey outlines are measured without drawing. Outlines with overlap are drawn oversampled
    // by FreeType, and the monochrome rasteriser's drop-out control depends on the whole
    // bitmap, so those (and embedded bitmaps) are measured on the drawn bitmap, without
    // copying any of it.
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE && antialiased_ &&
        (slot->outline.flags & FT_OUTLINE_OVERLAP) == 0) {
        OutlineMeasure measure(library_, slot->outline);
        if (const std::optional<GlyphMetrics> metrics = measure.measure(ascent_)) {
            return metrics;
        }
    }
    if (!drawSlot()) {
        return GlyphMetrics{};
    }
    return inkMetrics(slot->bitmap, slot->bitmap_left, ascent_ - slot->bitmap_top, antialiased_);
}

GlyphInfo FreetypeFont::glyphInfo(char32_t code) {
    GlyphInfo info;
    info.index = glyphIndexFor(face_, code);
    info.colour = isColourGlyph(info.index);
    FT_Fixed designAdvance = 0;
    if (FT_Get_Advance(face_, info.index, FT_LOAD_NO_SCALE, &designAdvance) != 0) {
        designAdvance = 0;
    }
    info.advance = scaleDesignUnits(designAdvance);
    // FreeType's own emboldening of a glyph slot widens a glyph that advances by its strength.
    if (embolden_ && info.advance != 0) {
        info.advance += static_cast<std::int32_t>(emboldenStrength_);
    }
    return info;
}

std::vector<KerningPair> FreetypeFont::kerningPairs(const std::vector<char32_t>& characters) {
    std::vector<KerningPair> pairs = source_->kerning(face_, characters, coordinates_);
    std::erase_if(pairs, [this](KerningPair& pair) {
        pair.amount = scaleDesignUnits(pair.amount);
        return pair.amount == 0;
    });
    return pairs;
}

}  // namespace vemro
