#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <vector>

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

    // The characters picked, ascending: those of the selected blocks, or every character of
    // the face; never a control character or an unassigned code point.
    std::vector<char32_t> chosenCharacters() const;

private:
    void filterBlocks(const QString& text);
    void updateChoice();

    std::unique_ptr<Ui::CharacterSetDialog> ui_;
    std::shared_ptr<const std::vector<char32_t>> faceCharacters_;
};

}  // namespace vemro
