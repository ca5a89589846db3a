#include "files/export/glyph_description.h"

#include <cstdint>
#include <optional>

#include "engine/text/windows1252.h"
#include "files/io/atomic_file.h"

namespace vemro {

namespace {

void appendLine(std::string& out, const std::string& line) {
    out += line;
    out += "\r\n";
}

std::string characterColumn(char32_t code) {
    if (const std::optional<std::uint8_t> byte = unicodeToWindows1252(code)) {
        return std::to_string(unsigned{*byte});
    }
    return std::to_string(static_cast<std::uint32_t>(code));
}

}  // namespace

std::string encodeGlyphDescription(const AtlasResult& result, std::int32_t page) {
    std::string out;
    out.reserve(160 + result.glyphs.size() * 24);
    appendLine(out, "// TORVYN Ravfont. version=\"1.1\" encoding=\"UTF-8\"");
    appendLine(out, "// \"<texture width>\" \"<texture height>\"");
    appendLine(out, std::to_string(result.textureSize.width) + " " +
                        std::to_string(result.textureSize.height));
    appendLine(out, "// \"<char>\" \"<x>\" \"<y>\" \"<width>\" \"<height>\"");
    for (const PlacedGlyph& glyph : result.glyphs) {
        if (glyph.page != page) {
            continue;
        }
        appendLine(out, characterColumn(glyph.code) + " " + std::to_string(glyph.x) + " " +
                            std::to_string(glyph.y) + " " + std::to_string(glyph.width) + " " +
                            std::to_string(glyph.height));
    }
    appendLine(out, "end");
    return out;
}

Status writeGlyphDescription(const std::string& path, const AtlasResult& result,
                             std::int32_t page) {
    const std::string text = encodeGlyphDescription(result, page);
    return writeFileAtomically(path, reinterpret_cast<const std::uint8_t*>(text.data()),
                               text.size());
}

}  // namespace vemro
