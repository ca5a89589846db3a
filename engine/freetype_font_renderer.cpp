#include "engine/freetype_font_renderer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <compare>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <tuple>

#include "engine/windows1252.h"

namespace vemro {

namespace {

using LibraryHandle = std::unique_ptr<FT_LibraryRec_, decltype(&FT_Done_FreeType)>;
using FaceHandle = std::unique_ptr<FT_FaceRec_, decltype(&FT_Done_Face)>;
using ConfigHandle = std::unique_ptr<FcConfig, decltype(&FcConfigDestroy)>;
using PatternHandle = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;
using ObjectSetHandle = std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)>;
using FontSetHandle = std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)>;

// One face of one font file: the file and the face's index inside it.
struct FaceLocation {
    std::string path;
    int index = 0;

    auto operator<=>(const FaceLocation&) const = default;
};

// A face that belongs to a typeface of the list, with the style fontconfig read from the file.
struct FaceEntry {
    FaceLocation location;
    int weight = FC_WEIGHT_REGULAR;
    int width = FC_WIDTH_NORMAL;
};

// Weights above this ask for a bold face.
constexpr std::int32_t kBoldThreshold = 550;
// Shear of a synthesized italic, x' = x + shear * y (16.16 fixed point, about 0.21).
constexpr FT_Fixed kObliqueShear = 0x0366A;
// A synthesized bold widens the strokes by this fraction of the em.
constexpr FT_Long kEmboldenDivisor = 24;
// Microsoft language ids whose low ten bits are 0x09 are the English ones; 0x0409 is US English.
constexpr FT_UShort kPrimaryLanguageMask = 0x03FF;
constexpr FT_UShort kEnglish = 0x0009;
constexpr FT_UShort kUsEnglish = 0x0409;

std::string foldCase(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

bool lessIgnoringCase(const std::string& left, const std::string& right) {
    const int order = foldCase(left).compare(foldCase(right));
    if (order != 0) {
        return order < 0;
    }
    return left < right;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Microsoft name records hold UTF-16 big-endian text.
std::string utf16BigEndianToUtf8(const FT_Byte* bytes, FT_UInt length) {
    std::string out;
    for (FT_UInt i = 0; i + 1 < length; i += 2) {
        char32_t unit = static_cast<char32_t>((bytes[i] << 8) | bytes[i + 1]);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < length) {
            const char32_t low = static_cast<char32_t>((bytes[i + 2] << 8) | bytes[i + 3]);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (unit >= 0xD800 && unit < 0xE000) {
            unit = 0xFFFD;  // an unpaired surrogate
        }
        appendUtf8(out, unit);
    }
    return out;
}

// The family name a Windows program lists for the face: the English name record with name id 1
// on the Microsoft platform. Empty when the face has none (for example a Type 1 font).
std::string legacyFamilyName(FT_Face face) {
    std::string name;
    bool haveUsEnglish = false;
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count && !haveUsEnglish; ++i) {
        FT_SfntName record;
        if (FT_Get_Sfnt_Name(face, i, &record) != 0 ||
            record.platform_id != TT_PLATFORM_MICROSOFT ||
            record.name_id != TT_NAME_ID_FONT_FAMILY ||
            (record.language_id & kPrimaryLanguageMask) != kEnglish) {
            continue;
        }
        if (record.encoding_id != TT_MS_ID_UNICODE_CS && record.encoding_id != TT_MS_ID_SYMBOL_CS &&
            record.encoding_id != TT_MS_ID_UCS_4) {
            continue;
        }
        std::string decoded = utf16BigEndianToUtf8(record.string, record.string_len);
        if (decoded.empty()) {
            continue;
        }
        if (name.empty() || record.language_id == kUsEnglish) {
            name = std::move(decoded);
            haveUsEnglish = record.language_id == kUsEnglish;
        }
    }
    return name;
}

// Coverage 0..255 of one pixel of a rendered or embedded bitmap row.
std::uint8_t coverageAt(const FT_Bitmap& bitmap, const unsigned char* row, unsigned column) {
    switch (bitmap.pixel_mode) {
        case FT_PIXEL_MODE_MONO:
            return ((row[column >> 3] >> (7 - (column & 7))) & 1) != 0 ? 255 : 0;
        case FT_PIXEL_MODE_GRAY2:
            return static_cast<std::uint8_t>(((row[column >> 2] >> (6 - 2 * (column & 3))) & 3) *
                                             85);
        case FT_PIXEL_MODE_GRAY4:
            return static_cast<std::uint8_t>(((row[column >> 1] >> (4 - 4 * (column & 1))) & 15) *
                                             17);
        case FT_PIXEL_MODE_GRAY: {
            const unsigned value = row[column];
            const unsigned levels = bitmap.num_grays;
            if (levels > 1 && levels < 256) {
                return static_cast<std::uint8_t>(std::min(255u, value * 255 / (levels - 1)));
            }
            return static_cast<std::uint8_t>(value);
        }
        default:
            return 0;  // colour and LCD bitmaps are never asked for
    }
}

// Row y of a bitmap, counted from the top; a negative pitch stores the rows bottom-up.
const unsigned char* bitmapRow(const FT_Bitmap& bitmap, int y) {
    const int stride = std::abs(bitmap.pitch);
    const int rows = static_cast<int>(bitmap.rows);
    return bitmap.buffer +
           static_cast<std::ptrdiff_t>(stride) * (bitmap.pitch >= 0 ? y : rows - 1 - y);
}

// Reads the bitmaps of a glyph slot as coverage rows, 0..255 per pixel; without antialiasing
// every pixel becomes 0 or 255. The common case, FreeType's own 256-level grey output, is read
// in place; every other format is converted one row at a time.
class CoverageRows {
public:
    CoverageRows(const FT_Bitmap& bitmap, bool antialiased)
        : bitmap_(bitmap),
          width_(static_cast<int>(bitmap.width)),
          direct_(antialiased && bitmap.pixel_mode == FT_PIXEL_MODE_GRAY &&
                  (bitmap.num_grays <= 1 || bitmap.num_grays >= 256)),
          antialiased_(antialiased) {
        if (!direct_) {
            converted_.resize(static_cast<std::size_t>(std::max(width_, 0)));
        }
    }

    bool inPlace() const { return direct_; }

    const std::uint8_t* row(int y) {
        const unsigned char* raw = bitmapRow(bitmap_, y);
        if (direct_) {
            return raw;
        }
        for (int x = 0; x < width_; ++x) {
            std::uint8_t value = coverageAt(bitmap_, raw, static_cast<unsigned>(x));
            if (!antialiased_) {
                value = value >= 128 ? 255 : 0;
            }
            converted_[static_cast<std::size_t>(x)] = value;
        }
        return converted_.data();
    }

private:
    const FT_Bitmap& bitmap_;
    int width_;
    bool direct_;
    bool antialiased_;
    std::vector<std::uint8_t> converted_;
};

// The smallest box of bitmap pixels holding every pixel with ink; lastColumn < 0 without ink.
struct InkBox {
    int firstColumn = 0;
    int lastColumn = -1;
    int firstRow = 0;
    int lastRow = -1;

    bool empty() const { return lastColumn < 0; }
};

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

// Copies the ink of a glyph bitmap whose top-left pixel is `left` pixels right of the drawing
// position and `top` pixels below the cell's top, dropping empty border rows and columns.
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
    image.coverage.reserve(static_cast<std::size_t>(image.width) * image.height);
    CoverageRows coverage(bitmap, antialiased);
    for (int y = box.firstRow; y <= box.lastRow; ++y) {
        const std::uint8_t* row = coverage.row(y) + box.firstColumn;
        image.coverage.insert(image.coverage.end(), row, row + image.width);
    }
    return image;
}

