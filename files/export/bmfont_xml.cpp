#include "files/export/bmfont_xml.h"

#include <pugixml.hpp>

#include <sstream>
#include <string>

#include "files/export/descriptor_strings.h"

namespace vemro {

namespace {

void set(pugi::xml_node node, const char* name, std::int64_t value) {
    node.append_attribute(name).set_value(static_cast<long long>(value));
}

void set(pugi::xml_node node, const char* name, const std::string& value) {
    node.append_attribute(name).set_value(descriptorString(value).c_str());
}

std::string pair(std::int32_t a, std::int32_t b) {
    return std::to_string(a) + "," + std::to_string(b);
}

}  // namespace

Result<std::vector<std::uint8_t>> encodeBmfontXml(const FontDescription& d) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    pugi::xml_node font = document.append_child("font");

    pugi::xml_node info = font.append_child("info");
    set(info, "face", d.face);
    set(info, "size", d.size);
    set(info, "bold", d.bold);
    set(info, "italic", d.italic);
    set(info, "charset", std::string());
    set(info, "unicode", d.unicode);
    set(info, "stretchH", d.stretchH);
    set(info, "smooth", d.smooth);
    set(info, "aa", d.aa);
    set(info, "padding", pair(d.padding[0], d.padding[1]) + "," + pair(d.padding[2], d.padding[3]));
    set(info, "spacing", pair(d.spacing[0], d.spacing[1]));
    set(info, "outline", d.outline);

    pugi::xml_node common = font.append_child("common");
    set(common, "lineHeight", d.lineHeight);
    set(common, "base", d.base);
    set(common, "scaleW", d.scaleW);
    set(common, "scaleH", d.scaleH);
    set(common, "pages", static_cast<std::int64_t>(d.pages.size()));
    set(common, "packed", d.packed);
    set(common, "alphaChnl", d.alphaChnl);
    set(common, "redChnl", d.redChnl);
    set(common, "greenChnl", d.greenChnl);
    set(common, "blueChnl", d.blueChnl);

    if (d.distanceRange > 0) {
        pugi::xml_node field = font.append_child("distanceField");
        set(field, "fieldType", d.fieldType);
        set(field, "distanceRange", d.distanceRange);
    }

    pugi::xml_node pages = font.append_child("pages");
    for (std::size_t id = 0; id < d.pages.size(); ++id) {
        pugi::xml_node page = pages.append_child("page");
        set(page, "id", static_cast<std::int64_t>(id));
        set(page, "file", d.pages[id]);
    }

    pugi::xml_node chars = font.append_child("chars");
    set(chars, "count", static_cast<std::int64_t>(d.chars.size()));
    for (const DescribedChar& c : d.chars) {
        pugi::xml_node node = chars.append_child("char");
        set(node, "id", c.id);
        set(node, "x", c.x);
        set(node, "y", c.y);
        set(node, "width", c.width);
        set(node, "height", c.height);
        set(node, "xoffset", c.xoffset);
        set(node, "yoffset", c.yoffset);
        set(node, "xadvance", c.xadvance);
        set(node, "page", c.page);
        set(node, "chnl", c.chnl);
        if (c.color >= 0) {
            set(node, "color", c.color);
        }
    }

    if (!d.kernings.empty()) {
        pugi::xml_node kernings = font.append_child("kernings");
        set(kernings, "count", static_cast<std::int64_t>(d.kernings.size()));
        for (const DescribedKerning& k : d.kernings) {
            pugi::xml_node node = kernings.append_child("kerning");
            set(node, "first", k.first);
            set(node, "second", k.second);
            set(node, "amount", k.amount);
        }
    }

    std::ostringstream out;
    document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    const std::string text = out.str();
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace vemro
