#pragma once

#include <QString>
#include <string>
#include <vector>

#include "engine/project/project.h"

class QObject;

namespace Ui {
class BuilderDialog;
}

namespace vemro {

class CharacterListModel;

// The window's "Name" and "Character" lists, each of which shows more than one setting: the
// installed faces with the project's font file as an extra first entry, and the project's
// characters with the borders of the one selected. They show a project without reporting a
// change; the window reads what the user picked.
class ListControls {
public:
    // The model of the "Character" list is made as a child of owner.
    ListControls(Ui::BuilderDialog& ui, QObject* owner);

    // The faces in the given order.
    void setUpFaces(const std::vector<std::string>& faces);

    // The "Name" list shows the face: a font file as an extra first entry, the family name with
    // the file named beside it ("DejaVu Sans (DejaVuSans.ttf)", or the file marked missing when
    // it cannot be found), selected; an installed face as its entry, without a file's entry.
    void showFace(const FontSettings& font);

    // Whether the "Name" list's entry at index stands for the project's font file.
    bool isFontFileEntry(int index) const;

    // The "Character" list holds one entry per glyph, each as its character and code; the
    // selection stays while its index is in the list. The list is refilled only when the
    // characters change. The character border spins show the selected glyph's borders as far
    // as their range allows; with none selected they are empty and disabled, so no value they
    // showed before can reach a glyph.
    void showCharacterList(const GlyphList& glyphs);
    void showSelectedCharacter(const GlyphList& glyphs);

    // The entry of the "Character" list the query names (see CharacterListModel::find), from
    // the one after the selected entry when next, else from the top; -1 for none.
    int findCharacter(const QString& query, bool next) const;
    // Selects the entry at index (-1 for none), reporting nothing.
    void selectCharacter(int index);
    // Selects no character; the next showCharacterList empties and disables the border spins.
    void clearCharacterSelection() { selectCharacter(-1); }

private:
    Ui::BuilderDialog& ui_;
    CharacterListModel* characters_;
};

}  // namespace vemro
