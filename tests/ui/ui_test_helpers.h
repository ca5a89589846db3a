#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/project/glyph_list.h"
#include "engine/project/project.h"
#include "files/export/exporter.h"
#include "session/document_fields.h"
#include "ui/builder_dialog.h"

namespace vemro::test {

template <typename T>
T* child(const QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no child %s", name);
    }
    return found;
}

inline void trigger(const BuilderDialog& window, const char* actionName) {
    child<QAction>(window, actionName)->trigger();
}

// Chooses an entry as a user does in the open list: the selection moves and activated() fires.
inline void chooseItem(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// Clicks a radio button or check box on its indicator, as a user does (the middle of a button
// stretched by its layout lies beyond its caption and takes no click).
inline void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

// Types text into a widget one character at a time, characters beyond Latin-1 included.
inline void typeText(QWidget* widget, const QString& text) {
    for (const char32_t codePoint : text.toUcs4()) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&codePoint, 1),
                            Qt::NoModifier);
    }
}

// Replaces the text of a spin by typing, one keystroke at a time.
inline void typeInto(QSpinBox* spin, const QString& keys) {
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, keys);
}

inline std::vector<char32_t> codesOf(const GlyphList& glyphs) {
    std::vector<char32_t> codes;
    for (const Glyph& glyph : glyphs) {
        codes.push_back(glyph.code);
    }
    return codes;
}

// Whether the control of a row shows the value the row reads from the document: a spin's value,
// a check box's state, a list's selected value, the checked button of a group (none for a value
// no button offers), a colour named in a colour button's tool tip as #RRGGBB (and AA with an
// opacity), a line's text.
inline bool showsValue(const QWidget* control, const DocumentField& row, const FieldValue& value) {
    if (row.kind == FieldKind::Text) {
        return qobject_cast<const QLineEdit*>(control)->text().toStdString() ==
               std::get<std::string>(value);
    }
    if (row.kind == FieldKind::Colour) {
        const Rgba& colour = std::get<Rgba>(value);
        QString hex = QStringLiteral("#%1%2%3")
                          .arg(colour.colour.red, 2, 16, QLatin1Char('0'))
                          .arg(colour.colour.green, 2, 16, QLatin1Char('0'))
                          .arg(colour.colour.blue, 2, 16, QLatin1Char('0'));
        if (row.alpha) {
            hex += QStringLiteral("%1").arg(colour.alpha, 2, 16, QLatin1Char('0'));
        }
        return control->toolTip().contains(hex + QLatin1Char(' '), Qt::CaseInsensitive);
    }
    const std::int32_t number = std::get<std::int32_t>(value);
    if (const auto* spin = qobject_cast<const QSpinBox*>(control)) {
        return spin->value() == number;
    }
    if (const auto* check = qobject_cast<const QCheckBox*>(control)) {
        return check->isChecked() == (number != 0);
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        return combo->currentData().toInt() == number;
    }
    // A group of buttons, each captioned with its value.
    int checked = 0;
    for (const QAbstractButton* button : control->findChildren<QAbstractButton*>()) {
        checked = button->isChecked() ? button->text().toInt() : checked;
    }
    const std::vector<FieldChoice> choices = row.choices();
    const bool offered = std::any_of(choices.begin(), choices.end(),
                                     [number](const FieldChoice& c) { return c.value == number; });
    return checked == (offered ? number : 0);
}

// The first control that does not show the document, or an empty text when every one does:
// every control of the binding table (its value, and whether it is enabled where its row has a
// rule), the face, the character list and the borders of the selected character.
inline QString controlsDiffer(const BuilderDialog& window, const Document& document) {
    const Project& project = document.project;
    for (const DocumentField& row : documentFields()) {
        const auto* control = child<QWidget>(window, row.control);
        if (!showsValue(control, row, row.read(document))) {
            return QString::fromLatin1(row.control);
        }
        if (row.enabled != nullptr && control->isEnabled() != row.isEnabled(document)) {
            return QStringLiteral("%1 enabled").arg(QLatin1String(row.control));
        }
    }
    // An installed face is its entry of the "Name" list; a font file the first entry, which
    // names the file.
    const FontSettings& font = project.font;
    auto* name = child<QComboBox>(window, "nameCombo");
    const QString fileName = QFileInfo(QString::fromStdString(font.fontFile)).fileName();
    if (font.fontFile.empty()
            ? name->currentText().toStdString() != font.faceName
            : name->currentIndex() != 0 || !name->currentText().contains(fileName)) {
        return QStringLiteral("face");
    }
    auto* characters = child<QComboBox>(window, "characterCombo");
    if (characters->count() != static_cast<int>(project.glyphs.size())) {
        return QStringLiteral("character list length");
    }
    // Each entry ends in the character's code as U+ and four or more hex digits.
    for (int i = 0; i < characters->count(); ++i) {
        const char32_t code = project.glyphs[static_cast<std::size_t>(i)].code;
        const QString number = QString::number(static_cast<uint>(code), 16).toUpper();
        if (!characters->itemText(i).endsWith(QStringLiteral("U+") +
                                              number.rightJustified(4, QLatin1Char('0')))) {
            return QStringLiteral("character entry %1").arg(i);
        }
    }
    // The border spins show the selected glyph's borders, or nothing at all.
    auto* left = child<QSpinBox>(window, "charBorderLeftSpin");
    auto* right = child<QSpinBox>(window, "charBorderRightSpin");
    const int selected = characters->currentIndex();
    const Glyph* glyph =
        selected >= 0 ? project.glyphs.glyphAt(static_cast<std::size_t>(selected)) : nullptr;
    if (glyph == nullptr) {
        if (left->isEnabled() || right->isEnabled() || !left->text().isEmpty() ||
            !right->text().isEmpty()) {
            return QStringLiteral("character borders without a selection");
        }
    } else if (!left->isEnabled() || !right->isEnabled() ||
               left->text() != QString::number(std::clamp(glyph->charBorderLeft, 0, 16)) ||
               right->text() != QString::number(std::clamp(glyph->charBorderRight, 0, 16))) {
        return QStringLiteral("character borders");
    }
    return {};
}

// Where the export dialog lists the format with that command-line name.
inline qsizetype exportFormatIndex(const char* name) {
    const std::vector<const Exporter*>& exporters = registeredExporters();
    const auto found = std::find(exporters.begin(), exporters.end(), findExporter(name));
    if (found == exporters.end()) {
        qFatal("no export format %s", name);
    }
    return found - exporters.begin();
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

// Runs action on the modal dialog that the next event loop shows (polls until it is up).
inline void whenModalDialogShows(std::function<void(QDialog*)> action) {
    QTimer::singleShot(0, [action] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            action(dialog);
        } else {
            whenModalDialogShows(action);
        }
    });
}

}  // namespace vemro::test
