#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "engine/project/effect_settings.h"
#include "files/project/document.h"

namespace vemro {

class FontRenderer;

// A colour with its opacity, as a colour control edits it (255 where the setting has none).
struct Rgba {
    Rgb colour;
    std::uint8_t alpha = 255;

    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// What a control shows and edits: a number (a spin's value, a check box's 0 or 1, a list
// entry's value), a colour, or a text.
using FieldValue = std::variant<std::int32_t, Rgba, std::string>;

// How a setting is edited: a spin in a range, a check box, a list of choices (or a group of
// buttons, one per choice), a colour button, a line of text.
enum class FieldKind { Number, Flag, Choice, Colour, Text };

// An entry of a list of choices: the value stored and the caption shown.
struct FieldChoice {
    std::int32_t value = 0;
    std::string label;
};

// One setting of the document bound to the control that edits it: the control's name in the
// window, how it edits, its range or choices, the label of the undo step a change makes, and
// how to read and write the setting. Spins and lines of text merge a run of changes into one
// step (see mergesRuns). The window binds each control to its row once; the rows drive what
// the controls do and show, and the tests' check that they show the document.
struct DocumentField {
    const char* control;
    FieldKind kind;
    const char* label;
    std::int32_t low = 0;  // a Number's range
    std::int32_t high = 0;
    std::vector<FieldChoice> (*choices)() = nullptr;  // a Choice's entries, in order
    bool alpha = false;                               // whether a Colour has an opacity
    FieldValue (*read)(const Document&) = nullptr;
    void (*write)(Document&, const FieldValue&) = nullptr;
    // Whether the control takes changes for the document; without a rule, always.
    bool (*enabled)(const Document&) = nullptr;
    // Why a disabled control does not apply (its tool tip); empty for none.
    const char* disabledNote = "";
    // A Choice whose entries depend on the document's face: its entries for the document, which
    // the renderer knows; without one, always `choices`.
    std::vector<FieldChoice> (*choicesFor)(const Document&, FontRenderer&) = nullptr;

    bool mergesRuns() const { return kind == FieldKind::Number || kind == FieldKind::Text; }
    bool isEnabled(const Document& document) const {
        return enabled == nullptr || enabled(document);
    }
    std::vector<FieldChoice> choicesIn(const Document& document, FontRenderer& renderer) const {
        return choicesFor != nullptr ? choicesFor(document, renderer) : choices();
    }
};

// Every control that edits one setting of the document, in the order the window lays them out.
// A row's position is its merge key.
std::span<const DocumentField> documentFields();

// The row whose control has that name; there is one for each name in the table.
std::size_t fieldIndex(const char* control);

}  // namespace vemro
