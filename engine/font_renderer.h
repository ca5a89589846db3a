#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vemro {

// What the renderer is asked to create: an em height in pixels and the style.
struct FontRequest {
    std::string faceName;      // empty or unknown: the system's best match
    std::int32_t pixelHeight;  // em height in pixels (already multiplied by the factor)
    std::int32_t weight;       // 400, 600 or 700
    bool antialiased;          // grey levels when true, every pixel 0 or 255 when false
    bool italic;
};

// One character of the current font, as drawing produces it.
struct GlyphImage {
    // Signed distance from the drawing position to the left edge of the black box.
    std::int32_t a = 0;
    // Width of the black box in pixels, at least 1 (a character without ink gives 1).
    std::int32_t b = 1;
    // The ink: a coverage bitmap whose top-left pixel lands at (x + a, y + top) when the
    // character cell's top-left corner is drawn at (x, y). Its first and last columns hold ink
    // and width == b whenever there is any ink; without ink width and height are 0.
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> coverage;  // width x height bytes, row-major, 0..255
};

// The A and B widths of one character, as renderGlyph reports them.
struct GlyphMetrics {
    std::int32_t a = 0;
    std::int32_t b = 1;

    friend bool operator==(const GlyphMetrics&, const GlyphMetrics&) = default;
};

// The font services the engine needs: typeface list, font creation, line height, per-character
// widths and the drawn ink. Codes are bytes of Windows-1252.
class FontRenderer {
public:
    virtual ~FontRenderer() = default;

    // Every typeface a user can pick, once each, sorted case-insensitively.
    virtual const std::vector<std::string>& faceNames() = 0;

    // Replaces the current font. Returns false when no font could be made; the renderer then
    // has no font, lineHeight() is 0 and every glyph is an empty image.
    virtual bool createFont(const FontRequest& request) = 0;

    virtual bool hasFont() const = 0;

    // Ascent plus descent of the current font in whole pixels: the height of a line of text.
    virtual std::int32_t lineHeight() const = 0;

    // The ink and the A and B widths of one character of the current font.
    virtual GlyphImage renderGlyph(std::uint8_t code) = 0;

    // The A and B widths renderGlyph would report for the character, found without drawing its
    // ink, for characters the atlas places outside the texture. Nothing when the renderer has
    // no cheaper way than drawing; the caller then calls renderGlyph.
    virtual std::optional<GlyphMetrics> measureGlyph(std::uint8_t /*code*/) { return std::nullopt; }
};

}  // namespace vemro
