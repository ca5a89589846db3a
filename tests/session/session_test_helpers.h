#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/project/glyph_list.h"
#include "files/project/project_file.h"
#include "session/editing_session.h"
#include "tests/fake_font_renderer.h"
#include "tests/files/test_folder.h"

namespace vemro::testing {

inline std::vector<char32_t> codesOf(const GlyphList& glyphs) {
    std::vector<char32_t> codes;
    for (const Glyph& glyph : glyphs) {
        codes.push_back(glyph.code);
    }
    return codes;
}

inline std::string writeProject(const TestFolder& folder, const std::string& name,
                                const ProjectFile& project) {
    const std::string path = folder.path(name);
    if (!writeProjectFile(path, project)) {
        ADD_FAILURE() << "cannot write " << path;
    }
    return path;
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The row of the control of that name, and a value of it other than the document's: a number
// one up (or the lowest past the highest), a flag turned, the next choice, another colour and
// opacity, the text with more.
inline std::size_t row(const char* control) {
    return fieldIndex(control);
}

inline FieldValue otherValue(const DocumentField& field, const Document& document) {
    const FieldValue value = field.read(document);
    switch (field.kind) {
        case FieldKind::Number: {
            const std::int32_t number = std::get<std::int32_t>(value);
            return number < field.high ? number + 1 : field.low;
        }
        case FieldKind::Flag:
            return 1 - std::get<std::int32_t>(value);
        case FieldKind::Choice: {
            const std::vector<FieldChoice> choices = field.choices();
            std::size_t next = 0;
            for (std::size_t i = 0; i < choices.size(); ++i) {
                if (choices[i].value == std::get<std::int32_t>(value)) {
                    next = (i + 1) % choices.size();
                }
            }
            return choices[next].value;
        }
        case FieldKind::Colour: {
            Rgba colour = std::get<Rgba>(value);
            colour.colour.red = static_cast<std::uint8_t>(colour.colour.red ^ 0x5A);
            colour.alpha = field.alpha ? static_cast<std::uint8_t>(colour.alpha ^ 0x33) : 255;
            return colour;
        }
        case FieldKind::Text:
            return std::get<std::string>(value) + " \xC3\x85V";
    }
    return value;
}

}  // namespace vemro::testing
