#include "engine/font/freetype/glyph_ink.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "engine/font/freetype/coverage_rows.h"

namespace vemro {

namespace {

// Index of the first non-zero byte of a row, width when there is none; eight bytes at a time.
int firstInk(const std::uint8_t* row, int width) {
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        std::uint64_t word;
        std::memcpy(&word, row + x, sizeof word);
        if (word != 0) {
            break;
        }
    }
    while (x < width && row[x] == 0) {
        ++x;
    }
    return x;
}

// Index of the last non-zero byte of a row that has one.
int lastInk(const std::uint8_t* row, int width) {
    int end = width;
    for (; end >= 8; end -= 8) {
        std::uint64_t word;
        std::memcpy(&word, row + end - 8, sizeof word);
        if (word != 0) {
            break;
        }
    }
    int x = end - 1;
    while (row[x] == 0) {
        --x;
    }
    return x;
}

// FreeType sizes a bitmap to the control box of the outline, so the ink nearly always touches
// all four edges; looking at the edges first spares searching every row. For grey bitmaps of
// 256 levels, read in place.
bool inkOnEveryEdge(const FT_Bitmap& bitmap) {
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    if (firstInk(bitmapRow(bitmap, 0), width) == width ||
        firstInk(bitmapRow(bitmap, rows - 1), width) == width) {
        return false;
    }
    bool left = false;
    bool right = false;
    for (int y = 0; y < rows && !(left && right); ++y) {
        const unsigned char* row = bitmapRow(bitmap, y);
        left = left || row[0] != 0;
        right = right || row[width - 1] != 0;
    }
    return left && right;
}

}  // namespace

InkBox findInk(const FT_Bitmap& bitmap, bool antialiased) {
    InkBox box;
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    if (width <= 0 || rows <= 0 || bitmap.buffer == nullptr) {
        return box;
    }
    CoverageRows coverage(bitmap, antialiased);
    if (coverage.inPlace() && inkOnEveryEdge(bitmap)) {
        return InkBox{0, width - 1, 0, rows - 1};
    }
    box.firstColumn = width;
    box.firstRow = rows;
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* row = coverage.row(y);
        const int first = firstInk(row, width);
        if (first == width) {
            continue;
        }
        box.firstColumn = std::min(box.firstColumn, first);
        box.lastColumn = std::max(box.lastColumn, lastInk(row, width));
        box.firstRow = std::min(box.firstRow, y);
        box.lastRow = y;
    }
    return box;
}

GlyphImage trimmedImage(const FT_Bitmap& bitmap, FT_Int left, FT_Int top, bool antialiased) {
    GlyphImage image;
    const InkBox box = findInk(bitmap, antialiased);
    if (box.empty()) {
        return image;
    }
    image.a = left + box.firstColumn;
    image.b = box.lastColumn - box.firstColumn + 1;
    image.top = top + box.firstRow;
    image.width = image.b;
    image.height = box.lastRow - box.firstRow + 1;
    image.pixels.reserve(static_cast<std::size_t>(image.width) * image.height);
    CoverageRows coverage(bitmap, antialiased);
    for (int y = box.firstRow; y <= box.lastRow; ++y) {
        const std::uint8_t* row = coverage.row(y) + box.firstColumn;
        image.pixels.insert(image.pixels.end(), row, row + image.width);
    }
    return image;
}

GlyphMetrics inkMetrics(const FT_Bitmap& bitmap, FT_Int left, FT_Int top, bool antialiased) {
    const InkBox box = findInk(bitmap, antialiased);
    if (box.empty()) {
        return GlyphMetrics{};
    }
    return GlyphMetrics{left + box.firstColumn, box.lastColumn - box.firstColumn + 1,
                        top + box.firstRow, box.lastRow - box.firstRow + 1};
}

}  // namespace vemro
