#include "files/export/bmfont_text.h"

#include <algorithm>
#include <string>

#include "files/export/descriptor_strings.h"

namespace vemro {

namespace {

std::string quoted(const std::string& value) {
    std::string text = descriptorString(value);
    std::replace(text.begin(), text.end(), '"', '\'');
    return "\"" + text + "\"";
}

std::string number(std::int64_t value) {
    return std::to_string(value);
}

std::string flag(bool value) {
    return value ? "1" : "0";
}

}  // namespace

Result<std::vector<std::uint8_t>> encodeBmfontText(const FontDescription& d) {
    using Encoded = Result<std::vector<std::uint8_t>>;
    for (const std::string& page : d.pages) {
        if (descriptorString(page) != page || page.find('"') != std::string::npos) {
            return Encoded::failure("the BMFont text format cannot name the page file \"" + page +
                                    "\": its name holds a quotation mark, a control character or "
                                    "bytes that are not UTF-8; choose another name");
        }
    }
    std::string out;
    out.reserve(256 + d.chars.size() * 100 + d.kernings.size() * 40);
    out += "info face=" + quoted(d.face) + " size=" + number(d.size) + " bold=" + flag(d.bold) +
           " italic=" + flag(d.italic) + " charset=\"\" unicode=" + flag(d.unicode) +
           " stretchH=" + number(d.stretchH) + " smooth=" + flag(d.smooth) + " aa=" + number(d.aa) +
           " padding=" + number(d.padding[0]) + "," + number(d.padding[1]) + "," +
           number(d.padding[2]) + "," + number(d.padding[3]) + " spacing=" + number(d.spacing[0]) +
           "," + number(d.spacing[1]) + " outline=" + number(d.outline) + "\n";
    out += "common lineHeight=" + number(d.lineHeight) + " base=" + number(d.base) +
           " scaleW=" + number(d.scaleW) + " scaleH=" + number(d.scaleH) +
           " pages=" + number(static_cast<std::int64_t>(d.pages.size())) +
           " packed=" + flag(d.packed) + " alphaChnl=" + number(d.alphaChnl) +
           " redChnl=" + number(d.redChnl) + " greenChnl=" + number(d.greenChnl) +
           " blueChnl=" + number(d.blueChnl) + "\n";
    for (std::size_t id = 0; id < d.pages.size(); ++id) {
        out +=
            "page id=" + number(static_cast<std::int64_t>(id)) + " file=\"" + d.pages[id] + "\"\n";
    }
    out += "chars count=" + number(static_cast<std::int64_t>(d.chars.size())) + "\n";
    for (const DescribedChar& c : d.chars) {
        out += "char id=" + number(c.id) + " x=" + number(c.x) + " y=" + number(c.y) +
               " width=" + number(c.width) + " height=" + number(c.height) +
               " xoffset=" + number(c.xoffset) + " yoffset=" + number(c.yoffset) +
               " xadvance=" + number(c.xadvance) + " page=" + number(c.page) +
               " chnl=" + number(c.chnl) + "\n";
    }
    if (!d.kernings.empty()) {
        out += "kernings count=" + number(static_cast<std::int64_t>(d.kernings.size())) + "\n";
        for (const DescribedKerning& k : d.kernings) {
            out += "kerning first=" + number(k.first) + " second=" + number(k.second) +
                   " amount=" + number(k.amount) + "\n";
        }
    }
    return std::vector<std::uint8_t>(out.begin(), out.end());
}

}  // namespace vemro
