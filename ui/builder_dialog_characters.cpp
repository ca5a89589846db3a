// The main window's character commands: adding typed text, Unicode blocks, the characters of a
// text file and the full charset; removing the selected character, typed ones and those the
// face lacks; and the status line's note of the characters the face lacks.

#include <QComboBox>
#include <QFile>
#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <string_view>

#include "engine/text/unicode_text.h"
#include "engine/text/windows1252.h"
#include "files/io/character_file.h"
#include "files/project/project_file.h"
#include "ui/add_characters_dialog.h"
#include "ui/builder_dialog.h"
#include "ui/character_caption.h"
#include "ui/character_set_dialog.h"
#include "ui/export_command.h"
#include "ui/file_prompts.h"
#include "ui/sentence.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

// How many of the characters the face lacks the status line shows.
constexpr std::size_t kMissingShown = 8;

QString count(std::size_t number) {
    return QLocale(QLocale::English).toString(qulonglong{number});
}

// The code points of text typed in Qt: surrogate pairs joined.
std::vector<char32_t> codePointsOf(const QString& text) {
    return joinUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                         static_cast<std::size_t>(text.size())));
}

QString characters(std::size_t number) {
    return number == 1 ? QObject::tr("1 character")
                       : QObject::tr("%1 characters").arg(count(number));
}

// What adding chosen characters did: added, already in the list, lacking from the face (left
// out of the blocks).
QString addedNote(std::size_t added, std::size_t already, std::size_t lacking, const QString& face,
                  const QStringList& blocks) {
    if (added == 0 && already == 0 && lacking > 0) {
        const QString named = blocks.size() <= 3 ? joinNames(blocks)
                                                 : QObject::tr("the %1 blocks").arg(blocks.size());
        return QObject::tr("%1 has none of the %2 of %3.").arg(face, characters(lacking), named);
    }
    if (added == 0 && lacking == 0 && already > 0) {
        return already == 1
                   ? QObject::tr("The character was in the list already.")
                   : QObject::tr("All %1 were in the list already.").arg(characters(already));
    }
    QStringList rest;
    if (already > 0) {
        rest.append(already == 1 ? QObject::tr("1 was in the list already")
                                 : QObject::tr("%1 were in the list already").arg(count(already)));
    }
    if (lacking > 0) {
        rest.append(QObject::tr("%1 lacks %2").arg(face, count(lacking)));
    }
    if (added == 0) {
        return rest.isEmpty() ? QObject::tr("Added no characters.")
                              : QObject::tr("Added no characters: %1.").arg(joinNames(rest));
    }
    return rest.isEmpty() ? QObject::tr("Added %1.").arg(characters(added))
                          : QObject::tr("Added %1; %2.").arg(characters(added), joinNames(rest));
}

}  // namespace

QString BuilderDialog::missingCharactersNote(const AtlasResult& result) {
    // Without a face every character would count; the font problem says that already.
    if (result.fontName.empty()) {
        return {};
    }
    const std::vector<char32_t> missing = charactersMissingFromFont(result);
    if (missing.empty()) {
        return {};
    }
    QStringList shown;
    for (std::size_t i = 0; i < std::min(missing.size(), kMissingShown); ++i) {
        shown.append(shownCharacter(missing[i]));
    }
    if (missing.size() > kMissingShown) {
        shown.append(QStringLiteral("..."));
    }
    const QString face = QString::fromStdString(result.fontName);
    return missing.size() == 1
               ? tr("1 character is not in %1: %2").arg(face, shown.join(QLatin1Char(' ')))
               : tr("%1 characters are not in %2: %3")
                     .arg(count(missing.size()), face, shown.join(QLatin1Char(' ')));
}

std::optional<std::size_t> BuilderDialog::addCharacters(const QString& text,
                                                        const std::vector<char32_t>& characters) {
    const auto fresh = static_cast<std::size_t>(
        std::count_if(characters.begin(), characters.end(),
                      [this](char32_t code) { return !document_.project.glyphs.contains(code); }));
    const std::size_t total = document_.project.glyphs.size() + fresh;
    if (total > static_cast<std::size_t>(kMaxProjectCharacters)) {
        prompts_.showError(this, tr("Could not add characters"),
                           tr("That would make %1 characters; a project holds at most %2.")
                               .arg(count(total), count(kMaxProjectCharacters)));
        return std::nullopt;
    }
    editProject(text, [&characters](Project& project) {
        for (const char32_t code : characters) {
            project.glyphs.addCharacter(code);
        }
    });
    return fresh;
}

void BuilderDialog::noteAdded(std::optional<std::size_t> added, std::size_t chosen,
                              std::size_t lacking, const QStringList& blocks) {
    if (!added) {
        return;
    }
    note_ = addedNote(*added, chosen - *added, lacking, QString::fromStdString(result_->fontName),
                      blocks);
    updateStatus();
}

void BuilderDialog::toolsAddCharacters() {
    AddCharactersDialog dialog(this);
    dialog.exec();
    // The typed text counts however the dialog was closed.
    addCharacters(tr("Add characters"),
                  distinctAddableCharacters(codePointsOf(dialog.characters())));
}

void BuilderDialog::toolsAddCharacterSet() {
    // The counts are of the face the project uses now.
    const std::shared_ptr<const AtlasResult> atlas = waitForResult();
    CharacterSetDialog dialog(atlas->fontCharacters, QString::fromStdString(atlas->fontName), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const CharacterSetDialog::Choice chosen = dialog.choice();
    noteAdded(addCharacters(tr("Add character set"), chosen.characters), chosen.characters.size(),
              chosen.lacking, chosen.blocks);
}

void BuilderDialog::toolsAddCharactersFromFile() {
    const std::optional<QString> path = prompts_.askCharacterFilePath(this, startFolder());
    if (!path) {
        return;
    }
    const Result<std::vector<char32_t>> read =
        readCharacterFile(QFile::encodeName(*path).toStdString());
    if (!read) {
        prompts_.showError(this, tr("Could not add characters"), sentence(read.message()));
        return;
    }
    noteAdded(addCharacters(tr("Add characters from file"), read.value()), read.value().size());
}

void BuilderDialog::toolsAddFullCharset() {
    editProject(tr("Add Torvyn Charset"), [](Project& project) {
        for (int code = 32; code <= 255; ++code) {
            project.glyphs.addCharacter(windows1252ToUnicode(static_cast<std::uint8_t>(code)));
        }
    });
}

void BuilderDialog::removeCharacters(const QString& text, const std::vector<char32_t>& characters) {
    editProject(text, [&characters](Project& project) {
        for (const char32_t code : characters) {
            project.glyphs.removeCharacter(code);
        }
    });
}

void BuilderDialog::toolsRemoveCharacter() {
    const int index = ui_->characterCombo->currentIndex();
    if (const Glyph* glyph = index >= 0
                                 ? document_.project.glyphs.glyphAt(static_cast<std::size_t>(index))
                                 : nullptr) {
        removeCharacters(tr("Remove character"), {glyph->code});
    }
}

void BuilderDialog::toolsRemoveCharacters() {
    AddCharactersDialog dialog(this, AddCharactersDialog::Purpose::Remove);
    if (dialog.exec() == QDialog::Accepted) {
        removeCharacters(tr("Remove characters"), codePointsOf(dialog.characters()));
    }
}

void BuilderDialog::toolsRemoveMissingCharacters() {
    const std::shared_ptr<const AtlasResult> atlas = waitForResult();
    if (!atlas->fontName.empty()) {
        removeCharacters(tr("Remove characters the face lacks"), charactersMissingFromFont(*atlas));
    }
}

}  // namespace vemro