GlyphMetrics inkMetrics(const FT_Bitmap& bitmap, FT_Int left, bool antialiased) {
    const InkBox box = findInk(bitmap, antialiased);
    if (box.empty()) {
        return GlyphMetrics{};
    }
    return GlyphMetrics{left + box.firstColumn, box.lastColumn - box.firstColumn + 1};
}

// The pixels of the bitmap FreeType's smooth renderer makes for an outline: its control box
// widened to whole pixels. Nothing for boxes so far out that the renderer's limits come into
// play; those are left to FT_Render_Glyph.
struct PixelBox {
    FT_Pos left = 0;
    FT_Pos right = 0;
    FT_Pos bottom = 0;
    FT_Pos top = 0;

    bool empty() const { return right <= left || top <= bottom; }
    FT_Pos width() const { return right - left; }
    FT_Pos height() const { return top - bottom; }
};

FT_Pos floorPixel(FT_Pos value) {
    return value >= 0 ? value / 64 : -((-value + 63) / 64);
}

FT_Pos ceilPixel(FT_Pos value) {
    return -floorPixel(-value);
}

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

// Draws an antialiased outline the way FT_Render_Glyph does, with the same rasteriser on the
// same bitmap box, but into a buffer the image can keep, so that ink touching every edge of the
// box (the usual case) needs no copy. `ascent` places the image's rows below the cell's top.
// Nothing when the outline is for FT_Render_Glyph to draw.
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
    image.coverage = std::move(pixels);
    return image;
}

// Measuring the ink of an outline without drawing it.
//
// The smooth rasteriser computes every pixel from the cells its row crosses and the cover
// carried in from the left of that row; its results inside a clip box are the ones it writes
// into a whole bitmap (it draws big glyphs in bands that way itself). A pixel of column c can
// only hold ink in a row where some part of the outline lies left of the column's right edge
// (cover or area from the left); and, the signed covers of a closed outline summing to zero
// across a row, only where some part lies right of its left edge. So the first inked column is
// found by asking the rasteriser for one column at a time, clipped to the rows where the
// outline comes near that column; likewise the last. That costs a little of the outline's walk
// and almost no sweep, where drawing sweeps every row of the glyph.

