#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/result.h"
#include "engine/field/shape.h"

namespace vemro {

// A face that draws the characters the face before it lacks: an installed typeface by name, or a
// font file and the face inside it (used when fontFile is not empty).
struct FallbackFace {
    std::string faceName{};
    std::string fontFile{};
    std::int32_t faceIndex = 0;

    friend bool operator==(const FallbackFace&, const FallbackFace&) = default;
};

// What a font is made from: a typeface and style, and an em height in pixels.
struct FontRequest {
    std::string faceName;          // empty or unknown: the system's best match
    std::int32_t pixelHeight = 0;  // em height in pixels (already multiplied by the factor)
    // A number weight, 1..1000 as CSS and OpenType count them (400 normal, 700 bold). A face of
    // fixed weights draws every weight above 550 bold; a face whose weight varies draws it from
    // its weight axis or its nearest named instance.
    std::int32_t weight = 400;
    bool antialiased = true;  // grey levels when true, every pixel 0 or 255 when false
    bool italic = false;
    // A font file to use instead of an installed face (empty: none), and the face inside it.
    // Last, so that requests written as {face, pixels, ...} need not name them.
    std::string fontFile{};
    std::int32_t faceIndex = 0;
    // A font for distance fields: its glyphs are the outlines Font::outline gives, hinted as
    // antialiased coverage is whatever the quality, embedded bitmaps left out.
    bool distanceField = false;
    // Faces tried in order for a character the face lacks, drawn at the same pixel height and
    // style on the face's line.
    std::vector<FallbackFace> fallbacks{};

    friend bool operator==(const FontRequest&, const FontRequest&) = default;
};

// What the pixels of a glyph image hold.
enum class GlyphPixels : std::uint8_t {
    Coverage,  // how much of each pixel the ink covers, 0..255
    Colour,    // red, green, blue and straight alpha, 4 bytes a pixel (a colour glyph)
};

// One character of a font, as drawing produces it.
struct GlyphImage {
    // Signed distance from the drawing position to the left edge of the black box.
    std::int32_t a = 0;
    // Width of the black box in pixels, at least 1 (a character without ink gives 1).
    std::int32_t b = 1;
    // The coverage: its top-left pixel lands at (x + a, y + top) when the character cell's
    // top-left corner is drawn at (x, y). It has ink in its first and last columns and width == b
    // whenever there is any ink; without ink width and height are 0.
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    GlyphPixels holds = GlyphPixels::Coverage;
    std::vector<std::uint8_t> pixels;  // width x height bytes (x 4 for colour), row-major
};

// Where the ink of one character lies, as renderGlyph reports it: the A and B widths, and the
// rows of the ink itself (without a distance field's margin): `top` rows below the cell's top,
// `height` rows high, 0 high without ink.
struct GlyphMetrics {
    std::int32_t a = 0;
    std::int32_t b = 1;
    std::int32_t top = 0;
    std::int32_t height = 0;

    friend bool operator==(const GlyphMetrics&, const GlyphMetrics&) = default;
};

// The metrics of a drawn image: its A and B widths and the rows of its ink.
inline GlyphMetrics metricsOf(const GlyphImage& image) {
    if (image.height <= 0) {
        return GlyphMetrics{image.a, image.b};
    }
    return GlyphMetrics{image.a, image.b, image.top, image.height};
}

// What the face knows of a character besides its ink.
struct GlyphInfo {
    // The glyph's index in the face; 0 when the face has no glyph for the character (it is then
    // drawn as the face's missing-glyph shape).
    std::uint32_t index = 0;
    // The advance width as text shaping uses it, in 1/64 pixel at the font's em height: from the
    // font's design units, unhinted and unrounded, synthesized bold included.
    std::int32_t advance = 0;
    // Whether the glyph is drawn in colour (a bitmap strike or colour layers): renderGlyph then
    // gives GlyphPixels::Colour.
    bool colour = false;

    friend bool operator==(const GlyphInfo&, const GlyphInfo&) = default;
};

// A kerning adjustment between two characters, in 1/64 pixel at the font's em height; added
// to the left character's advance when the right one follows it.
struct KerningPair {
    char32_t left = 0;
    char32_t right = 0;
    std::int32_t amount = 0;

    friend bool operator==(const KerningPair&, const KerningPair&) = default;
};

// One face of a font file, as File > Use Font File lists it.
struct FontFileFace {
    std::int32_t index = 0;  // the face's index inside the file
    std::string familyName;  // e.g. "Noto Sans"
    std::string styleName;   // e.g. "Bold Italic"

    friend bool operator==(const FontFileFace&, const FontFileFace&) = default;
};

// A weight a face whose weight varies can be drawn at: a number weight (1..1000) and the style
// name of the named instance at that weight (empty where the face names none).
struct FaceWeight {
    std::int32_t weight = 400;
    std::string name;

