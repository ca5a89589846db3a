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

// The first control that does not show the document, or an empty text when every one does.
inline QString controlsDiffer(const BuilderDialog& window, const Document& document) {
    const Project& project = document.project;
    const auto checkedSide = [&window](const char* group) {
        for (const int side : {64, 128, 256, 512, 1024, 2048, 4096}) {
            const QString name = QStringLiteral("%1%2Radio").arg(QLatin1String(group)).arg(side);
            if (child<QAbstractButton>(window, qPrintable(name))->isChecked()) {
                return side;
            }
        }
        return 0;
    };
    // The powers of two from 64 to 4096.
    const auto offered = [](int side) {
        return side >= 64 && side <= 4096 && (side & (side - 1)) == 0 ? side : 0;
    };
    if (checkedSide("width") != offered(project.textureSize.width) ||
        checkedSide("height") != offered(project.textureSize.height)) {
        return QStringLiteral("texture size");
    }
    const auto spin = [&window](const char* name) {
        return child<QSpinBox>(window, name)->value();
    };
    const FontBorders& borders = project.fontBorders;
    if (spin("borderLeftSpin") != borders.left || spin("borderTopSpin") != borders.top ||
        spin("borderRightSpin") != borders.right || spin("borderBottomSpin") != borders.bottom) {
        return QStringLiteral("font borders");
    }
    const FontSettings& font = project.font;
    const auto data = [&window](const char* name) {
        return child<QComboBox>(window, name)->currentData().toInt();
    };
    if (spin("sizeSpin") != font.size || data("weightCombo") != font.weight ||
        data("qualityCombo") != font.quality || data("factorCombo") != font.factor ||
        child<QCheckBox>(window, "italicCheck")->isChecked() != font.italic) {
        return QStringLiteral("font settings");
    }
    const PackingSettings& packing = project.packing;
    if (data("packerCombo") != static_cast<int>(packing.packer) ||
        spin("spacingSpin") != packing.spacing ||
        child<QCheckBox>(window, "fitSizeCheck")->isChecked() != packing.fitSize ||
        child<QCheckBox>(window, "multiplePagesCheck")->isChecked() != packing.multiplePages) {
        return QStringLiteral("packing");
    }
    const ExportSettings& exported = document.exportSettings;
    if (data("exportFormatCombo") != static_cast<int>(exported.format) ||
        data("pageImageCombo") != static_cast<int>(exported.image) ||
        child<QCheckBox>(window, "kerningCheck")->isChecked() != project.kerning) {
        return QStringLiteral("export settings");
    }
    if (child<QLineEdit>(window, "sampleTextEdit")->text().toStdString() != document.sampleText) {
        return QStringLiteral("sample text");
    }
    const EffectSettings& effects = project.effects;
    const auto checked = [&window](const char* name) {
        return child<QCheckBox>(window, name)->isChecked();
    };
    // Each colour button names its colour, as #RRGGBB (and AA for the shadow), in its tool tip.
    const auto names = [&window](const char* name, const Rgb& colour, int alpha) {
        QString hex = QStringLiteral("#%1%2%3")
                          .arg(colour.red, 2, 16, QLatin1Char('0'))
                          .arg(colour.green, 2, 16, QLatin1Char('0'))
                          .arg(colour.blue, 2, 16, QLatin1Char('0'));
        if (alpha >= 0) {
            hex += QStringLiteral("%1").arg(alpha, 2, 16, QLatin1Char('0'));
        }
        return child<QWidget>(window, name)->toolTip().contains(hex, Qt::CaseInsensitive);
    };
    if (checked("outlineCheck") != effects.outline || checked("shadowCheck") != effects.shadow ||
        checked("distanceFieldCheck") != effects.distanceField ||
        spin("outlineWidthSpin") != effects.outlineWidth ||
        spin("shadowXSpin") != effects.shadowX || spin("shadowYSpin") != effects.shadowY ||
        spin("shadowBlurSpin") != effects.shadowBlur || spin("spreadSpin") != effects.spread ||
        !names("fillColourButton", effects.fill, -1) ||
        !names("outlineColourButton", effects.outlineColour, -1) ||
        !names("shadowColourButton", effects.shadowColour, effects.shadowOpacity) ||
        child<QComboBox>(window, "factorCombo")->isEnabled() == effects.distanceField) {
        return QStringLiteral("effects");
    }
    // An installed face is its entry of the "Name" list; a font file the first entry, which
    // names the file.
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
