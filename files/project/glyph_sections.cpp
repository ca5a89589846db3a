#include "files/project/glyph_sections.h"

#include <algorithm>

#include "engine/text/unicode_text.h"
#include "engine/text/windows1252.h"
#include "files/io/character_name.h"
#include "files/project/project_file.h"
#include "files/project/section_fields.h"

namespace vemro {

namespace {

constexpr char kCharactersTag[] = "CHRS";
constexpr char kFontTag[] = "FONT";
constexpr std::size_t kCountBytes = 4;       // the character count; the path length
constexpr std::size_t kCharacterBytes = 12;  // code point, left and right border
constexpr std::size_t kFaceIndexBytes = 4;

std::string lengthText(const char* tag, std::size_t length) {
    return std::string("the section \"") + tag + "\" is " + std::to_string(length) + " bytes long";
}

std::string countProblem(std::uint64_t count) {
    return "the character count " + std::to_string(count) + " is above the limit of " +
           std::to_string(kMaxProjectCharacters);
}

std::string pathLengthProblem(std::uint64_t length) {
    return "the font file path length " + std::to_string(length) +
           " is outside the allowed range " + rangeText(1, kMaxProjectFontPathLength);
}

bool isScalarValue(char32_t code) {
    return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

std::optional<std::string> borderProblem(std::size_t index, char32_t code, const char* side,
                                         std::int32_t border) {
    if (border >= kMinProjectCharBorder && border <= kMaxProjectCharBorder) {
        return std::nullopt;
    }
    return "character " + std::to_string(index + 1) + " of the character list (" +
           codePointName(code) + ") has a " + side + " character border of " +
           std::to_string(border) + ", outside the limit of " +
           rangeText(kMinProjectCharBorder, kMaxProjectCharBorder);
}

bool allHaveWindows1252Bytes(const Document& document) {
    const GlyphList& glyphs = document.project.glyphs;
    return std::all_of(glyphs.begin(), glyphs.end(), [](const Glyph& glyph) {
        return unicodeToWindows1252(glyph.code).has_value();
    });
}

void writeCharacters(ByteWriter& out, const Document& document) {
    const GlyphList& glyphs = document.project.glyphs;
    out.u32(static_cast<std::uint32_t>(glyphs.size()));
    for (const Glyph& glyph : glyphs) {
        out.u32(glyph.code);
        out.i32(glyph.charBorderLeft);
        out.i32(glyph.charBorderRight);
    }
}

// Only the count is checked here; the values are checked with the rest of the extension.
std::optional<std::string> readCharacters(ByteReader& payload, Document& document) {
    const std::size_t length = payload.remaining();
    if (!payload.has(kCountBytes)) {
        return lengthText(kCharactersTag, length) + ", too short for its " +
               std::to_string(kCountBytes) + "-byte character count";
    }
    const std::uint32_t count = payload.u32();
    if (count > static_cast<std::uint32_t>(kMaxProjectCharacters)) {
        return countProblem(count);
    }
    const std::size_t needed = kCountBytes + kCharacterBytes * count;
    if (length != needed) {
        return lengthText(kCharactersTag, length) + ", but " + std::to_string(count) +
               " characters take " + std::to_string(needed);
    }
    GlyphList& glyphs = document.project.glyphs;
    for (std::uint32_t i = 0; i < count; ++i) {
        Glyph glyph;
        glyph.code = payload.u32();
        glyph.charBorderLeft = payload.i32();
        glyph.charBorderRight = payload.i32();
        glyphs.append(glyph);
    }
    return std::nullopt;
}

std::optional<std::string> charactersProblem(const Document& document) {
    const GlyphList& glyphs = document.project.glyphs;
    if (glyphs.size() > static_cast<std::size_t>(kMaxProjectCharacters)) {
        return countProblem(glyphs.size());
    }
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const Glyph& glyph = glyphs[i];
        if (!isScalarValue(glyph.code)) {
            return "character " + std::to_string(i + 1) + " of the character list is " +
                   codePointName(glyph.code) +
                   ", not a Unicode character (allowed: U+0000..U+10FFFF without the surrogates "
                   "U+D800..U+DFFF)";
        }
        if (auto problem = borderProblem(i, glyph.code, "left", glyph.charBorderLeft)) {
            return problem;
        }
        if (auto problem = borderProblem(i, glyph.code, "right", glyph.charBorderRight)) {
            return problem;
        }
    }
    return std::nullopt;
}

void writeFont(ByteWriter& out, const Document& document) {
    const FontSettings& font = document.project.font;
    out.u32(static_cast<std::uint32_t>(font.fontFile.size()));
    out.text(font.fontFile);
    out.i32(font.fontFaceIndex);
}

std::optional<std::string> readFont(ByteReader& payload, Document& document) {
    const std::size_t length = payload.remaining();
    if (!payload.has(kCountBytes + kFaceIndexBytes)) {
        return lengthText(kFontTag, length) + ", too short for its path length and face index";
    }
    const std::uint32_t pathLength = payload.u32();
    if (pathLength < 1 || pathLength > static_cast<std::uint32_t>(kMaxProjectFontPathLength)) {
        return pathLengthProblem(pathLength);
    }
    const std::size_t needed = kCountBytes + std::size_t{pathLength} + kFaceIndexBytes;
    if (length != needed) {
        return lengthText(kFontTag, length) + ", but a path of " + std::to_string(pathLength) +
               " bytes takes " + std::to_string(needed);
    }
    FontSettings& font = document.project.font;
    font.fontFile = payload.text(pathLength);
    font.fontFaceIndex = payload.i32();
    return std::nullopt;
}

std::optional<std::string> fontProblem(const Document& document) {
    const FontSettings& font = document.project.font;
    const std::string& path = font.fontFile;
    if (path.empty()) {
        if (font.fontFaceIndex != 0) {
            return "a font face index of " + std::to_string(font.fontFaceIndex) +
                   " is given without a font file";
        }
        return std::nullopt;
    }
    if (path.size() > static_cast<std::size_t>(kMaxProjectFontPathLength)) {
        return pathLengthProblem(path.size());
    }
    if (const std::size_t zero = path.find('\0'); zero != std::string::npos) {
        return "the font file path holds a zero byte at byte " + std::to_string(zero) +
               " of the path";
    }
    if (const Result<std::vector<char32_t>> decoded = decodeUtf8(path); !decoded) {
        return "the font file path is not UTF-8: " + decoded.message();
    }
    if (font.fontFaceIndex < 0 || font.fontFaceIndex > kMaxProjectFontFaceIndex) {
        return "the font face index " + std::to_string(font.fontFaceIndex) +
               " is outside the allowed range " + rangeText(0, kMaxProjectFontFaceIndex);
    }
    return std::nullopt;
}

}  // namespace

const ProjectSection kCharactersSection{
    kCharactersTag,
    kCountBytes + kCharacterBytes* kMaxProjectCharacters,
    false,
    "the character list",
    allHaveWindows1252Bytes,
    writeCharacters,
    readCharacters,
    charactersProblem,
};

const ProjectSection kFontSection{
    kFontTag,
    kCountBytes + kMaxProjectFontPathLength + kFaceIndexBytes,
    false,
    nullptr,
    [](const Document& document) { return document.project.font.fontFile.empty(); },
    writeFont,
    readFont,
    fontProblem,
};

}  // namespace vemro
