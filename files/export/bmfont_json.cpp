#include "files/export/bmfont_json.h"

#include <nlohmann/json.hpp>

#include <string>

#include "files/export/descriptor_strings.h"

namespace vemro {

Result<std::vector<std::uint8_t>> encodeBmfontJson(const FontDescription& d) {
    using Json = nlohmann::ordered_json;
    Json pages = Json::array();
    for (const std::string& page : d.pages) {
        pages.push_back(descriptorString(page));
    }
    Json chars = Json::array();
    for (const DescribedChar& c : d.chars) {
        Json entry{{"id", c.id},
                   {"x", c.x},
                   {"y", c.y},
                   {"width", c.width},
                   {"height", c.height},
                   {"xoffset", c.xoffset},
                   {"yoffset", c.yoffset},
                   {"xadvance", c.xadvance},
                   {"page", c.page},
                   {"chnl", c.chnl}};
        if (c.color >= 0) {
            entry["color"] = c.color;
        }
        chars.push_back(std::move(entry));
    }
    Json kernings = Json::array();
    for (const DescribedKerning& k : d.kernings) {
        kernings.push_back(Json{{"first", k.first}, {"second", k.second}, {"amount", k.amount}});
    }
    Json font{
        {"pages", std::move(pages)},
        {"chars", std::move(chars)},
        {"info",
         {{"face", descriptorString(d.face)},
          {"size", d.size},
          {"bold", d.bold ? 1 : 0},
          {"italic", d.italic ? 1 : 0},
          {"charset", ""},
          {"unicode", d.unicode ? 1 : 0},
          {"stretchH", d.stretchH},
          {"smooth", d.smooth ? 1 : 0},
          {"aa", d.aa},
          {"padding", d.padding},
          {"spacing", d.spacing},
          {"outline", d.outline}}},
        {"common",
         {{"lineHeight", d.lineHeight},
          {"base", d.base},
          {"scaleW", d.scaleW},
          {"scaleH", d.scaleH},
          {"pages", d.pages.size()},
          {"packed", d.packed ? 1 : 0},
          {"alphaChnl", d.alphaChnl},
          {"redChnl", d.redChnl},
          {"greenChnl", d.greenChnl},
          {"blueChnl", d.blueChnl}}},
        {"kernings", std::move(kernings)},
    };
    if (d.distanceRange > 0) {
        font["distanceField"] =
            Json{{"fieldType", d.fieldType}, {"distanceRange", d.distanceRange}};
    }
    // Every string went through descriptorString, so it is valid UTF-8 and dump cannot throw.
    const std::string text = font.dump() + "\n";
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace vemro