// Rows of the outline lying on one side of a vertical line: parts with x <= limit when
// `leftOf`, else parts with x >= limit (26.6 units). Curves are split until each piece lies
// wholly on one side or is tiny.
class SideRows {
public:
    SideRows(double limit, bool leftOf) : limit_(limit), leftOf_(leftOf) {}

    bool empty() const { return low_ > high_; }
    double low() const { return low_; }
    double high() const { return high_; }

    static int moveTo(const FT_Vector* to, void* user) {
        auto* self = static_cast<SideRows*>(user);
        self->current_ = {static_cast<double>(to->x), static_cast<double>(to->y)};
        return 0;
    }
    static int lineTo(const FT_Vector* to, void* user) {
        auto* self = static_cast<SideRows*>(user);
        const Point piece[2] = {self->current_, point(to)};
        self->add(piece, 2, 0);
        self->current_ = piece[1];
        return 0;
    }
    static int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
        auto* self = static_cast<SideRows*>(user);
        const Point piece[3] = {self->current_, point(control), point(to)};
        self->add(piece, 3, 0);
        self->current_ = piece[2];
        return 0;
    }
    static int cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to,
                       void* user) {
        auto* self = static_cast<SideRows*>(user);
        const Point piece[4] = {self->current_, point(control1), point(control2), point(to)};
        self->add(piece, 4, 0);
        self->current_ = piece[3];
        return 0;
    }

private:
    struct Point {
        double x;
        double y;
    };
    static constexpr int kMaxDepth = 16;

    static Point point(const FT_Vector* v) {
        return {static_cast<double>(v->x), static_cast<double>(v->y)};
    }

    bool onSide(const Point& p) const { return leftOf_ ? p.x <= limit_ : p.x >= limit_; }

    // A piece of n control points (a line, a conic or a cubic): the curve lies in their hull.
    void add(const Point* p, int n, int depth) {
        int inside = 0;
        for (int i = 0; i < n; ++i) {
            inside += onSide(p[i]) ? 1 : 0;
        }
        if (inside == 0) {
            return;
        }
        if (inside == n || depth == kMaxDepth) {
            for (int i = 0; i < n; ++i) {
                low_ = std::min(low_, p[i].y);
                high_ = std::max(high_, p[i].y);
            }
            return;
        }
        // de Casteljau at t = 1/2.
        Point work[4]{};
        std::copy(p, p + n, work);
        Point first[4]{};
        Point second[4]{};
        for (int level = 0; level < n; ++level) {
            first[level] = work[0];
            second[n - 1 - level] = work[n - 1 - level];
            for (int i = 0; i + 1 < n - level; ++i) {
                work[i] = {(work[i].x + work[i + 1].x) / 2, (work[i].y + work[i + 1].y) / 2};
            }
        }
        add(first, n, depth + 1);
        add(second, n, depth + 1);
    }

    double limit_;
    bool leftOf_;
    Point current_{0, 0};
    double low_ = 1e300;
    double high_ = -1e300;
};

// Where the curves of an outline reach furthest left and right (only a good guess for cubics):
// the place to look for ink first.
class Extremes {
public:
    double leftY = 0;
    double rightY = 0;

    bool find(FT_Outline& outline) {
        FT_Outline_Funcs funcs{};
        funcs.move_to = &Extremes::moveTo;
        funcs.line_to = &Extremes::lineTo;
        funcs.conic_to = &Extremes::conicTo;
        funcs.cubic_to = &Extremes::cubicTo;
        return FT_Outline_Decompose(&outline, &funcs, this) == 0;
    }

private:
    void note(double x, double y) {
        if (x < leftX_) {
            leftX_ = x;
            leftY = y;
        }
        if (x > rightX_) {
            rightX_ = x;
            rightY = y;
        }
    }

