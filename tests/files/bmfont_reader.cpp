#include "tests/files/bmfont_reader.h"

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include <charconv>
#include <functional>
#include <sstream>

namespace vemro::test {

namespace {

bool toNumber(const std::string& text, std::int64_t& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty();
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) {
        parts.push_back(part);
    }
    return parts;
}

// The attributes of one tag, whatever the layout, and how each value was written.
struct Attributes {
    std::map<std::string, std::string> values;
    std::map<std::string, bool> quoted;
};

// Fills the font from one tag; says what is wrong or nothing.
std::string applyTag(ReadFont& font, const std::string& tag, const Attributes& a, bool textLayout,
                     std::int64_t& charsCount, std::int64_t& kerningsCount) {
    std::string problem;
    const auto number = [&](const char* key, std::int64_t& out) {
        const auto found = a.values.find(key);
        if (found == a.values.end() || !toNumber(found->second, out)) {
            problem = tag + " has no number " + key;
        }
    };
    const auto string = [&](const char* key, std::string& out) {
        const auto found = a.values.find(key);
        if (found == a.values.end()) {
            problem = tag + " has no " + key;
            return;
        }
        if (textLayout && !a.quoted.at(key)) {
            problem = tag + " " + key + " is not quoted";
        }
        out = found->second;
    };
    const auto list = [&](const char* key, std::int64_t* out, std::size_t count) {
        const auto found = a.values.find(key);
        const std::vector<std::string> parts =
            found == a.values.end() ? std::vector<std::string>() : split(found->second, ',');
        if (parts.size() != count) {
            problem = tag + " " + key + " does not hold " + std::to_string(count) + " numbers";
            return;
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (!toNumber(parts[i], out[i])) {
                problem = tag + " " + key + " holds no number";
            }
        }
    };
    if (tag == "info") {
        string("face", font.face);
        number("size", font.size);
        number("bold", font.bold);
        number("italic", font.italic);
        string("charset", font.charset);
        number("unicode", font.unicode);
        number("stretchH", font.stretchH);
        number("smooth", font.smooth);
        number("aa", font.aa);
        list("padding", font.padding.data(), 4);
        list("spacing", font.spacing.data(), 2);
        number("outline", font.outline);
    } else if (tag == "common") {
        number("lineHeight", font.lineHeight);
        number("base", font.base);
        number("scaleW", font.scaleW);
        number("scaleH", font.scaleH);
        number("pages", font.pages);
        number("packed", font.packed);
        number("alphaChnl", font.alphaChnl);
        number("redChnl", font.redChnl);
        number("greenChnl", font.greenChnl);
        number("blueChnl", font.blueChnl);
    } else if (tag == "page") {
        std::int64_t id = -1;
        std::string file;
        number("id", id);
        string("file", file);
        if (id != static_cast<std::int64_t>(font.pageFiles.size())) {
            problem = "page id " + std::to_string(id) + " out of order";
        }
        font.pageFiles.push_back(file);
    } else if (tag == "chars") {
        number("count", charsCount);
    } else if (tag == "char") {
        std::int64_t id = 0;
        ReadChar c;
        number("id", id);
        number("x", c.x);
        number("y", c.y);
        number("width", c.width);
        number("height", c.height);
        number("xoffset", c.xoffset);
        number("yoffset", c.yoffset);
        number("xadvance", c.xadvance);
        number("page", c.page);
        number("chnl", c.chnl);
        if (!font.chars.emplace(static_cast<std::uint32_t>(id), c).second) {
            problem = "char " + std::to_string(id) + " twice";
        }
        font.order.push_back(static_cast<std::uint32_t>(id));
    } else if (tag == "kernings") {
        number("count", kerningsCount);
    } else if (tag == "kerning") {
        std::int64_t first = 0, second = 0, amount = 0;
        number("first", first);
        number("second", second);
        number("amount", amount);
        font.kernings[{static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(second)}] =
            amount;
    } else {
        problem = "unknown tag " + tag;
    }
    return problem;
}

// The counts a descriptor declares must be the counts it holds.
void checkCounts(ReadFont& font, std::int64_t charsCount, std::int64_t kerningsCount) {
    if (font.error.empty() && charsCount != static_cast<std::int64_t>(font.chars.size())) {
        font.error = "chars count " + std::to_string(charsCount) + " but " +
                     std::to_string(font.chars.size()) + " chars";
    }
    if (font.error.empty() && kerningsCount >= 0 &&
        kerningsCount != static_cast<std::int64_t>(font.kernings.size())) {
        font.error = "kernings count " + std::to_string(kerningsCount) + " but " +
                     std::to_string(font.kernings.size()) + " kernings";
    }
    if (font.error.empty() && font.pages != static_cast<std::int64_t>(font.pageFiles.size())) {
        font.error = "common pages disagrees with the page list";
    }
}

std::int64_t little(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t width,
                    bool isSigned) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value |= std::uint64_t{b[at + i]} << (8 * i);
    }
    if (isSigned && (value >> (8 * width - 1)) != 0) {
        return static_cast<std::int64_t>(value) - (std::int64_t{1} << (8 * width));
    }
    return static_cast<std::int64_t>(value);
}

}  // namespace

