#pragma once

// FreeType glyph outlines and coverage for the field tests.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <string>
#include <vector>

#include "engine/field/field_frame.h"
#include "engine/field/shape.h"

namespace vemro::field::test {

inline constexpr const char* kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
// CFF outlines: cubic curves.
inline constexpr const char* kNotoSansCjk =
    "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";
// TrueType outlines: quadratic curves.
inline constexpr const char* kDroidFallback =
    "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf";

// Letters of Latin: A..Z, a..z and those of U+00C0..U+00FF.
std::vector<char32_t> latinLetters();
// Fifty ideographs from the simplest to some of the most complex in common use.
std::vector<char32_t> cjkIdeographs();

// One face of a font file at a pixel size, unhinted.
class OutlineFont {
public:
    OutlineFont(const std::string& file, int pixels);
    ~OutlineFont();
    OutlineFont(const OutlineFont&) = delete;
    OutlineFont& operator=(const OutlineFont&) = delete;

    bool ok() const { return face_ != nullptr; }
    // The glyph's outline as FreeType gives it, in pixels.
    Shape shape(char32_t code);
    // FreeType's coverage (0..255) of the glyph drawn over the frame magnified `scale` times:
    // (frame.width * scale) x (frame.height * scale) pixels, rows top to bottom.
    std::vector<std::uint8_t> coverage(char32_t code, const FieldFrame& frame, int scale);

    // FreeType's own signed distance field of the glyph at the spread, and the frame it covers;
    // empty when FreeType draws none.
    std::vector<std::uint8_t> freetypeField(char32_t code, int spread, FieldFrame& frame);

private:
    bool load(char32_t code);

    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

}  // namespace vemro::field::test
