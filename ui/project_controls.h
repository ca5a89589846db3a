#pragma once

#include <QObject>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/project/project.h"
#include "files/project/document.h"

class QButtonGroup;

namespace Ui {
class BuilderDialog;
}

namespace vemro {

class CharacterListModel;

// The window's controls for the project's settings and characters, as a view of a project:
// they are filled with their choices once, and show a project without any of them reporting a
// change. They keep nothing of their own; the window reads what the user picked and writes it
// into the project.
class ProjectControls {
public:
    // The groups of the "Width" and "Height" buttons are made as children of owner.
    ProjectControls(Ui::BuilderDialog& ui, QObject* owner);

    QButtonGroup* widthButtons() const { return widthButtons_; }
    QButtonGroup* heightButtons() const { return heightButtons_; }

    // The faces in the given order, the entries of the setting lists and the spins' ranges.
    void setUp(const std::vector<std::string>& faces);

    // Every control shows the document (the export settings and the sample text line included):
    // a texture side no button offers checks none, a value no list entry carries keeps the list's
    // selection, and the character border spins show the selected character's borders as far as
    // their range allows.
    void show(const Document& document);

    // The "Character" list holds one entry per glyph, each as its character and code; the
    // selection stays while its index is in the list. The list is refilled only when the
    // characters change. The character border spins show the selected glyph's borders; with
    // none selected they are empty and disabled, so no value they showed before can reach a
    // glyph.
    void showCharacterList(const GlyphList& glyphs);

    // The entry of the "Character" list the query names (see CharacterListModel::find), from
    // the one after the selected entry when next, else from the top; -1 for none.
    int findCharacter(const QString& query, bool next) const;

    // The border spins show the selected glyph's borders, or are empty and disabled.
    void showSelectedCharacter(const GlyphList& glyphs);

    // Selects no character; the next showCharacterList empties and disables the border spins.
    void clearCharacterSelection();

    // The character border spins show the glyph's borders as far as their range allows.
    void showCharacterBorders(const Glyph& glyph);

    // The "Name" list shows the face: a font file as an extra first entry, the family name with
    // the file named beside it ("DejaVu Sans (DejaVuSans.ttf)", or the file marked missing when
    // it cannot be found), selected; an installed face as its entry, without a file's entry.
    void showFace(const FontSettings& font);

    // Whether the "Name" list's entry at index stands for the project's font file.
    bool isFontFileEntry(int index) const;

    // The "Export" group's format and page image show the settings; the page image is enabled
    // only for the formats that use it. (Its kerning box shows the project's kerning option.)
    void showExportSettings(const ExportSettings& settings);

    // The pixel height beside the size ("= 15 px").
    void showPixelHeight(std::int32_t size);

    // The "Effects" group shows the effects (project_controls_effects.cpp): each switch, size
    // and colour as stored; with a distance field on, outline and shadow and the
    // supersampling factor are disabled and a note says why.
    void showEffects(const EffectSettings& effects);

    // The texture side of a "Width" or "Height" button.
    static std::optional<std::int32_t> sideOfButton(int id);

private:
    // The spins' ranges of the "Effects" group.
    void setUpEffects();

    Ui::BuilderDialog& ui_;
    QButtonGroup* widthButtons_;
    QButtonGroup* heightButtons_;
    CharacterListModel* characters_;
};

}  // namespace vemro