ReadFont readBmfontText(const std::string& text) {
    ReadFont font;
    std::int64_t charsCount = -1;
    std::int64_t kerningsCount = -1;
    for (std::string line : split(text, '\n')) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        const std::size_t tagEnd = line.find(' ');
        const std::string tag = line.substr(0, tagEnd);
        Attributes attributes;
        for (std::size_t at = tagEnd; at != std::string::npos && at < line.size();) {
            at = line.find_first_not_of(' ', at);
            if (at == std::string::npos) {
                break;
            }
            const std::size_t equals = line.find('=', at);
            if (equals == std::string::npos) {
                font.error = "a value without a key in \"" + line + "\"";
                return font;
            }
            const std::string key = line.substr(at, equals - at);
            std::size_t end = 0;
            if (equals + 1 < line.size() && line[equals + 1] == '"') {
                end = line.find('"', equals + 2);
                if (end == std::string::npos) {
                    font.error = "an unclosed quote in \"" + line + "\"";
                    return font;
                }
                attributes.values[key] = line.substr(equals + 2, end - equals - 2);
                attributes.quoted[key] = true;
                ++end;
            } else {
                end = std::min(line.find(' ', equals), line.size());
                attributes.values[key] = line.substr(equals + 1, end - equals - 1);
                attributes.quoted[key] = false;
            }
            at = end;
        }
        if (std::string problem = applyTag(font, tag, attributes, true, charsCount, kerningsCount);
            !problem.empty()) {
            font.error = problem;
            return font;
        }
    }
    checkCounts(font, charsCount, kerningsCount);
    return font;
}

ReadFont readBmfontXml(const std::string& text) {
    ReadFont font;
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_string(text.c_str(), pugi::parse_default | pugi::parse_declaration);
    if (!parsed) {
        font.error = std::string("not XML: ") + parsed.description();
        return font;
    }
    if (document.first_child().type() != pugi::node_declaration) {
        font.error = "no XML declaration";
        return font;
    }
    const pugi::xml_node root = document.child("font");
    std::int64_t charsCount = -1;
    std::int64_t kerningsCount = -1;
    const std::function<void(pugi::xml_node)> visit = [&](pugi::xml_node node) {
        for (pugi::xml_node child : node.children()) {
            const std::string tag = child.name();
            Attributes attributes;
            for (pugi::xml_attribute attribute : child.attributes()) {
                attributes.values[attribute.name()] = attribute.value();
            }
            if (tag != "pages" && font.error.empty()) {
                font.error = applyTag(font, tag, attributes, false, charsCount, kerningsCount);
            }
            visit(child);
        }
    };
    visit(root);
    checkCounts(font, charsCount, kerningsCount);
    return font;
}

