#include "tests/files/bmfont_reader.h"

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include <charconv>
#include <set>
#include <sstream>

namespace vemro::test {

namespace {

const char* const kCharFields[] = {"x",       "y",        "width", "height", "xoffset",
                                   "yoffset", "xadvance", "page",  "chnl"};

using Attributes = std::map<std::string, std::string>;

std::int64_t toNumber(const std::string& text, std::string& error) {
    std::int64_t value = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (problem != std::errc() || end != text.data() + text.size() || text.empty()) {
        error = "\"" + text + "\" is no number";
    }
    return value;
}

// Takes one tag into the font; `quoted` names the values written in quotes (text layout only).
void take(ReadFont& font, const std::string& tag, const Attributes& a,
          const std::set<std::string>* quoted, std::map<std::string, std::int64_t>& counts) {
    const auto value = [&](const std::string& key) {
        const auto found = a.find(key);
        if (found == a.end()) {
            font.error = tag + " has no " + key;
            return std::string();
        }
        return found->second;
    };
    const auto number = [&](const std::string& key) { return toNumber(value(key), font.error); };
    const auto mustQuote = [&](const std::string& key) {
        if (quoted != nullptr && !quoted->contains(key)) {
            font.error = tag + " " + key + " is not quoted";
        }
    };
    if (tag == "distanceField") {
        font.distanceField = a;
    } else if (tag == "info" || tag == "common") {
        (tag == "info" ? font.info : font.common) = a;
        if (tag == "info") {
            mustQuote("face");
            mustQuote("charset");
        }
    } else if (tag == "page") {
        mustQuote("file");
        if (number("id") != static_cast<std::int64_t>(font.pages.size())) {
            font.error = "page ids out of order";
        }
        font.pages.push_back(value("file"));
    } else if (tag == "char") {
        const auto id = static_cast<std::uint32_t>(number("id"));
        if (font.chars.contains(id)) {
            font.error = "char " + std::to_string(id) + " twice";
        }
        for (const char* field : kCharFields) {
            font.chars[id][field] = number(field);
        }
        if (a.contains("color")) {
            font.chars[id]["color"] = number("color");
        }
        font.order.push_back(id);
    } else if (tag == "kerning") {
        font.kernings[{static_cast<std::uint32_t>(number("first")),
                       static_cast<std::uint32_t>(number("second"))}] = number("amount");
    } else if (tag == "chars" || tag == "kernings") {
        counts[tag] = number("count");
    } else if (tag != "pages") {
        font.error = "unknown tag " + tag;
    }
}

// The counts a descriptor declares must be the counts it holds.
void checkCounts(ReadFont& font, const std::map<std::string, std::int64_t>& counts) {
    const auto declared = [&](const char* tag, std::size_t held) {
        const auto count = counts.find(tag);
        if (count != counts.end() && count->second != static_cast<std::int64_t>(held)) {
            font.error = std::string(tag) + " count " + std::to_string(count->second) + " but " +
                         std::to_string(held) + " held";
        }
    };
    declared("chars", font.chars.size());
    declared("kernings", font.kernings.size());
    if (font.error.empty() && font.common.count("pages") &&
        font.common.at("pages") != std::to_string(font.pages.size())) {
        font.error = "common pages disagrees with the page list";
    }
}

ReadFont readText(const std::string& text) {
    ReadFont font;
    std::map<std::string, std::int64_t> counts;
    std::istringstream lines(text);
    for (std::string line; font.error.empty() && std::getline(lines, line);) {
        std::istringstream in(line);
        std::string tag;
        in >> tag;
        Attributes attributes;
        std::set<std::string> quoted;
        for (std::string key; font.error.empty() && std::getline(in >> std::ws, key, '=');) {
            std::string value;
            if (in.peek() == '"') {
                in.get();
                if (!std::getline(in, value, '"')) {
                    font.error = "an unclosed quote";
                }
                quoted.insert(key);
            } else {
                in >> value;
            }
            attributes[key] = value;
        }
        if (!tag.empty() && font.error.empty()) {
            take(font, tag, attributes, &quoted, counts);
        }
    }
    checkCounts(font, counts);
    return font;
}

ReadFont readXml(const std::string& text) {
    ReadFont font;
    pugi::xml_document document;
    if (!document.load_string(text.c_str(), pugi::parse_default | pugi::parse_declaration) ||
        document.first_child().type() != pugi::node_declaration) {
        font.error = "no XML with a declaration";
        return font;
    }
    std::map<std::string, std::int64_t> counts;
    for (const pugi::xpath_node& found : document.child("font").select_nodes("//*")) {
        const pugi::xml_node node = found.node();
        Attributes attributes;
        for (const pugi::xml_attribute& attribute : node.attributes()) {
            attributes[attribute.name()] = attribute.value();
        }
        if (std::string(node.name()) != "font") {
            take(font, node.name(), attributes, nullptr, counts);
        }
    }
    checkCounts(font, counts);
    return font;
}

ReadFont readJson(const std::string& text) {
    ReadFont font;
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        font.error = "not a JSON object";
        return font;
    }
    // Arrays of numbers become "1,2", numbers their digits, as the text layout writes them.
    const auto attributesOf = [](const nlohmann::json& object) {
        Attributes attributes;
        for (const auto& [key, value] : object.items()) {
            std::string joined;
            for (const auto& item : value.is_array() ? value : nlohmann::json::array()) {
                if (!joined.empty()) {
                    joined += ',';
                }
                joined += item.dump();
            }
            attributes[key] = value.is_string()  ? value.get<std::string>()
                              : value.is_array() ? joined
                                                 : value.dump();
        }
        return attributes;
    };
    std::map<std::string, std::int64_t> counts;
    take(font, "info", attributesOf(json.value("info", nlohmann::json::object())), nullptr, counts);
    if (json.contains("distanceField")) {
        take(font, "distanceField", attributesOf(json["distanceField"]), nullptr, counts);
    }
    take(font, "common", attributesOf(json.value("common", nlohmann::json::object())), nullptr,
         counts);
    for (const auto& page : json.value("pages", nlohmann::json::array())) {
        font.pages.push_back(page.get<std::string>());
    }
    for (const char* list : {"chars", "kernings"}) {
        if (!json.contains(list) || !json[list].is_array()) {
            font.error = std::string("no ") + list + " array";
        }
        for (const auto& item : json.value(list, nlohmann::json::array())) {
            take(font, list == std::string("chars") ? "char" : "kerning", attributesOf(item),
                 nullptr, counts);
        }
    }
    checkCounts(font, counts);
    return font;
}

ReadFont readBinary(const std::vector<std::uint8_t>& b) {
    ReadFont font;
    const auto field = [&](std::size_t at, std::size_t width, bool isSigned) {
        std::int64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            value |= std::int64_t{b[at + i]} << (8 * i);
        }
        return isSigned && value >= (std::int64_t{1} << (8 * width - 1))
                   ? value - (std::int64_t{1} << (8 * width))
                   : value;
    };
    const auto text = [](std::int64_t v) { return std::to_string(v); };
    if (b.size() < 4 || b[0] != 'B' || b[1] != 'M' || b[2] != 'F' || b[3] != 3) {
        font.error = "no BMF version 3 header";
        return font;
    }
    std::set<int> seen;
    for (std::size_t at = 4; at < b.size() && font.error.empty();) {
        const int type = b[at];
        const std::int64_t size = at + 5 <= b.size() ? field(at + 1, 4, true) : -1;
        const std::size_t o = at + 5;  // the block's fields
        const auto u = [&](std::size_t offset, std::size_t width) {
            return field(o + offset, width, false);
        };
        // The documented size of each block: info 14 bytes and the name, common 15, pages p
        // names of equal length, chars 20 bytes each, kerning pairs 10 each.
        const bool fits = size >= 0 && static_cast<std::uint64_t>(size) <= b.size() - o &&
                          seen.insert(type).second;
        if (!fits || (type == 1 && (size < 15 || b[o + size - 1] != 0)) ||
            (type == 2 && size != 15) || (type == 4 && size % 20 != 0) ||
            (type == 5 && size % 10 != 0) || type < 1 || type > 5) {
            font.error = "block " + text(type) + " of size " + text(size);
            break;
        }
        const auto end = static_cast<std::size_t>(size);
        if (type == 1) {
            const std::int64_t bits = u(2, 1);
            font.info = {{"size", text(field(o, 2, true))},
                         {"smooth", text((bits >> 7) & 1)},
                         {"unicode", text((bits >> 6) & 1)},
                         {"italic", text((bits >> 5) & 1)},
                         {"bold", text((bits >> 4) & 1)},
                         {"charset", u(3, 1) == 0 ? "" : text(u(3, 1))},
                         {"stretchH", text(u(4, 2))},
                         {"aa", text(u(6, 1))},
                         {"padding", text(u(7, 1)) + "," + text(u(8, 1)) + "," + text(u(9, 1)) +
                                         "," + text(u(10, 1))},
                         {"spacing", text(u(11, 1)) + "," + text(u(12, 1))},
                         {"outline", text(u(13, 1))},
                         {"face", std::string(b.begin() + o + 14, b.begin() + o + end - 1)}};
            if (font.info["face"].find('\0') != std::string::npos) {
                font.error = "the info block holds more than the face";
            }
        } else if (type == 2) {
            font.common = {{"lineHeight", text(u(0, 2))}, {"base", text(u(2, 2))},
                           {"scaleW", text(u(4, 2))},     {"scaleH", text(u(6, 2))},
                           {"pages", text(u(8, 2))},      {"packed", text(u(10, 1) & 1)},
                           {"alphaChnl", text(u(11, 1))}, {"redChnl", text(u(12, 1))},
                           {"greenChnl", text(u(13, 1))}, {"blueChnl", text(u(14, 1))}};
        } else if (type == 3) {
            const std::string names(b.begin() + o, b.begin() + o + end);
            const std::size_t length = names.find('\0');
            for (std::size_t i = 0; length != std::string::npos && i < names.size();
                 i += length + 1) {
                if (i + length >= names.size() || names[i + length] != '\0') {
                    font.error = "page names of different lengths";
                    break;
                }
                font.pages.push_back(names.substr(i, length));
            }
        } else if (type == 4) {
            for (std::size_t c = 0; c < end; c += 20) {
                const auto id = static_cast<std::uint32_t>(u(c, 4));
                const std::size_t widths[] = {2, 2, 2, 2, 2, 2, 2, 1, 1};
                for (std::size_t f = 0, at = c + 4; f < 9; at += widths[f], ++f) {
                    font.chars[id][kCharFields[f]] = field(o + at, widths[f], f >= 4 && f <= 6);
                }
                font.order.push_back(id);
            }
        } else {
            for (std::size_t k = 0; k < end; k += 10) {
                font.kernings[{static_cast<std::uint32_t>(u(k, 4)),
                               static_cast<std::uint32_t>(u(k + 4, 4))}] =
                    field(o + k + 8, 2, true);
            }
        }
        at = o + end;
    }
    if (font.error.empty() &&
        (!seen.count(1) || !seen.count(2) || !seen.count(3) || !seen.count(4))) {
        font.error = "a block of types 1 to 4 is missing";
    }
    checkCounts(font, {});
    return font;
}

}  // namespace

std::int64_t ReadFont::number(const std::string& key) const {
    const std::map<std::string, std::string>& values = info.count(key) ? info : common;
    const auto found = values.find(key);
    std::string ignored;
    return found == values.end() ? -1 : toNumber(found->second, ignored);
}

ReadFont readBmfont(const std::vector<std::uint8_t>& bytes) {
    const std::string text(bytes.begin(), bytes.end());
    if (text.starts_with("BMF")) {
        return readBinary(bytes);
    }
    return text.starts_with("<")   ? readXml(text)
           : text.starts_with("{") ? readJson(text)
                                   : readText(text);
}

}  // namespace vemro::test