    friend bool operator==(const FaceWeight&, const FaceWeight&) = default;
};

// One face at one size and style, made by FontRenderer::createFont. A font is used by one
// thread at a time; fonts made by the same renderer may be used one after the other in any
// order on that thread.
class Font {
public:
    virtual ~Font() = default;

    // Ascent plus descent in whole pixels: the height of a line of text.
    virtual std::int32_t lineHeight() const = 0;
    // Whole pixels from the top of a line to the baseline; lineHeight() - ascent() is the
    // descent.
    virtual std::int32_t ascent() const = 0;

    // The ink and the A and B widths of one character (a Unicode code point).
    virtual GlyphImage renderGlyph(char32_t code) = 0;

    // The metrics renderGlyph would report for the character (metricsOf its image), found
    // without drawing its ink. Nothing when the font has no cheaper way than drawing; the caller
    // then calls renderGlyph.
    virtual std::optional<GlyphMetrics> measureGlyph(char32_t /*code*/) { return std::nullopt; }

    // The coverage of a character widened by `radius` pixels on every side (its outline stroked
    // with round joins, outside and inside filled), placed as renderGlyph places its ink (a, b
    // and top describe this image). A font that cannot stroke gives the glyph as renderGlyph
    // draws it.
    virtual GlyphImage renderBordered(char32_t code, std::int32_t /*radius*/) {
        return renderGlyph(code);
    }

    // The outline of a character as a shape for distance fields: its contours of lines and
    // quadratic and cubic curves in pixels at the font's height, y up, the pen on the baseline at
    // the origin, synthesized styles applied; empty for a character without ink. Nothing when
    // the glyph has no outline (an embedded bitmap), which then has no field either.
    virtual std::optional<field::Shape> outline(char32_t /*code*/) { return std::nullopt; }

    // The glyph index and advance width of a character.
    virtual GlyphInfo glyphInfo(char32_t code) = 0;

    // The family name of the face the font was made from (the face actually used, which may
    // differ from the one asked for when that is not installed).
    virtual std::string familyName() const = 0;

    // Every character the face maps to a glyph, ascending.
    virtual std::vector<char32_t> characters() = 0;

    // The kerning between every ordered pair of the given characters that the font adjusts;
    // pairs of 0 are left out. The characters come without repeats.
    virtual std::vector<KerningPair> kerningPairs(const std::vector<char32_t>& /*characters*/) {
        return {};
    }
};

// The font file and the face inside it that a font is drawn from.
struct FontSource {
    std::string path;
    std::int32_t faceIndex = 0;

    friend bool operator==(const FontSource&, const FontSource&) = default;
};

// The font services the engine needs: the typefaces a user can pick, and fonts made from them.
// The renderer may be called from several threads at once; each font it made is used by one
// thread at a time.
class FontRenderer {
public:
    virtual ~FontRenderer() = default;

    // Every typeface a user can pick, once each, sorted case-insensitively.
    virtual const std::vector<std::string>& faceNames() = 0;

    // The typeface a new project starts with.
    virtual std::string defaultFaceName() {
        const std::vector<std::string>& faces = faceNames();
        return faces.empty() ? std::string() : faces.front();
    }

    // Makes a font, or says in a sentence a user can read (naming the face) why none could be
    // made. The font stays usable after the renderer has made others, as long as the renderer
    // lives.
    virtual Result<std::unique_ptr<Font>> createFont(const FontRequest& request) = 0;

    // The faces of a font file (.ttf, .otf, .ttc, .woff, .woff2), or why it cannot be used.
    virtual Result<std::vector<FontFileFace>> inspectFontFile(const std::string& path) = 0;

    // The weights the face of a request (its typeface, or its font file) offers when its weight
    // varies (a weight axis, or named instances of more than two weights): the nine weights 100,
    // 200, ... 900 and the weights of its named instances, ascending, each named after the
    // instance at that weight that fits the request's italic. Empty for a face of fixed weights.
    virtual std::vector<FaceWeight> weightsOf(const FontRequest& /*request*/) { return {}; }

    // The file and face createFont would draw the request from, without making the font, so
    // that a build can tell whether the font changed; nothing when no file matches it or the
    // renderer draws from no file.
    virtual std::optional<FontSource> fontSourceFor(const FontRequest& /*request*/) {
        return std::nullopt;
    }

    // The installed typeface the system would draw the characters from (the one that has the
    // most of them, in the system's order of preference); nothing when none has any.
    virtual std::optional<std::string> typefaceCovering(
        const std::vector<char32_t>& /*characters*/) {
        return std::nullopt;
    }
};

}  // namespace vemro
