#include "tests/field/outline_font.h"

#include FT_BITMAP_H
#include FT_MODULE_H
#include FT_OUTLINE_H

#include <cmath>

#include "engine/font/freetype/freetype_outline_shape.h"

namespace vemro::field::test {

std::vector<char32_t> latinLetters() {
    std::vector<char32_t> letters;
    for (char32_t c = 'A'; c <= 'Z'; ++c) {
        letters.push_back(c);
        letters.push_back(c + 32);
    }
    for (char32_t c = 0xC0; c <= 0xFF; ++c) {
        if (c != 0xD7 && c != 0xF7) {  // the multiplication and division signs
            letters.push_back(c);
        }
    }
    return letters;
}

std::vector<char32_t> cjkIdeographs() {
    const std::u32string text =
        U"一二三人口大中小山川日月木水火土金国学生先時間年東京語漢字書道電車話"
        U"読愛鬱龍體靈議競識觀響驚鷹麗纏齉爨";
    return {text.begin(), text.end()};
}

OutlineFont::OutlineFont(const std::string& file, int pixels) {
    if (FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
        return;
    }
    if (FT_New_Face(library_, file.c_str(), 0, &face_) != 0 ||
        FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixels)) != 0) {
        face_ = nullptr;
    }
}

OutlineFont::~OutlineFont() {
    if (face_ != nullptr) {
        FT_Done_Face(face_);
    }
    if (library_ != nullptr) {
        FT_Done_FreeType(library_);
    }
}

bool OutlineFont::load(char32_t code) {
    return face_ != nullptr &&
           FT_Load_Char(face_, code, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0 &&
           face_->glyph->format == FT_GLYPH_FORMAT_OUTLINE;
}

Shape OutlineFont::shape(char32_t code) {
    return load(code) ? shapeFromOutline(face_->glyph->outline) : Shape{};
}

std::vector<std::uint8_t> OutlineFont::coverage(char32_t code, const FieldFrame& frame, int scale) {
    const int width = frame.width * scale;
    const int height = frame.height * scale;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height, 0);
    if (!load(code)) {
        return pixels;
    }
    FT_Outline& outline = face_->glyph->outline;
    // The frame's bottom-left corner to the origin, then magnified.
    const double bottom = frame.origin.y - frame.height * frame.pixelSize;
    FT_Outline_Translate(&outline, -static_cast<FT_Pos>(std::lround(frame.origin.x * 64)),
                         -static_cast<FT_Pos>(std::lround(bottom * 64)));
    FT_Matrix magnify{static_cast<FT_Fixed>(scale) << 16, 0, 0, static_cast<FT_Fixed>(scale) << 16};
    FT_Outline_Transform(&outline, &magnify);
    FT_Bitmap bitmap;
    FT_Bitmap_Init(&bitmap);
    bitmap.width = static_cast<unsigned>(width);
    bitmap.rows = static_cast<unsigned>(height);
    bitmap.pitch = width;  // the first row is the top one
    bitmap.buffer = pixels.data();
    bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
    bitmap.num_grays = 256;
    FT_Outline_Get_Bitmap(library_, &outline, &bitmap);
    return pixels;
}

std::vector<std::uint8_t> OutlineFont::freetypeField(char32_t code, int spread, FieldFrame& frame) {
    const FT_Int value = spread;
    if (!load(code) || FT_Property_Set(library_, "sdf", "spread", &value) != 0 ||
        FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_SDF) != 0) {
        return {};
    }
    const FT_Bitmap& bitmap = face_->glyph->bitmap;
    frame = {static_cast<int>(bitmap.width),
             static_cast<int>(bitmap.rows),
             {static_cast<double>(face_->glyph->bitmap_left),
              static_cast<double>(face_->glyph->bitmap_top)},
             1};
    std::vector<std::uint8_t> pixels;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const unsigned char* from = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
        pixels.insert(pixels.end(), from, from + bitmap.width);
    }
    return pixels;
}

}  // namespace vemro::field::test
