#include "files/atlas_export.h"

#include <algorithm>

#include "files/atomic_file.h"

namespace vemro {

namespace {

constexpr std::size_t kTgaHeaderBytes = 18;

void appendLine(std::string& out, const std::string& line) {
    out += line;
    out += "\r\n";
}

}  // namespace

std::string exportPath(const std::string& chosenPath, const std::string& extension) {
    const std::size_t slash = chosenPath.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = chosenPath.rfind('.');
    const std::size_t baseEnd =
        dot != std::string::npos && dot >= nameStart ? dot : chosenPath.size();
    return chosenPath.substr(0, baseEnd) + extension;
}

std::vector<std::uint8_t> encodeAtlasImage(const PixelSurface& surface, AtlasSize size) {
    const std::int32_t width = std::max(size.width, 0);
    const std::int32_t height = std::max(size.height, 0);
    std::vector<std::uint8_t> out(kTgaHeaderBytes + std::size_t{4} *
                                                        static_cast<std::size_t>(width) *
                                                        static_cast<std::size_t>(height));
    out[2] = 2;  // uncompressed true-colour
    out[12] = static_cast<std::uint8_t>(size.width);
    out[13] = static_cast<std::uint8_t>(size.width >> 8);
    out[14] = static_cast<std::uint8_t>(size.height);
    out[15] = static_cast<std::uint8_t>(size.height >> 8);
    out[16] = 32;  // bits per pixel
    out[17] = 8;   // eight alpha bits; rows bottom first, pixels left to right

    // Pixels are white with the red level as alpha. Memory words are 0xXXRRGGBB, so the red
    // level is bits 16..23. Positions outside the surface read as 0, as getPixel gives them.
    const std::int32_t readableWidth = std::min(width, surface.width());
    std::uint8_t* pixel = out.data() + kTgaHeaderBytes;
    for (std::int32_t y = height - 1; y >= 0; --y) {
        std::int32_t x = 0;
        if (y < surface.height()) {
            const std::uint32_t* row = surface.row(y);
            for (; x < readableWidth; ++x, pixel += 4) {
                pixel[0] = 0xFF;
                pixel[1] = 0xFF;
                pixel[2] = 0xFF;
                pixel[3] = static_cast<std::uint8_t>(row[x] >> 16);
            }
        }
        for (; x < width; ++x, pixel += 4) {
            pixel[0] = 0xFF;
            pixel[1] = 0xFF;
            pixel[2] = 0xFF;
        }
    }
    return out;
}

std::string encodeGlyphDescription(AtlasSize size, const GlyphList& glyphs) {
    std::string out;
    out.reserve(160 + glyphs.size() * 24);
    appendLine(out, "// TORVYN Ravfont. version=\"1.1\" encoding=\"UTF-8\"");
    appendLine(out, "// \"<texture width>\" \"<texture height>\"");
    appendLine(out, std::to_string(size.width) + " " + std::to_string(size.height));
    appendLine(out, "// \"<char>\" \"<x>\" \"<y>\" \"<width>\" \"<height>\"");
    for (const Glyph& glyph : glyphs) {
        appendLine(out, std::to_string(static_cast<unsigned>(glyph.code)) + " " +
                            std::to_string(glyph.x) + " " + std::to_string(glyph.y) + " " +
                            std::to_string(glyph.width) + " " + std::to_string(glyph.height));
    }
    appendLine(out, "end");
    return out;
}

Status writeAtlasImage(const std::string& chosenPath, const PixelSurface& surface, AtlasSize size) {
    const std::vector<std::uint8_t> bytes = encodeAtlasImage(surface, size);
    return writeFileAtomically(exportPath(chosenPath, ".tga"), bytes.data(), bytes.size());
}

Status writeGlyphDescription(const std::string& chosenPath, AtlasSize size,
                             const GlyphList& glyphs) {
    const std::string text = encodeGlyphDescription(size, glyphs);
    return writeFileAtomically(exportPath(chosenPath, ".tfd"),
                               reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

std::vector<std::string> exportAtlas(const std::string& chosenPath, const Atlas& atlas) {
    std::vector<std::string> failures;
    const Status image = writeAtlasImage(chosenPath, atlas.atlasSurface(), atlas.textureSize());
    if (!image) {
        failures.push_back(image.message());
    }
    const Status description =
        writeGlyphDescription(chosenPath, atlas.textureSize(), atlas.glyphs());
    if (!description) {
        failures.push_back(description.message());
    }
    return failures;
}

}  // namespace vemro
