// The parts of FreetypeFont that draw other things than plain coverage: distance fields and the
// widened glyph an outline is made of.

#include "engine/font/freetype/freetype_font.h"

#include <algorithm>
#include <cstddef>

#include FT_GLYPH_H
#include FT_OUTLINE_H

#include "engine/font/freetype/counter_repair.h"
#include "engine/font/freetype/glyph_ink.h"
#include "engine/font/freetype/grey_outline.h"

namespace vemro {

namespace {

// Owns an FT_Glyph.
struct GlyphHolder {
    FT_Glyph glyph = nullptr;
    ~GlyphHolder() {
        if (glyph != nullptr) {
            FT_Done_Glyph(glyph);
        }
    }
};

}  // namespace

GlyphImage FreetypeFont::renderField(char32_t code) {
    if (!loadGlyph(code)) {
        return GlyphImage{};
    }
    const FT_GlyphSlot slot = face_->glyph;
    bool drawn = false;
    ownLibrary_.withSpread(spread_,
                           [&] { drawn = FT_Render_Glyph(slot, FT_RENDER_MODE_SDF) == 0; });
    const FT_Bitmap& bitmap = slot->bitmap;
    if (!drawn || bitmap.width == 0 || bitmap.rows == 0 || bitmap.buffer == nullptr ||
        bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
        return GlyphImage{};
    }
    // The field is the outline's box in whole pixels with the spread on every side; it is kept
    // whole, the pixels far from the outline included.
    GlyphImage image;
    image.holds = GlyphPixels::Distances;
    image.margin = spread_;
    image.a = slot->bitmap_left + spread_;
    image.width = static_cast<std::int32_t>(bitmap.width);
    image.height = static_cast<std::int32_t>(bitmap.rows);
    image.b = std::max(image.width - 2 * spread_, 1);
    image.top = ascent_ - slot->bitmap_top;
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    for (std::int32_t y = 0; y < image.height; ++y) {
        const unsigned char* row =
            bitmap.pitch >= 0
                ? bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch
                : bitmap.buffer + static_cast<std::ptrdiff_t>(image.height - 1 - y) * -bitmap.pitch;
        std::copy(row, row + image.width,
                  image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width);
    }
    return image;
}

std::optional<GlyphMetrics> FreetypeFont::measureField(char32_t code) {
    if (!loadGlyph(code)) {
        return GlyphMetrics{};
    }
    const FT_GlyphSlot slot = face_->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) {
        return std::nullopt;
    }
    const std::optional<PixelBox> box = greyBitmapBox(slot->outline);
    if (!box) {
        return std::nullopt;
    }
    if (box->empty()) {
        return GlyphMetrics{};
    }
    return GlyphMetrics{
        static_cast<std::int32_t>(box->left), static_cast<std::int32_t>(box->width()),
        ascent_ - static_cast<std::int32_t>(box->top), static_cast<std::int32_t>(box->height())};
}

GlyphImage FreetypeFont::renderBordered(char32_t code, std::int32_t radius) {
    if (radius <= 0 || !loadGlyph(code) || face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
        return renderGlyph(code);
    }
    if (stroker_ == nullptr && FT_Stroker_New(library_, &stroker_) != 0) {
        stroker_ = nullptr;
        return renderGlyph(code);
    }
    // Round joins and caps keep every point of the border `radius` pixels from the outline.
    FT_Stroker_Set(stroker_, static_cast<FT_Fixed>(radius) * 64, FT_STROKER_LINECAP_ROUND,
                   FT_STROKER_LINEJOIN_ROUND, 0);
    GlyphHolder held;
    if (FT_Get_Glyph(face_->glyph, &held.glyph) != 0) {
        held.glyph = nullptr;
        return renderGlyph(code);
    }
    // The outside border of every contour: around the glyph outwards and into its counters, so
    // that filled it covers the glyph and the band around it.
    if (FT_Glyph_StrokeBorder(&held.glyph, stroker_, false, true) != 0 ||
        held.glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
        return renderGlyph(code);
    }
    FT_Outline& outline = reinterpret_cast<FT_OutlineGlyph>(held.glyph)->outline;
    // The border's loops overlap where it turns inwards; the non-zero rule fills them.
    outline.flags &= ~FT_OUTLINE_EVEN_ODD_FILL;
    if (FT_Glyph_To_Bitmap(&held.glyph, antialiased_ ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO,
                           nullptr, true) != 0) {
        return renderGlyph(code);
    }
    const auto* drawn = reinterpret_cast<FT_BitmapGlyph>(held.glyph);
    GlyphImage bordered =
        trimmedImage(drawn->bitmap, drawn->left, ascent_ - drawn->top, antialiased_);
    // Counters smaller than the radius are closed from the glyph's own ink; only a widened glyph
    // with enclosed pixels needs it.
    closeCounters(
        bordered, [&] { return renderGlyph(code); }, radius);
    return bordered;
}

}  // namespace vemro