    static int moveTo(const FT_Vector* to, void* user) {
        auto* self = static_cast<Extremes*>(user);
        self->note(static_cast<double>(to->x), static_cast<double>(to->y));
        self->current_ = *to;
        return 0;
    }
    static int lineTo(const FT_Vector* to, void* user) { return moveTo(to, user); }
    static int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
        auto* self = static_cast<Extremes*>(user);
        // x(t) of a quadratic has its turning point where its derivative vanishes.
        const double x0 = static_cast<double>(self->current_.x);
        const double x1 = static_cast<double>(control->x);
        const double x2 = static_cast<double>(to->x);
        const double curvature = x0 - 2 * x1 + x2;
        if (curvature != 0) {
            const double t = (x0 - x1) / curvature;
            if (t > 0 && t < 1) {
                const double u = 1 - t;
                const double y0 = static_cast<double>(self->current_.y);
                self->note(u * u * x0 + 2 * u * t * x1 + t * t * x2,
                           u * u * y0 + 2 * u * t * static_cast<double>(control->y) +
                               t * t * static_cast<double>(to->y));
            }
        }
        return moveTo(to, user);
    }
    static int cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to,
                       void* user) {
        auto* self = static_cast<Extremes*>(user);
        const FT_Vector p0 = self->current_;
        for (int step = 1; step < 8; ++step) {
            const double t = step / 8.0;
            const double u = 1 - t;
            const double a = u * u * u;
            const double b = 3 * u * u * t;
            const double c = 3 * u * t * t;
            const double d = t * t * t;
            self->note(a * static_cast<double>(p0.x) + b * static_cast<double>(control1->x) +
                           c * static_cast<double>(control2->x) + d * static_cast<double>(to->x),
                       a * static_cast<double>(p0.y) + b * static_cast<double>(control1->y) +
                           c * static_cast<double>(control2->y) + d * static_cast<double>(to->y));
        }
        return moveTo(to, user);
    }

    FT_Vector current_{0, 0};
    double leftX_ = std::numeric_limits<double>::max();
    double rightX_ = std::numeric_limits<double>::lowest();
};

// First and last column holding ink inside a clip box, from the rasteriser's spans.
struct SpanInk {
    int first = std::numeric_limits<int>::max();
    int last = std::numeric_limits<int>::min();

    bool any() const { return last >= first; }

    static void note(int /*y*/, int count, const FT_Span* spans, void* user) {
        auto* self = static_cast<SpanInk*>(user);
        for (int i = 0; i < count; ++i) {
            if (spans[i].coverage != 0 && spans[i].len > 0) {
                self->first = std::min(self->first, static_cast<int>(spans[i].x));
                self->last = std::max(self->last, spans[i].x + spans[i].len - 1);
            }
        }
    }
};

// The distance (26.6) by which the rasteriser's straight pieces of a curve may stray from the
// curve, with room to spare, and the rows added around a band for the same reason.
constexpr double kCurveSlack = 128.0;
constexpr FT_Pos kRowSlack = 2;

class OutlineMeasure {
public:
    OutlineMeasure(FT_Library library, FT_Outline& outline)
        : library_(library), outline_(outline) {}

    // The A and B widths the smooth renderer's bitmap would show, or nothing when the
    // rasteriser refuses (the caller then draws the glyph).
    std::optional<GlyphMetrics> measure() {
        const std::optional<PixelBox> box = greyBitmapBox(outline_);
        if (!box) {
            return std::nullopt;
        }
        if (box->empty()) {
            return GlyphMetrics{};  // no bitmap, so no ink
        }
        const FT_Pos left = box->left;
        const FT_Pos bottom = box->bottom;
        width_ = box->width();
        height_ = box->height();
        // Place the outline where the renderer puts it for drawing, bitmap origin at (0, 0).
        FT_Outline_Translate(&outline_, -left * 64, -bottom * 64);
        std::optional<GlyphMetrics> result;
        if (extremes_.find(outline_)) {
            result = inkColumns();
        }
        FT_Outline_Translate(&outline_, left * 64, bottom * 64);
        if (result) {
            // inkColumns reports a glyph without ink as B = 0.
            result = result->b == 0
                         ? GlyphMetrics{}
                         : GlyphMetrics{result->a + static_cast<std::int32_t>(left), result->b};
        }
        return result;
    }

private:
    // Probing one column at a time stops after this many empty columns; one whole pass then
    // finds both edges.
    static constexpr FT_Pos kMaxProbes = 4;

    // Ink of the clip box columns [first, end) and rows [rowBegin, rowEnd); false on error.
    bool render(FT_Pos first, FT_Pos end, FT_Pos rowBegin, FT_Pos rowEnd, SpanInk& ink) {
        rowBegin = std::max<FT_Pos>(rowBegin, 0);
        rowEnd = std::min<FT_Pos>(rowEnd, height_);
        if (rowEnd <= rowBegin) {
            return true;
        }
        FT_Raster_Params params{};
        params.source = &outline_;
        params.flags = FT_RASTER_FLAG_AA | FT_RASTER_FLAG_DIRECT | FT_RASTER_FLAG_CLIP;
        params.gray_spans = &SpanInk::note;
        params.user = &ink;
        params.clip_box = {first, rowBegin, end, rowEnd};
        return FT_Outline_Render(library_, &outline_, &params) == 0;
    }

