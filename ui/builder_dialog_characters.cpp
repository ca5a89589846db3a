// The main window's "Name" and "Character" lists and its character commands: the face or font
// file drawn with, the selected character and its borders, finding a character, and the dialogs
// of the Tools menu.

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSpinBox>
#include <string_view>

#include "ui/add_characters_dialog.h"
#include "ui/builder_dialog.h"
#include "ui/character_set_dialog.h"
#include "ui/fallback_dialog.h"
#include "ui/file_prompts.h"
#include "ui/list_controls.h"
#include "ui/recent_files.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

std::u16string_view utf16(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

}  // namespace

void BuilderDialog::connectLists() {
    connect(ui_->nameCombo, &QComboBox::activated, this, [this](int index) { chooseFace(index); });
    connect(ui_->characterCombo, &QComboBox::activated, this, [this] { selectCharacter(); });
    connect(ui_->characterFindEdit, &QLineEdit::textEdited, this, [this] { findCharacter(false); });
    connect(ui_->characterFindEdit, &QLineEdit::returnPressed, this,
            [this] { findCharacter(true); });
    for (const bool left : {true, false}) {
        QSpinBox* spin = left ? ui_->charBorderLeftSpin : ui_->charBorderRightSpin;
        connect(spin, &QSpinBox::textChanged, this, [this, left] { applyCharacterBorder(left); });
        connect(spin, &QAbstractSpinBox::editingFinished, this, [this] { session_->endRun(); });
    }
}

void BuilderDialog::chooseFace(int index) {
    // The entry of the font file in use is the current choice already.
    if (lists_->isFontFileEntry(index)) {
        session_->edit("Font", [](Document&) {});
    } else {
        session_->chooseInstalledFace(ui_->nameCombo->itemText(index).toStdString());
    }
    refresh();
}

void BuilderDialog::useFontFile() {
    // The dialog starts beside the font file in use, else where the other dialogs start.
    const std::string& current = project().font.fontFile;
    const QString proposed =
        current.empty()
            ? startFolder()
            : QFileInfo(QFile::decodeName(QByteArray::fromStdString(current))).absoluteFilePath();
    const std::optional<QString> chosen = prompts_.askFontFilePath(this, proposed);
    if (!chosen) {
        return;
    }
    const QString path = QFileInfo(*chosen).absoluteFilePath();
    const std::string file = QFile::encodeName(path).toStdString();
    const Result<std::vector<FontFileFace>> faces = session_->inspectFontFile(file);
    if (!succeeded(faces ? Status::success() : Status::failure(faces.message()),
                   tr("Could not use the font file"))) {
        return;
    }
    std::size_t pick = 0;
    if (faces->size() > 1) {
        QStringList captions;
        for (const FontFileFace& face : faces.value()) {
            captions.append(QString::fromStdString(EditingSession::faceCaption(face)));
        }
        const std::optional<qsizetype> answer =
            prompts_.askFontFace(this, QFileInfo(path).fileName(), captions);
        if (!answer || *answer < 0 || *answer >= captions.size()) {
            return;
        }
        pick = static_cast<std::size_t>(*answer);
    }
    recent_->rememberFolderOf(path);
    session_->useFontFile(file, faces.value()[pick]);
    refresh();
}

void BuilderDialog::editFallbacks() {
    FallbackDialog dialog(this, project().fallbacks, session_->renderer().faceNames(), [this] {
        std::optional<QString> path = prompts_.askFontFilePath(this, startFolder());
        if (path) {
            *path = QFileInfo(*path).absoluteFilePath();
        }
        return path;
    });
    if (dialog.exec() == QDialog::Accepted) {
        session_->setFallbacks(dialog.fallbacks());
        refresh();
    }
}

void BuilderDialog::selectCharacter() {
    const int index = ui_->characterCombo->currentIndex();
    lists_->showSelectedCharacter(project().glyphs);
    const Glyph* glyph =
        index >= 0 ? project().glyphs.glyphAt(static_cast<std::size_t>(index)) : nullptr;
    // A border outside the spins' range is kept as the spins show it.
    const std::int32_t left = ui_->charBorderLeftSpin->value();
    const std::int32_t right = ui_->charBorderRightSpin->value();
    if (glyph != nullptr && (left != glyph->charBorderLeft || right != glyph->charBorderRight)) {
        session_->setCharacterBorders(static_cast<std::size_t>(index), left, right);
        refresh();
    }
}

void BuilderDialog::findCharacter(bool next) {
    const QString query = ui_->characterFindEdit->text();
    const int found = lists_->findCharacter(query, next);
    // A query that names nothing in the list is marked; the selection stays.
    const bool missing = found < 0 && !query.trimmed().isEmpty();
    ui_->characterFindEdit->setStyleSheet(
        missing ? QStringLiteral("QLineEdit { background: #ffd9d9; }") : QString());
    if (found >= 0) {
        lists_->selectCharacter(found);
        selectCharacter();
    }
}

void BuilderDialog::applyCharacterBorder(bool left) {
    const int index = ui_->characterCombo->currentIndex();
    if (index >= 0) {
        QSpinBox* spin = left ? ui_->charBorderLeftSpin : ui_->charBorderRightSpin;
        session_->setCharacterBorder(static_cast<std::size_t>(index), left, spin->value());
        refresh();
    }
}

void BuilderDialog::addCharacters() {
    AddCharactersDialog dialog(this);
    dialog.exec();
    // The typed text counts however the dialog was closed.
    succeeded(session_->addTypedText(utf16(dialog.characters())), tr("Could not add characters"));
    refresh();
}

void BuilderDialog::addCharacterSet() {
    // The counts are of the face the project uses now.
    const std::shared_ptr<const AtlasResult> atlas = waitForResult();
    if (atlas == nullptr) {
        return;
    }
    CharacterSetDialog dialog(atlas->fontCharacters, QString::fromStdString(atlas->fontName), this);
    if (dialog.exec() == QDialog::Accepted) {
        succeeded(session_->addCharacterSet(dialog.choice()), tr("Could not add characters"));
        refresh();
    }
}

void BuilderDialog::addCharactersFromFile() {
    if (const std::optional<QString> path = prompts_.askCharacterFilePath(this, startFolder())) {
        succeeded(session_->addCharactersFromFile(QFile::encodeName(*path).toStdString()),
                  tr("Could not add characters"));
        refresh();
    }
}

void BuilderDialog::removeCharacters() {
    AddCharactersDialog dialog(this, AddCharactersDialog::Purpose::Remove);
    if (dialog.exec() == QDialog::Accepted) {
        session_->removeTypedText(utf16(dialog.characters()));
        refresh();
    }
}

}  // namespace vemro
