#pragma once

// A reader of BMFont descriptors for the tests, written from the format's documentation rather
// than from the program's writers: the text layout (a tag and key=value pairs per line, string
// values in quotes), the XML layout, the binary layout of version 3 (blocks of a type byte and an
// int32 size; bit fields counted from the most significant bit) and the JSON layout of the
// JavaScript renderers. Whatever breaks the layout is reported in `error`.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vemro::test {

struct ReadChar {
    std::int64_t x = 0, y = 0, width = 0, height = 0;
    std::int64_t xoffset = 0, yoffset = 0, xadvance = 0, page = 0, chnl = 0;

    friend bool operator==(const ReadChar&, const ReadChar&) = default;
};

struct ReadFont {
    std::string error;  // empty when the descriptor was read whole

    std::string face, charset;
    std::int64_t size = 0, bold = 0, italic = 0, unicode = 0, stretchH = 0, smooth = 0, aa = 0;
    std::int64_t outline = 0;
    std::array<std::int64_t, 4> padding{};
    std::array<std::int64_t, 2> spacing{};
    std::int64_t lineHeight = 0, base = 0, scaleW = 0, scaleH = 0, pages = 0, packed = 0;
    std::int64_t alphaChnl = 0, redChnl = 0, greenChnl = 0, blueChnl = 0;
    std::vector<std::string> pageFiles;
    std::vector<std::uint32_t> order;  // character ids in file order
    std::map<std::uint32_t, ReadChar> chars;
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::int64_t> kernings;

    // Everything but the error, for comparing the formats with each other.
    friend bool operator==(const ReadFont& a, const ReadFont& b) {
        return std::tie(a.face, a.charset, a.size, a.bold, a.italic, a.unicode, a.stretchH,
                        a.smooth, a.aa, a.outline, a.padding, a.spacing, a.lineHeight, a.base,
                        a.scaleW, a.scaleH, a.pages, a.packed, a.alphaChnl, a.redChnl, a.greenChnl,
                        a.blueChnl, a.pageFiles, a.order, a.chars, a.kernings) ==
               std::tie(b.face, b.charset, b.size, b.bold, b.italic, b.unicode, b.stretchH,
                        b.smooth, b.aa, b.outline, b.padding, b.spacing, b.lineHeight, b.base,
                        b.scaleW, b.scaleH, b.pages, b.packed, b.alphaChnl, b.redChnl, b.greenChnl,
                        b.blueChnl, b.pageFiles, b.order, b.chars, b.kernings);
    }
};

ReadFont readBmfontText(const std::string& text);
ReadFont readBmfontXml(const std::string& text);
ReadFont readBmfontBinary(const std::vector<std::uint8_t>& bytes);
ReadFont readBmfontJson(const std::string& text);

// By the file's first bytes: "BMF" binary, "<" XML, "{" JSON, else text.
ReadFont readBmfont(const std::vector<std::uint8_t>& bytes);

}  // namespace vemro::test
