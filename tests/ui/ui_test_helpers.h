#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/glyph_list.h"
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

inline std::vector<std::uint8_t> codesOf(const GlyphList& glyphs) {
    std::vector<std::uint8_t> codes;
    for (const Glyph& glyph : glyphs) {
        codes.push_back(glyph.code);
    }
    return codes;
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
