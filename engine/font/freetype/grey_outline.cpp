#include "engine/font/freetype/grey_outline.h"

#include FT_OUTLINE_H

#include <cstddef>
#include <utility>
#include <vector>

#include "engine/font/freetype/glyph_ink.h"

namespace vemro {

namespace {

FT_Pos floorPixel(FT_Pos value) {
    return value >= 0 ? value / 64 : -((-value + 63) / 64);
}

FT_Pos ceilPixel(FT_Pos value) {
    return -floorPixel(-value);
}

}  // namespace

std::optional<PixelBox> greyBitmapBox(const FT_Outline& outline) {
    constexpr FT_Pos kMaxCoordinate = 0x4000;
    FT_BBox cbox;
    FT_Outline_Get_CBox(&outline, &cbox);
    const PixelBox box{floorPixel(cbox.xMin), ceilPixel(cbox.xMax), floorPixel(cbox.yMin),
                       ceilPixel(cbox.yMax)};
    if (box.left < -kMaxCoordinate || box.right > kMaxCoordinate || box.bottom < -kMaxCoordinate ||
        box.top > kMaxCoordinate) {
        return std::nullopt;
    }
    return box;
}

std::optional<GlyphImage> drawGreyOutline(FT_Library library, FT_Outline& outline,
                                          std::int32_t ascent) {
    const std::optional<PixelBox> box = greyBitmapBox(outline);
    if (!box) {
        return std::nullopt;
    }
    if (box->empty()) {
        return GlyphImage{};  // FreeType makes no bitmap: no ink
    }
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(box->width() * box->height()));
    FT_Bitmap bitmap{};
    bitmap.rows = static_cast<unsigned>(box->height());
    bitmap.width = static_cast<unsigned>(box->width());
    bitmap.pitch = static_cast<int>(box->width());
    bitmap.buffer = pixels.data();
    bitmap.num_grays = 256;
    bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
    FT_Outline_Translate(&outline, -box->left * 64, -box->bottom * 64);
    const FT_Error error = FT_Outline_Get_Bitmap(library, &outline, &bitmap);
    FT_Outline_Translate(&outline, box->left * 64, box->bottom * 64);
    if (error != 0) {
        return std::nullopt;
    }
    const InkBox ink = findInk(bitmap, true);
    const auto left = static_cast<FT_Int>(box->left);
    const auto top = static_cast<FT_Int>(ascent - box->top);
    if (ink.empty() || ink.firstColumn != 0 || ink.firstRow != 0 ||
        ink.lastColumn != box->width() - 1 || ink.lastRow != box->height() - 1) {
        return trimmedImage(bitmap, left, top, true);
    }
    GlyphImage image;
    image.a = left;
    image.b = static_cast<std::int32_t>(box->width());
    image.top = top;
    image.width = image.b;
    image.height = static_cast<std::int32_t>(box->height());
    image.pixels = std::move(pixels);
    return image;
}

}  // namespace vemro
