#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "session/character_set_choice.h"

namespace Ui {
class CharacterSetDialog;
}

namespace vemro {

// Tools > Add character set: Unicode's blocks, each with its range and how many of its
// characters the face has, to pick one or more from (a field finds blocks by name); or every
// character of the face. "Only characters the face has", on at first, leaves out what the face
// would draw as its missing-glyph box.
class CharacterSetDialog : public QDialog {
    Q_OBJECT

public:
    // faceCharacters: every character the face maps, ascending; faceName names the face.
    CharacterSetDialog(std::shared_ptr<const std::vector<char32_t>> faceCharacters,
                       const QString& faceName, QWidget* parent = nullptr);
    ~CharacterSetDialog() override;

    // What Add takes: the characters of every selected block, whether the find field shows it
    // or not, or every character of the face.
    CharacterSetChoice choice() const;

private:
    void filterBlocks(const QString& text);
    void updateChoice();
    // The numbers of the selected blocks in the list of blocks, ascending.
    std::vector<std::size_t> selectedBlocks() const;

    std::unique_ptr<Ui::CharacterSetDialog> ui_;
    std::shared_ptr<const std::vector<char32_t>> faceCharacters_;
};

}  // namespace vemro
