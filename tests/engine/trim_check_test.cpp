// No cell trimmed to the ink cuts any: every cell holds as much coverage as FreeType's own bitmap
// of its glyph, over every character of DejaVu Sans below U+3000, and at least as much distance
// field as the glyph's whole-line cell. Without borders, which would take in ink past the cell's
// rows.

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"

namespace vemro {
namespace {

TEST(TrimCheck, EveryTrimmedCellHoldsAllOfFreetypesBitmap) {
    const char* const file = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ASSERT_TRUE(FT_Init_FreeType(&library) == 0 && FT_New_Face(library, file, 0, &face) == 0);
    ASSERT_EQ(FT_Set_Pixel_Sizes(face, 0, 32), 0);
    FreetypeFontRenderer renderer;
    // Coverage, and distance fields (below U+0250), whose spread the cell's padding holds.
    for (const FT_Int spread : {0, 4}) {
        Project project = startupProject("DejaVu Sans");
        project.font.fontFile = file;
        project.font.size = 24;  // 32 pixels
        project.textureSize = {4096, 4096};
        project.packing = {PackerKind::Tight, 1, false, false, true};
        project.effects = {.distanceField = spread > 0 ? DistanceField::Sdf : DistanceField::None,
                           .spread = std::max(spread, 2)};
        FT_UInt index = 0;
        for (FT_ULong code = FT_Get_First_Char(face, &index);
             index != 0 && code < (spread > 0 ? 0x250u : 0x3000u);
             code = FT_Get_Next_Char(face, code, &index)) {
            project.glyphs.addCharacter(static_cast<char32_t>(code));
        }
        const std::shared_ptr<const AtlasResult> result = AtlasBuilder(renderer).rebuild(project);
        project.packing.trimToInk = false;
        const std::shared_ptr<const AtlasResult> whole = AtlasBuilder(renderer).rebuild(project);
        ASSERT_EQ(result->glyphsOutsideTexture, 0u);
        ASSERT_GT(result->glyphs.size(), spread > 0 ? 500u : 4000u);
        const auto sumOf = [](const AtlasResult& atlas, const PlacedGlyph& cell) {
            const AtlasPage& page = atlas.pages.at(static_cast<std::size_t>(cell.page));
            std::int64_t sum = 0;
            for (std::int32_t j = 0; j < cell.height; ++j) {
                for (std::int32_t k = 0; k < cell.width; ++k) {
                    sum += page.at(cell.x + k, cell.y + j);
                }
            }
            return sum;
        };
        for (std::size_t i = 0; i < result->glyphs.size(); ++i) {
            const PlacedGlyph& cell = result->glyphs[i];
            std::int64_t drawn = 0;
            if (spread > 0) {
                drawn = sumOf(*whole, whole->glyphs.at(i));
            } else {
                ASSERT_EQ(FT_Load_Char(face, cell.code, FT_LOAD_TARGET_NORMAL), 0);
                ASSERT_EQ(FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL), 0);
                const FT_Bitmap& bitmap = face->glyph->bitmap;
                for (unsigned y = 0; y < bitmap.rows; ++y) {
                    for (unsigned x = 0; x < bitmap.width; ++x) {
                        drawn += bitmap.buffer[static_cast<int>(y) * bitmap.pitch + x];
                    }
                }
            }
            const std::int64_t held = sumOf(*result, cell);
            // A whole-line cell cuts a field reaching past the line (tall accented capitals); a
            // trimmed one holds all of it.
            EXPECT_TRUE(spread > 0 ? held >= drawn : held == drawn)
                << held << " against " << drawn << ", spread " << spread << ", U+" << std::hex
                << static_cast<std::uint32_t>(cell.code);
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}

}  // namespace
}  // namespace vemro