    // Whether column holds ink; nothing on error.
    std::optional<bool> columnHasInk(FT_Pos column, bool fromLeft) {
        // Ink found in any clip box is ink, so a few rows around the outermost point are asked
        // first; they nearly always hold some. Only a column without ink there needs the full
        // band of rows.
        const auto pointRow =
            static_cast<FT_Pos>(std::floor((fromLeft ? extremes_.leftY : extremes_.rightY) / 64));
        SpanInk near;
        if (!render(column, column + 1, pointRow - kRowSlack, pointRow + 1 + kRowSlack, near)) {
            return std::nullopt;
        }
        if (near.any()) {
            return true;
        }
        // From the left: the parts left of the column's right edge; from the right: the parts
        // right of its left edge.
        SideRows rows(fromLeft ? static_cast<double>((column + 1) * 64) + kCurveSlack
                               : static_cast<double>(column * 64) - kCurveSlack,
                      fromLeft);
        FT_Outline_Funcs funcs{};
        funcs.move_to = &SideRows::moveTo;
        funcs.line_to = &SideRows::lineTo;
        funcs.conic_to = &SideRows::conicTo;
        funcs.cubic_to = &SideRows::cubicTo;
        if (FT_Outline_Decompose(&outline_, &funcs, &rows) != 0) {
            return std::nullopt;
        }
        if (rows.empty()) {
            return false;
        }
        const auto rowBegin = static_cast<FT_Pos>(std::floor(rows.low() / 64)) - kRowSlack;
        const auto rowEnd = static_cast<FT_Pos>(std::floor(rows.high() / 64)) + 1 + kRowSlack;
        SpanInk ink;
        if (!render(column, column + 1, rowBegin, rowEnd, ink)) {
            return std::nullopt;
        }
        return ink.any();
    }

    // The first inked column of the box and the width of the ink, B = 0 without ink; nothing
    // when the rasteriser refuses.
    std::optional<GlyphMetrics> inkColumns() {
        std::optional<FT_Pos> first;
        for (FT_Pos column = 0; column < std::min(width_, kMaxProbes) && !first; ++column) {
            const std::optional<bool> ink = columnHasInk(column, true);
            if (!ink) {
                return std::nullopt;
            }
            if (*ink) {
                first = column;
            }
        }
        std::optional<FT_Pos> last;
        if (first) {
            for (FT_Pos column = width_ - 1;
                 column >= std::max(*first, width_ - kMaxProbes) && !last; --column) {
                const std::optional<bool> ink = columnHasInk(column, false);
                if (!ink) {
                    return std::nullopt;
                }
                if (*ink) {
                    last = column;
                }
            }
        }
        if (!first || !last) {
            // Wide margins without ink: one pass over the whole box.
            SpanInk ink;
            if (!render(0, width_, 0, height_, ink)) {
                return std::nullopt;
            }
            if (!ink.any()) {
                return GlyphMetrics{0, 0};
            }
            return GlyphMetrics{ink.first, ink.last - ink.first + 1};
        }
        return GlyphMetrics{static_cast<std::int32_t>(*first),
                            static_cast<std::int32_t>(*last - *first + 1)};
    }

    FT_Library library_;
    FT_Outline& outline_;
    Extremes extremes_;
    FT_Pos width_ = 0;
    FT_Pos height_ = 0;
};

}  // namespace

struct FreetypeFontRenderer::Impl {
    ConfigHandle config{nullptr, &FcConfigDestroy};
    LibraryHandle library{nullptr, &FT_Done_FreeType};

    // The typeface list, built once.
    bool catalogued = false;
    std::vector<std::string> names;
    std::map<std::string, std::vector<FaceEntry>> facesByName;
    std::map<std::string, std::vector<FaceEntry>> facesByFoldedName;

    // Every face opened so far (null when the file could not be opened), and fontconfig's
    // answers for names that are not in the list, keyed by name, bold and italic.
    std::map<FaceLocation, FaceHandle> openFaces;
    std::map<std::tuple<std::string, bool, bool>, std::optional<FaceLocation>> matches;

    // The current font. `face` is one of `openFaces`, sized for this font.
    FT_Face face = nullptr;
    bool antialiased = true;
    bool embolden = false;
    bool oblique = false;
    std::int32_t ascent = 0;
    std::int32_t lineHeight = 0;

    bool start();
    void catalogue();
    FT_Face openFace(const FaceLocation& location);
    const std::vector<FaceEntry>* facesNamed(const std::string& name) const;
    std::optional<FaceLocation> chooseFace(const FontRequest& request);
    std::optional<FaceLocation> matchFace(const FontRequest& request);
    void computeLineMetrics(std::int32_t pixelHeight);
    FT_UInt glyphIndex(std::uint8_t code) const;
    // Loads a character of the current font into the face's glyph slot with the synthesized
    // styles applied; false when it cannot be loaded.
    bool loadGlyph(std::uint8_t code);
    // Turns the loaded outline into a bitmap as renderGlyph draws it; false on failure.
    bool drawSlot();
};

bool FreetypeFontRenderer::Impl::start() {
    if (!library) {
        FT_Library created = nullptr;
        if (FT_Init_FreeType(&created) == 0) {
            library.reset(created);
        }
    }
    if (!config) {
        config.reset(FcInitLoadConfigAndFonts());
    }
    return library && config;
}

