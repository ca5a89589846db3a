// Colour glyphs of FreetypeFont: bitmap strikes (CBDT/CBLC, sbix) and colour layers (COLR/CPAL),
// drawn by FreeType with FT_LOAD_COLOR into premultiplied BGRA.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/font/colour_box_filter.h"
#include "engine/font/freetype/character_lookup.h"
#include "engine/font/freetype/freetype_font.h"

#include FT_COLOR_H
#include FT_TRUETYPE_TABLES_H

namespace vemro {

namespace {

std::int32_t scaled(FT_Int value, double scale) {
    return static_cast<std::int32_t>(std::lround(value * scale));
}

}  // namespace

FT_Error FreetypeFont::chooseStrike(FT_Face face, std::int32_t pixelHeight, double* scale) {
    // The smallest strike at least as tall as the em, so that it is only ever scaled down; the
    // tallest when none is.
    int chosen = -1;
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        const FT_Pos ppem = face->available_sizes[i].y_ppem;
        const FT_Pos best = chosen < 0 ? 0 : face->available_sizes[chosen].y_ppem;
        const bool tallEnough = ppem >= FT_Pos{pixelHeight} * 64;
        const bool bestTallEnough = chosen >= 0 && best >= FT_Pos{pixelHeight} * 64;
        if (chosen < 0 || (tallEnough && (!bestTallEnough || ppem < best)) ||
            (!tallEnough && !bestTallEnough && ppem > best)) {
            chosen = i;
        }
    }
    if (chosen < 0) {
        return FT_Err_Invalid_Pixel_Size;
    }
    const FT_Pos ppem = face->available_sizes[chosen].y_ppem;
    *scale = ppem > 0 ? pixelHeight * 64.0 / static_cast<double>(ppem) : 1.0;
    return FT_Select_Size(face, chosen);
}

FT_UShort FreetypeFont::unitsPerEm(FT_Face face) {
    if (face->units_per_EM != 0) {
        return face->units_per_EM;
    }
    const auto* head = static_cast<const TT_Header*>(FT_Get_Sfnt_Table(face, FT_SFNT_HEAD));
    return head != nullptr ? head->Units_Per_EM : 0;
}

bool FreetypeFont::isColourGlyph(FT_UInt index) const {
    if (!colourFace_ || index == 0) {
        return false;
    }
    if (!FT_IS_SCALABLE(face_)) {
        return true;  // a face of bitmap strikes alone
    }
    FT_LayerIterator layers{};
    FT_UInt layerGlyph = 0;
    FT_UInt colourIndex = 0;
    return FT_Get_Color_Glyph_Layer(face_, index, &layerGlyph, &colourIndex, &layers) != 0;
}

std::optional<GlyphImage> FreetypeFont::renderColour(char32_t code) {
    const FT_UInt index = glyphIndexFor(face_, code);
    if (!isColourGlyph(index) || FT_Load_Glyph(face_, index, FT_LOAD_COLOR) != 0) {
        return std::nullopt;
    }
    const FT_GlyphSlot slot = face_->glyph;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
        return std::nullopt;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_BGRA) {
        return std::nullopt;
    }
    GlyphImage image;
    image.holds = GlyphPixels::Colour;
    const auto width = static_cast<std::int32_t>(bitmap.width);
    const auto height = static_cast<std::int32_t>(bitmap.rows);
    if (width == 0 || height == 0) {
        return image;
    }
    // Premultiplied BGRA to straight RGBA.
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint8_t* pixel = row + static_cast<std::ptrdiff_t>(x) * 4;
            std::uint8_t* target = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
            const unsigned alpha = pixel[3];
            for (int c = 0; c < 3; ++c) {
                const unsigned value = pixel[2 - c];
                target[c] = alpha == 0 ? 0
                                       : static_cast<std::uint8_t>(
                                             std::min(255u, (value * 255 + alpha / 2) / alpha));
            }
            target[3] = static_cast<std::uint8_t>(alpha);
        }
    }
    const double scale = strikeScale_;
    image.width = std::max(1, scaled(width, scale));
    image.height = std::max(1, scaled(height, scale));
    image.pixels = image.width == width && image.height == height
                       ? std::move(rgba)
                       : boxFilterColour(rgba.data(), width, height, image.width, image.height);
    image.a = scaled(slot->bitmap_left, scale);
    image.b = image.width;
    image.top = ascent_ - scaled(slot->bitmap_top, scale);
    return image;
}

}  // namespace vemro
