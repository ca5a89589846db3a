// Faults a first-time user met: character borders left on screen from another project or
// another selection, which one click on a spin arrow wrote into the glyph now selected; and
// command shortcuts that a spin box's line edit kept for itself.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "engine/freetype_font_renderer.h"
#include "files/project_file.h"
#include "tests/ui/fake_file_prompts.h"
#include "tests/ui/ui_test_helpers.h"
#include "ui/builder_dialog.h"
#include "ui/preview_view.h"

namespace vemro::test {

namespace {

void addCharacters(const BuilderDialog& window, const QString& text) {
    whenModalDialogShows([text](QDialog* dialog) {
        typeText(child<QLineEdit>(*dialog, "charactersEdit"), text);
        child<QPushButton>(*dialog, "okButton")->click();
    });
    trigger(window, "actionAddCharacters");
}

// Clicks the up arrow of a spin, as a user does.
void clickUpArrow(QSpinBox* spin) {
    QTest::mouseClick(spin, Qt::LeftButton, Qt::NoModifier,
                      QPoint(spin->width() - 4, spin->height() / 4));
}

}  // namespace

class WindowFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void characterBordersShowOnlyTheSelectedGlyph();
    void commandShortcutsWorkFromEveryControl();

private:
    FreetypeFontRenderer renderer_;
};

void WindowFaultsTest::characterBordersShowOnlyTheSelectedGlyph() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ProjectFile stored;
    stored.faceName = renderer_.defaultFaceName();
    stored.glyphs = {{'A', 0, 0}, {'B', 0, 0}};
    const QString path = dir.filePath(QStringLiteral("stored.fnt"));
    QVERIFY(writeProjectFile(path.toStdString(), stored).ok());

    FakeFilePrompts prompts;
    prompts.unsavedAnswer = FilePrompts::UnsavedChanges::Discard;
    BuilderDialog window(renderer_, prompts);
    window.show();
    auto* characters = child<QComboBox>(window, "characterCombo");
    auto* left = child<QSpinBox>(window, "charBorderLeftSpin");
    auto* right = child<QSpinBox>(window, "charBorderRightSpin");
    const auto bordersOf = [&window](std::size_t index) {
        const Glyph& glyph = window.project().glyphs[index];
        return std::pair(glyph.charBorderLeft, glyph.charBorderRight);
    };

    // Nothing selected at start: the spins are empty and take no click.
    QVERIFY(!left->isEnabled() && left->text().isEmpty());
    addCharacters(window, QStringLiteral("AB"));
    QCOMPARE(controlsDiffer(window, window.project()), QString());
    chooseItem(characters, 0);
    typeInto(left, QStringLiteral("9"));
    typeInto(right, QStringLiteral("3"));
    QCOMPARE(bordersOf(0), std::pair(9, 3));

    // After Open nothing is selected, and a click on the empty spins changes nothing.
    QVERIFY(window.openProjectFile(path));
    QCOMPARE(characters->currentIndex(), -1);
    QCOMPARE(controlsDiffer(window, window.project()), QString());
    clickUpArrow(left);
    clickUpArrow(right);
    QCOMPARE(bordersOf(0), std::pair(0, 0));
    QVERIFY(!window.hasUnsavedChanges());
    // Selecting A shows the file's borders; a click changes the one border it is on.
    chooseItem(characters, 0);
    QCOMPARE(left->text(), QStringLiteral("0"));
    QCOMPARE(right->text(), QStringLiteral("0"));
    clickUpArrow(left);
    QCOMPARE(bordersOf(0), std::pair(1, 0));

    // Undo back to before the character B was selected and added...
    chooseItem(characters, 1);
    typeInto(right, QStringLiteral("5"));
    trigger(window, "actionNew");
    QVERIFY(window.project().glyphs.empty());
    QCOMPARE(controlsDiffer(window, window.project()), QString());
    // ... New leaves nothing selected, whatever Undo brings back.
    trigger(window, "actionUndo");
    QCOMPARE(window.project().glyphs.size(), std::size_t{2});
    QCOMPARE(characters->currentIndex(), -1);
    QCOMPARE(controlsDiffer(window, window.project()), QString());

    // A selection that Undo takes out of the list goes with it.
    trigger(window, "actionNew");
    addCharacters(window, QStringLiteral("x"));
    addCharacters(window, QStringLiteral("y"));
    chooseItem(characters, 1);
    QVERIFY(left->isEnabled());
    trigger(window, "actionUndo");
    QCOMPARE(characters->currentIndex(), -1);
    QCOMPARE(controlsDiffer(window, window.project()), QString());
    // Adding characters selects none of them.
    addCharacters(window, QStringLiteral("z"));
    QCOMPARE(characters->currentIndex(), -1);
    QVERIFY(!right->isEnabled() && right->text().isEmpty());
}

void WindowFaultsTest::commandShortcutsWorkFromEveryControl() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    addCharacters(window, QStringLiteral("Ab"));
    auto* characters = child<QComboBox>(window, "characterCombo");
    chooseItem(characters, 0);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const std::vector<QWidget*> controls = {
        child<QSpinBox>(window, "sizeSpin"),           child<QSpinBox>(window, "borderTopSpin"),
        child<QSpinBox>(window, "charBorderLeftSpin"), child<QSpinBox>(window, "zoomSpin"),
        child<QComboBox>(window, "nameCombo"),         characters,
        child<QSlider>(window, "zoomSlider"),          child<QCheckBox>(window, "italicCheck")};
    for (QWidget* control : controls) {
        control->setFocus();
        QCOMPARE(QApplication::focusWidget(), control);
        const int exports = prompts.exportAsks;
        const int saves = prompts.saveAsks;
        QTest::keyClick(control, Qt::Key_E, Qt::ControlModifier);
        QVERIFY2(prompts.exportAsks == exports + 1, qPrintable(control->objectName()));
        QTest::keyClick(control, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY2(prompts.saveAsks == saves + 1, qPrintable(control->objectName()));
        child<QSlider>(window, "zoomSlider")->setValue(300);
        QTest::keyClick(control, Qt::Key_0, Qt::ControlModifier);
        QVERIFY2(child<PreviewView>(window, "preview")->zoom() == 100,
                 qPrintable(control->objectName()));
    }

    // Typing and the keys that are no command still reach the spin.
    auto* size = child<QSpinBox>(window, "sizeSpin");
    typeInto(size, QStringLiteral("23"));
    QTest::keyClick(size, Qt::Key_Home);
    QTest::keyClick(size, Qt::Key_Delete);
    QTest::keyClicks(size, QStringLiteral("1"));
    QCOMPARE(window.project().font.size, 13);
    QVERIFY(characters->currentIndex() == 0 && window.project().glyphs.size() == 2);
}

}  // namespace vemro::test

QTEST_MAIN(vemro::test::WindowFaultsTest)
#include "window_faults_test.moc"
