#pragma once

// Internal to the FreeType renderer: includes FreeType.

#include "engine/font/font_renderer.h"
#include "engine/font/freetype/freetype_handles.h"

namespace vemro {

// The smallest box of bitmap pixels holding every pixel with ink; lastColumn < 0 without ink.
struct InkBox {
    int firstColumn = 0;
    int lastColumn = -1;
    int firstRow = 0;
    int lastRow = -1;

    bool empty() const { return lastColumn < 0; }
};

// Where the ink of a glyph bitmap lies, read as CoverageRows reads it.
InkBox findInk(const FT_Bitmap& bitmap, bool antialiased);

// Copies the ink of a glyph bitmap whose top-left pixel is `left` pixels right of the drawing
// position and `top` pixels below the cell's top, dropping empty border rows and columns.
GlyphImage trimmedImage(const FT_Bitmap& bitmap, FT_Int left, FT_Int top, bool antialiased);

// The metrics trimmedImage would report for the bitmap, without copying anything.
GlyphMetrics inkMetrics(const FT_Bitmap& bitmap, FT_Int left, FT_Int top, bool antialiased);

}  // namespace vemro
