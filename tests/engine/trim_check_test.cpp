// Cells trimmed to the ink against FreeType's own rendering: every cell of a trimmed atlas holds
// FreeType's bitmap of its glyph (the ink of its coverage, or the whole of its distance field)
// pixel for pixel, with nothing around it but the borders, at the rows of the line the bitmap
// gives.

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <string>

#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"

namespace vemro {
namespace {

const char* const kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

TEST(TrimCheck, EveryTrimmedCellHoldsFreetypesBitmapOfItsGlyphWhole) {
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face = nullptr;
    ASSERT_EQ(FT_New_Face(library, kDejaVuSans, 0, &face), 0);
    ASSERT_EQ(FT_Set_Pixel_Sizes(face, 0, 32), 0);
    FreetypeFontRenderer renderer;
    // Every character of the face below U+3000 in coverage, the Latin ones in a distance field,
    // at 24 points (32 pixels), with font borders.
    for (const FT_Int spread : {0, 4}) {
        Project project = startupProject("DejaVu Sans");
        project.font.fontFile = kDejaVuSans;
        project.font.size = 24;
        project.fontBorders = {2, 1, 3, 4};
        project.textureSize = {4096, 4096};
        project.packing.packer = PackerKind::Tight;
        project.packing.trimToInk = true;
        project.effects.distanceField = spread > 0;
        project.effects.spread = std::max(spread, 2);
        FT_UInt index = 0;
        for (FT_ULong code = FT_Get_First_Char(face, &index);
             index != 0 && code < (spread > 0 ? 0x250u : 0x3000u);
             code = FT_Get_Next_Char(face, code, &index)) {
            project.glyphs.addCharacter(static_cast<char32_t>(code));
        }
        ASSERT_EQ(FT_Property_Set(library, "sdf", "spread", &project.effects.spread), 0);
        AtlasBuilder builder(renderer);
        const std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
        ASSERT_EQ(result->glyphsOutsideTexture, 0u);
        ASSERT_GT(result->glyphs.size(), spread > 0 ? 500u : 4000u);
        const FontBorders& borders = project.fontBorders;
        std::int64_t cellArea = 0;
        std::int64_t lineArea = 0;
        for (const PlacedGlyph& cell : result->glyphs) {
            const std::string label = "spread " + std::to_string(spread) + ", U+" +
                                      std::to_string(static_cast<std::uint32_t>(cell.code));
            ASSERT_EQ(FT_Load_Char(face, cell.code, FT_LOAD_TARGET_NORMAL), 0);
            ASSERT_EQ(FT_Render_Glyph(face->glyph,
                                      spread > 0 ? FT_RENDER_MODE_SDF : FT_RENDER_MODE_NORMAL),
                      0);
            const FT_Bitmap& bitmap = face->glyph->bitmap;
            const auto at = [&](int x, int y) { return bitmap.buffer[y * bitmap.pitch + x]; };
            // The box of the ink; a field is kept whole.
            int left = static_cast<int>(bitmap.width);
            int right = -1;
            int top = static_cast<int>(bitmap.rows);
            int bottom = -1;
            for (int y = 0; y < static_cast<int>(bitmap.rows); ++y) {
                for (int x = 0; x < static_cast<int>(bitmap.width); ++x) {
                    if (at(x, y) != 0 || spread > 0) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                    }
                }
            }
            const int inkWidth = right < 0 ? 0 : right - left + 1;
            const int inkHeight = right < 0 ? 0 : bottom - top + 1;
            ASSERT_EQ(cell.width, inkWidth + borders.left + borders.right) << label;
            ASSERT_EQ(cell.height, inkHeight + borders.top + borders.bottom) << label;
            if (inkHeight > 0) {
                // The first row of the ink (of a field, past its spread) below the line's top.
                ASSERT_EQ(cell.lineTop,
                          static_cast<int>(result->ascent) - face->glyph->bitmap_top + top + spread)
                    << label;
            }
            const AtlasPage& page = result->pages.at(static_cast<std::size_t>(cell.page));
            for (int j = 0; j < cell.height; ++j) {
                for (int k = 0; k < cell.width; ++k) {
                    const int x = k - borders.left + left;
                    const int y = j - borders.top + top;
                    const bool inInk = x >= left && x <= right && y >= top && y <= bottom;
                    ASSERT_EQ(page.at(cell.x + k, cell.y + j), inInk ? at(x, y) : 0)
                        << label << " at " << k << ", " << j;
                }
            }
            cellArea += std::int64_t{cell.width} * cell.height;
            lineArea += std::int64_t{cell.width} *
                        (result->lineHeight + borders.top + borders.bottom + 2 * spread);
        }
        std::cout << "trimmed cells, spread " << spread << ": " << result->glyphs.size()
                  << " glyphs in " << cellArea << " px2 (" << lineArea
                  << " px2 at the line's height)\n";
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}

}  // namespace
}  // namespace vemro
