#pragma once

// A reader of BMFont descriptors for the tests, written from the format's documentation rather
// than from the program's writers: the text layout (a tag and key=value pairs per line, string
// values in quotes), the XML layout, the binary layout of version 3 (blocks of a type byte and an
// int32 size; bit fields counted from the most significant bit) and the JSON layout of the
// JavaScript renderers. Whatever breaks the layout is reported in `error`.

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace vemro::test {

struct ReadFont {
    using Values = std::map<std::string, std::string>;

    std::string error;  // empty when the descriptor was read whole
    // The info and common values as the text layout writes them ("2,3,4,1" for padding).
    std::map<std::string, std::string> info, common;
    // A distance field's fieldType and distanceRange (XML and JSON); empty without one.
    std::map<std::string, std::string> distanceField;
    std::vector<std::string> pages;
    std::vector<std::uint32_t> order;  // character ids in file order
    // x, y, width, height, xoffset, yoffset, xadvance, page and chnl of each character.
    std::map<std::uint32_t, std::map<std::string, std::int64_t>> chars;
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::int64_t> kernings;

    std::int64_t number(const std::string& key) const;  // from info or common

    friend bool operator==(const ReadFont& a, const ReadFont& b) {
        return std::tie(a.info, a.common, a.distanceField, a.pages, a.order, a.chars, a.kernings) ==
               std::tie(b.info, b.common, b.distanceField, b.pages, b.order, b.chars, b.kernings);
    }
};

// By the first bytes: "BMF" binary, "<" XML, "{" JSON, else text.
ReadFont readBmfont(const std::vector<std::uint8_t>& bytes);

}  // namespace vemro::test