void FreetypeFontRenderer::Impl::catalogue() {
    if (catalogued) {
        return;
    }
    catalogued = true;
    if (!start()) {
        return;
    }
    PatternHandle scalable(FcPatternCreate(), &FcPatternDestroy);
    ObjectSetHandle properties(FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_FILE, FC_INDEX,
                                                FC_WEIGHT, FC_WIDTH, FC_VARIABLE, nullptr),
                               &FcObjectSetDestroy);
    if (!scalable || !properties) {
        return;
    }
    FcPatternAddBool(scalable.get(), FC_OUTLINE, FcTrue);
    FontSetHandle fonts(FcFontList(config.get(), scalable.get(), properties.get()),
                        &FcFontSetDestroy);
    if (!fonts) {
        return;
    }
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        FcChar8* file = nullptr;
        FcBool variable = FcFalse;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch ||
            (FcPatternGetBool(font, FC_VARIABLE, 0, &variable) == FcResultMatch && variable)) {
            continue;  // a variable font is listed once more per named instance
        }
        FaceEntry entry;
        entry.location.path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(font, FC_INDEX, 0, &entry.location.index);
        FcPatternGetInteger(font, FC_WEIGHT, 0, &entry.weight);
        FcPatternGetInteger(font, FC_WIDTH, 0, &entry.width);

        std::vector<std::string> families;
        std::string englishFamily;
        FcChar8* family = nullptr;
        for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &family) == FcResultMatch; ++n) {
            families.emplace_back(reinterpret_cast<const char*>(family));
            FcChar8* language = nullptr;
            if (englishFamily.empty() &&
                FcPatternGetString(font, FC_FAMILYLANG, n, &language) == FcResultMatch &&
                std::strcmp(reinterpret_cast<const char*>(language), "en") == 0) {
                englishFamily = families.back();
            }
        }
        if (families.empty()) {
            continue;
        }
        // fontconfig lists every family name the file carries. With only one, that one is the
        // legacy name too; otherwise read the name table to find which one Windows would show.
        std::string name;
        if (families.size() > 1) {
            FT_Face opened = nullptr;
            if (FT_New_Face(library.get(), entry.location.path.c_str(), entry.location.index,
                            &opened) == 0) {
                const FaceHandle probe(opened, &FT_Done_Face);
                name = legacyFamilyName(probe.get());
            }
        }
        if (name.empty()) {
            name = englishFamily.empty() ? families.front() : englishFamily;
        }
        facesByName[name].push_back(std::move(entry));
    }

    names.reserve(facesByName.size());
    for (auto& [name, entries] : facesByName) {
        std::sort(entries.begin(), entries.end(),
                  [](const FaceEntry& l, const FaceEntry& r) { return l.location < r.location; });
        names.push_back(name);
        auto& folded = facesByFoldedName[foldCase(name)];
        folded.insert(folded.end(), entries.begin(), entries.end());
    }
    std::sort(names.begin(), names.end(), lessIgnoringCase);
}

FT_Face FreetypeFontRenderer::Impl::openFace(const FaceLocation& location) {
    const auto cached = openFaces.find(location);
    if (cached != openFaces.end()) {
        return cached->second.get();
    }
    FT_Face opened = nullptr;
    if (FT_New_Face(library.get(), location.path.c_str(), location.index, &opened) != 0) {
        opened = nullptr;
    }
    FaceHandle handle(opened, &FT_Done_Face);
    if (opened != nullptr && opened->charmap == nullptr && opened->num_charmaps > 0) {
        // No Unicode map (a symbol font): use the font's own first map.
        FT_Set_Charmap(opened, opened->charmaps[0]);
    }
    openFaces.emplace(location, std::move(handle));
    return opened;
}

const std::vector<FaceEntry>* FreetypeFontRenderer::Impl::facesNamed(
    const std::string& name) const {
    if (const auto exact = facesByName.find(name); exact != facesByName.end()) {
        return &exact->second;
    }
    if (const auto folded = facesByFoldedName.find(foldCase(name));
        folded != facesByFoldedName.end()) {
        return &folded->second;
    }
    return nullptr;
}

