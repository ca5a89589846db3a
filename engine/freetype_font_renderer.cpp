#include "engine/freetype_font_renderer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <compare>
#include <cstdlib>
#include <cstring>
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

// Copies the ink of a glyph bitmap whose top-left pixel is `left` pixels right of the drawing
// position and `top` pixels below the cell's top, dropping empty border rows and columns.
GlyphImage trimmedImage(const FT_Bitmap& bitmap, FT_Int left, FT_Int top, bool antialiased) {
    GlyphImage image;
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    if (width <= 0 || rows <= 0 || bitmap.buffer == nullptr) {
        return image;
    }
    const int pitch = bitmap.pitch;
    const int stride = std::abs(pitch);
    std::vector<std::uint8_t> full(static_cast<std::size_t>(width) * rows);
    int firstColumn = width;
    int lastColumn = -1;
    int firstRow = rows;
    int lastRow = -1;
    for (int y = 0; y < rows; ++y) {
        // A negative pitch stores the rows bottom-up.
        const unsigned char* row =
            bitmap.buffer + static_cast<std::ptrdiff_t>(stride) * (pitch >= 0 ? y : rows - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::uint8_t value = coverageAt(bitmap, row, static_cast<unsigned>(x));
            if (!antialiased) {
                value = value >= 128 ? 255 : 0;
            }
            full[static_cast<std::size_t>(y) * width + x] = value;
            if (value != 0) {
                firstColumn = std::min(firstColumn, x);
                lastColumn = std::max(lastColumn, x);
                firstRow = std::min(firstRow, y);
                lastRow = std::max(lastRow, y);
            }
        }
    }
    if (lastColumn < 0) {
        return image;
    }
    image.a = left + firstColumn;
    image.b = lastColumn - firstColumn + 1;
    image.top = top + firstRow;
    image.width = image.b;
    image.height = lastRow - firstRow + 1;
    image.coverage.reserve(static_cast<std::size_t>(image.width) * image.height);
    for (int y = firstRow; y <= lastRow; ++y) {
        const auto rowStart = full.begin() + static_cast<std::ptrdiff_t>(y) * width;
        image.coverage.insert(image.coverage.end(), rowStart + firstColumn,
                              rowStart + lastColumn + 1);
    }
    return image;
}

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
    const FaceEntry* best = nullptr;
    std::tuple<bool, bool, int, int, bool> bestScore;
    for (const FaceEntry& entry : *entries) {
        const FT_Face candidate = openFace(entry.location);
        if (candidate == nullptr || !FT_IS_SCALABLE(candidate)) {
            continue;
        }
        // The face's own style decides: slant first, then bold, then the nearest weight and
        // the most normal width among faces of equal style; a font with OpenType tables
        // (and so Windows line metrics) wins over a Type 1 copy of the same face.
        const bool italic = (candidate->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
        const bool bold = (candidate->style_flags & FT_STYLE_FLAG_BOLD) != 0;
        const std::tuple<bool, bool, int, int, bool> score{
            italic != request.italic, bold != wantBold, std::abs(entry.weight - targetWeight),
            std::abs(entry.width - FC_WIDTH_NORMAL), !FT_IS_SFNT(candidate)};
        if (best == nullptr || score < bestScore) {
            best = &entry;
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

GlyphImage FreetypeFontRenderer::renderGlyph(std::uint8_t code) {
    const Impl& d = *impl_;
    if (d.face == nullptr) {
        return GlyphImage{};
    }
    FT_Int32 flags = d.antialiased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
    if (d.embolden || d.oblique) {
        flags |= FT_LOAD_NO_BITMAP;  // synthesis works on outlines
    }
    const FT_UInt index = d.glyphIndex(code);
    if (FT_Load_Glyph(d.face, index, flags) != 0 &&
        (index == 0 || FT_Load_Glyph(d.face, 0, flags) != 0)) {
        return GlyphImage{};
    }
    const FT_GlyphSlot slot = d.face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (d.embolden) {
            const FT_Pos strength =
                FT_MulFix(d.face->units_per_EM, d.face->size->metrics.y_scale) / kEmboldenDivisor;
            FT_Outline_EmboldenXY(&slot->outline, strength, strength);
        }
        if (d.oblique) {
            const FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
            FT_Outline_Transform(&slot->outline, &shear);
        }
    }
    if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(slot, d.antialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) {
        return GlyphImage{};
    }
    return trimmedImage(slot->bitmap, slot->bitmap_left, d.ascent - slot->bitmap_top,
                        d.antialiased);
}

}  // namespace vemro