ReadFont readBmfontBinary(const std::vector<std::uint8_t>& b) {
    ReadFont font;
    if (b.size() < 4 || b[0] != 'B' || b[1] != 'M' || b[2] != 'F' || b[3] != 3) {
        font.error = "no BMF version 3 header";
        return font;
    }
    std::map<int, int> seen;
    for (std::size_t at = 4; at < b.size();) {
        if (b.size() - at < 5) {
            font.error = "a block header cut short";
            return font;
        }
        const int type = b[at];
        const std::int64_t size = little(b, at + 1, 4, true);
        const std::size_t body = at + 5;
        if (size < 0 || static_cast<std::uint64_t>(size) > b.size() - body || ++seen[type] > 1) {
            font.error = "block " + std::to_string(type) + " of size " + std::to_string(size) +
                         " does not fit or is repeated";
            return font;
        }
        const auto u = [&](std::size_t offset, std::size_t width) {
            return little(b, body + offset, width, false);
        };
        const auto s = [&](std::size_t offset, std::size_t width) {
            return little(b, body + offset, width, true);
        };
        const auto bad = [&](const std::string& what) { font.error = what; };
        if (type == 1) {
            // 14 bytes of fields, then the face and its zero byte, which ends the block.
            if (size < 15 || b[body + static_cast<std::size_t>(size) - 1] != 0) {
                bad("info block of size " + std::to_string(size));
                return font;
            }
            font.size = s(0, 2);
            const std::int64_t bits = u(2, 1);
            font.smooth = (bits & 0x80) != 0;
            font.unicode = (bits & 0x40) != 0;
            font.italic = (bits & 0x20) != 0;
            font.bold = (bits & 0x10) != 0;
            font.stretchH = u(4, 2);
            font.aa = u(6, 1);
            for (std::size_t i = 0; i < 4; ++i) {
                font.padding[i] = u(7 + i, 1);
            }
            font.spacing = {u(11, 1), u(12, 1)};
            font.outline = u(13, 1);
            font.face.assign(b.begin() + static_cast<std::ptrdiff_t>(body + 14),
                             b.begin() + static_cast<std::ptrdiff_t>(body + size - 1));
            if (font.face.find('\0') != std::string::npos) {
                bad("the info block holds more than the face name");
                return font;
            }
        } else if (type == 2) {
            if (size != 15) {
                bad("common block of size " + std::to_string(size));
                return font;
            }
            font.lineHeight = u(0, 2);
            font.base = u(2, 2);
            font.scaleW = u(4, 2);
            font.scaleH = u(6, 2);
            font.pages = u(8, 2);
            font.packed = (u(10, 1) & 0x01) != 0;
            font.alphaChnl = u(11, 1);
            font.redChnl = u(12, 1);
            font.greenChnl = u(13, 1);
            font.blueChnl = u(14, 1);
        } else if (type == 3) {
            // Zero-terminated names, all of one length.
            const std::string names(b.begin() + static_cast<std::ptrdiff_t>(body),
                                    b.begin() + static_cast<std::ptrdiff_t>(body + size));
            const std::size_t length = names.find('\0');
            if (length == std::string::npos || names.size() % (length + 1) != 0) {
                bad("page names of different lengths");
                return font;
            }
            for (std::size_t i = 0; i < names.size(); i += length + 1) {
                if (names[i + length] != '\0') {
                    bad("page names of different lengths");
                    return font;
                }
                font.pageFiles.push_back(names.substr(i, length));
            }
        } else if (type == 4) {
            if (size % 20 != 0) {
                bad("chars block of size " + std::to_string(size));
                return font;
            }
            for (std::size_t c = 0; c < static_cast<std::size_t>(size); c += 20) {
                const auto id = static_cast<std::uint32_t>(u(c, 4));
                font.chars[id] =
                    ReadChar{u(c + 4, 2),  u(c + 6, 2),  u(c + 8, 2),  u(c + 10, 2), s(c + 12, 2),
                             s(c + 14, 2), s(c + 16, 2), u(c + 18, 1), u(c + 19, 1)};
                font.order.push_back(id);
            }
        } else if (type == 5) {
            if (size % 10 != 0) {
                bad("kerning block of size " + std::to_string(size));
                return font;
            }
            for (std::size_t k = 0; k < static_cast<std::size_t>(size); k += 10) {
                font.kernings[{static_cast<std::uint32_t>(u(k, 4)),
                               static_cast<std::uint32_t>(u(k + 4, 4))}] = s(k + 8, 2);
            }
        } else {
            bad("unknown block " + std::to_string(type));
            return font;
        }
        at = body + static_cast<std::size_t>(size);
    }
    if (seen.size() < 4 || seen.count(1) + seen.count(2) + seen.count(3) + seen.count(4) != 4) {
        font.error = "a block of types 1 to 4 is missing";
    }
    checkCounts(font, static_cast<std::int64_t>(font.chars.size()), -1);
    return font;
}

ReadFont readBmfontJson(const std::string& text) {
    ReadFont font;
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        font.error = "not a JSON object";
        return font;
    }
    // The JSON holds numbers and arrays where the other layouts hold text; bring each value into
    // the text form and read it as the other layouts are read.
    const auto attributesOf = [](const nlohmann::json& object) {
        Attributes attributes;
        for (const auto& [key, value] : object.items()) {
            if (value.is_string()) {
                attributes.values[key] = value.get<std::string>();
            } else if (value.is_array()) {
                std::string joined;
                for (const auto& item : value) {
                    joined += (joined.empty() ? "" : ",") + item.dump();
                }
                attributes.values[key] = joined;
            } else {
                attributes.values[key] = value.dump();
            }
        }
        return attributes;
    };
    std::int64_t charsCount = -1;
    std::int64_t unusedCount = -1;
    std::string problem;
    if (!json.contains("pages") || !json.contains("chars") || !json.contains("info") ||
        !json.contains("common") || !json.contains("kernings")) {
        font.error = "pages, chars, info, common or kernings missing";
        return font;
    }
    problem = applyTag(font, "info", attributesOf(json["info"]), false, charsCount, unusedCount);
    if (problem.empty()) {
        problem =
            applyTag(font, "common", attributesOf(json["common"]), false, charsCount, unusedCount);
    }
    for (const auto& page : json["pages"]) {
        font.pageFiles.push_back(page.is_string() ? page.get<std::string>() : std::string());
    }
    for (const auto& c : json["chars"]) {
        if (problem.empty()) {
            problem = applyTag(font, "char", attributesOf(c), false, charsCount, unusedCount);
        }
    }
    for (const auto& k : json["kernings"]) {
        if (problem.empty()) {
            problem = applyTag(font, "kerning", attributesOf(k), false, charsCount, unusedCount);
        }
    }
    font.error = problem;
    checkCounts(font, static_cast<std::int64_t>(font.chars.size()), -1);
    return font;
}

ReadFont readBmfont(const std::vector<std::uint8_t>& bytes) {
    const std::string text(bytes.begin(), bytes.end());
    if (bytes.size() >= 3 && bytes[0] == 'B' && bytes[1] == 'M' && bytes[2] == 'F') {
        return readBmfontBinary(bytes);
    }
    if (text.starts_with("<")) {
        return readBmfontXml(text);
    }
    if (text.starts_with("{")) {
        return readBmfontJson(text);
    }
    return readBmfontText(text);
}

}  // namespace vemro::test