std::optional<FaceLocation> FreetypeFontRenderer::Impl::chooseFace(const FontRequest& request) {
    const std::vector<FaceEntry>* entries = facesNamed(request.faceName);
    if (entries == nullptr) {
        return matchFace(request);
    }
    const bool wantBold = request.weight > kBoldThreshold;
    const int targetWeight = wantBold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
    // The face's own style decides: slant first, then bold, then the nearest weight and the
    // most normal width among faces of equal style; a font with OpenType tables (and so Windows
    // line metrics) wins over a Type 1 copy of the same face; among equals the first in the
    // list. Slant, bold and format are only known once a file is open, and opening a Type 1
    // file costs about a millisecond, so the faces are visited best possible score first and a
    // face that cannot beat the best found so far is never opened. The choice is the same as
    // opening every one.
    using Score = std::tuple<bool, bool, int, int, bool>;
    struct Candidate {
        const FaceEntry* entry;
        std::size_t position;
        Score bound;  // the score if its style and format turn out to match
    };
    std::vector<Candidate> candidates;
    candidates.reserve(entries->size());
    for (std::size_t i = 0; i < entries->size(); ++i) {
        const FaceEntry& entry = (*entries)[i];
        candidates.push_back({&entry, i,
                              Score{false, false, std::abs(entry.weight - targetWeight),
                                    std::abs(entry.width - FC_WIDTH_NORMAL), false}});
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& l, const Candidate& r) {
        return std::tie(l.bound, l.position) < std::tie(r.bound, r.position);
    });
    const FaceEntry* best = nullptr;
    std::size_t bestPosition = 0;
    Score bestScore;
    for (const Candidate& candidate : candidates) {
        if (best != nullptr &&
            std::tie(candidate.bound, candidate.position) > std::tie(bestScore, bestPosition)) {
            continue;
        }
        const FT_Face face = openFace(candidate.entry->location);
        if (face == nullptr || !FT_IS_SCALABLE(face)) {
            continue;
        }
        const bool italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
        const bool bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
        const Score score{italic != request.italic, bold != wantBold, std::get<2>(candidate.bound),
                          std::get<3>(candidate.bound), !FT_IS_SFNT(face)};
        if (best == nullptr ||
            std::tie(score, candidate.position) < std::tie(bestScore, bestPosition)) {
            best = candidate.entry;
            bestPosition = candidate.position;
            bestScore = score;
        }
    }
    if (best == nullptr) {
        return matchFace(request);
    }
    return best->location;
}

std::optional<FaceLocation> FreetypeFontRenderer::Impl::matchFace(const FontRequest& request) {
    const bool wantBold = request.weight > kBoldThreshold;
    const auto key = std::make_tuple(request.faceName, wantBold, request.italic);
    if (const auto cached = matches.find(key); cached != matches.end()) {
        return cached->second;
    }
    std::optional<FaceLocation> found;
    PatternHandle pattern(FcPatternCreate(), &FcPatternDestroy);
    if (pattern) {
        if (!request.faceName.empty()) {
            FcPatternAddString(pattern.get(), FC_FAMILY,
                               reinterpret_cast<const FcChar8*>(request.faceName.c_str()));
        }
        FcPatternAddInteger(pattern.get(), FC_WEIGHT,
                            wantBold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern.get(), FC_SLANT,
                            request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
        FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
        FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
        FcDefaultSubstitute(pattern.get());
        FcResult result = FcResultNoMatch;
        const PatternHandle match(FcFontMatch(config.get(), pattern.get(), &result),
                                  &FcPatternDestroy);
        FcChar8* file = nullptr;
        if (match && FcPatternGetString(match.get(), FC_FILE, 0, &file) == FcResultMatch) {
            FaceLocation location;
            location.path = reinterpret_cast<const char*>(file);
            FcPatternGetInteger(match.get(), FC_INDEX, 0, &location.index);
            found = std::move(location);
        }
    }
    matches.emplace(key, found);
    return found;
}

// Ascent and descent the way Windows scales them: the OS/2 Windows metrics (or the hhea ones
// when those are zero or missing), each scaled with one rounding, not the size's rounded values.
void FreetypeFontRenderer::Impl::computeLineMetrics(std::int32_t pixelHeight) {
    FT_Long ascender = face->ascender;
    FT_Long descender = -face->descender;
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    if (hhea != nullptr) {
        ascender = hhea->Ascender;
        descender = -hhea->Descender;
    }
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent != 0) {
        ascender = os2->usWinAscent;
        // Some fonts store the descent negated; its size is what counts.
        descender = std::abs(static_cast<FT_Long>(static_cast<FT_Short>(os2->usWinDescent)));
    }
    const FT_Long emScale = FT_MulDiv(pixelHeight, 1 << 16, face->units_per_EM);
    ascent = static_cast<std::int32_t>(FT_MulFix(ascender, emScale));
    lineHeight = ascent + static_cast<std::int32_t>(FT_MulFix(descender, emScale));
}

FT_UInt FreetypeFontRenderer::Impl::glyphIndex(std::uint8_t code) const {
    if (face->charmap != nullptr && face->charmap->encoding == FT_ENCODING_MS_SYMBOL) {
        // Symbol fonts put their characters at 0xF000 plus the byte.
        const FT_UInt index = FT_Get_Char_Index(face, 0xF000u + code);
        return index != 0 ? index : FT_Get_Char_Index(face, code);
    }
    if (face->charmap != nullptr && face->charmap->encoding != FT_ENCODING_UNICODE) {
        return FT_Get_Char_Index(face, code);
    }
    return FT_Get_Char_Index(face, windows1252ToUnicode(code));
}

FreetypeFontRenderer::FreetypeFontRenderer() : impl_(std::make_unique<Impl>()) {}

FreetypeFontRenderer::~FreetypeFontRenderer() = default;

const std::vector<std::string>& FreetypeFontRenderer::faceNames() {
    impl_->catalogue();
    return impl_->names;
}

bool FreetypeFontRenderer::createFont(const FontRequest& request) {
    Impl& d = *impl_;
    d.face = nullptr;
    d.ascent = 0;
    d.lineHeight = 0;
    if (request.pixelHeight <= 0) {
        return false;
    }
    d.catalogue();
    if (!d.library) {
        return false;
    }
    const std::optional<FaceLocation> location = d.chooseFace(request);
    if (!location) {
        return false;
    }
    const FT_Face face = d.openFace(*location);
    if (face == nullptr || !FT_IS_SCALABLE(face) || face->units_per_EM == 0 ||
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(request.pixelHeight)) != 0) {
        return false;
    }
    d.face = face;
    d.antialiased = request.antialiased;
    d.embolden = request.weight > kBoldThreshold && (face->style_flags & FT_STYLE_FLAG_BOLD) == 0;
    d.oblique = request.italic && (face->style_flags & FT_STYLE_FLAG_ITALIC) == 0;
    d.computeLineMetrics(request.pixelHeight);
    return true;
}

bool FreetypeFontRenderer::hasFont() const {
    return impl_->face != nullptr;
}

std::int32_t FreetypeFontRenderer::lineHeight() const {
    return impl_->lineHeight;
}

bool FreetypeFontRenderer::Impl::loadGlyph(std::uint8_t code) {
    FT_Int32 flags = antialiased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
    if (embolden || oblique) {
        flags |= FT_LOAD_NO_BITMAP;  // synthesis works on outlines
    }
    const FT_UInt index = glyphIndex(code);
    if (FT_Load_Glyph(face, index, flags) != 0 &&
        (index == 0 || FT_Load_Glyph(face, 0, flags) != 0)) {
        return false;
    }
    const FT_GlyphSlot slot = face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (embolden) {
            const FT_Pos strength =
                FT_MulFix(face->units_per_EM, face->size->metrics.y_scale) / kEmboldenDivisor;
            FT_Outline_EmboldenXY(&slot->outline, strength, strength);
        }
        if (oblique) {
            const FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
            FT_Outline_Transform(&slot->outline, &shear);
        }
    }
    return true;
}

bool FreetypeFontRenderer::Impl::drawSlot() {
    const FT_GlyphSlot slot = face->glyph;
    return slot->format == FT_GLYPH_FORMAT_BITMAP ||
           FT_Render_Glyph(slot, antialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) == 0;
}

GlyphImage FreetypeFontRenderer::renderGlyph(std::uint8_t code) {
    Impl& d = *impl_;
    if (d.face == nullptr || !d.loadGlyph(code)) {
        return GlyphImage{};
    }
    const FT_GlyphSlot slot = d.face->glyph;
    // Outlines with overlap are drawn oversampled by FT_Render_Glyph; leave those to it.
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE && d.antialiased &&
        (slot->outline.flags & FT_OUTLINE_OVERLAP) == 0) {
        if (std::optional<GlyphImage> image =
                drawGreyOutline(d.library.get(), slot->outline, d.ascent)) {
            return std::move(*image);
        }
    }
    if (!d.drawSlot()) {
        return GlyphImage{};
    }
    return trimmedImage(slot->bitmap, slot->bitmap_left, d.ascent - slot->bitmap_top,
                        d.antialiased);
}

std::optional<GlyphMetrics> FreetypeFontRenderer::measureGlyph(std::uint8_t code) {
    Impl& d = *impl_;
    if (d.face == nullptr || !d.loadGlyph(code)) {
        return GlyphMetrics{};  // what the empty image of renderGlyph reports
    }
    const FT_GlyphSlot slot = d.face->glyph;
    // Grey outlines are measured without drawing. Outlines with overlap are drawn oversampled
    // by FreeType, and the monochrome rasteriser's drop-out control depends on the whole
    // bitmap, so those (and embedded bitmaps) are measured on the drawn bitmap, without
    // copying any of it.
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE && d.antialiased &&
        (slot->outline.flags & FT_OUTLINE_OVERLAP) == 0) {
        OutlineMeasure measure(d.library.get(), slot->outline);
        if (const std::optional<GlyphMetrics> metrics = measure.measure()) {
            return metrics;
        }
    }
    if (!d.drawSlot()) {
        return GlyphMetrics{};
    }
    return inkMetrics(slot->bitmap, slot->bitmap_left, d.antialiased);
}

}  // namespace vemro
