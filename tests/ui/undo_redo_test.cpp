// Edit > Undo and Redo over every kind of change to the project, the runs of spin edits that
// make one step, the saved state and the history across File > Open and New; and what the
// builder's kept font spares: a border change draws no character (counted by a fake renderer);
// a font that cannot be made is named in the status line.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

#include "engine/font/freetype_font_renderer.h"
#include "tests/fake_font_renderer.h"
#include "tests/ui/fake_file_prompts.h"
#include "tests/ui/ui_test_helpers.h"
#include "ui/builder_dialog.h"

namespace vemro::test {

namespace {

void addCharacters(const BuilderDialog& window, const QString& text) {
    whenModalDialogShows([text](QDialog* dialog) {
        typeText(child<QLineEdit>(*dialog, "charactersEdit"), text);
        child<QPushButton>(*dialog, "okButton")->click();
    });
    trigger(window, "actionAddCharacters");
}

bool canUndo(const BuilderDialog& window) {
    return child<QAction>(window, "actionUndo")->isEnabled();
}

bool canRedo(const BuilderDialog& window) {
    return child<QAction>(window, "actionRedo")->isEnabled();
}

struct State {
    Document document;
    std::shared_ptr<const AtlasResult> result;
};

}  // namespace

class UndoRedoTest : public QObject {
    Q_OBJECT

private slots:
    void undoAndRedoEveryKindOfChange();
    void spinEditsMakeOneStepUntilEditingEnds();
    void undoBackToSavedStateLeavesNothingToSave();
    void shortcutsReachTheProjectFromASpin();
    void borderChangesDrawNoCharacter();
    void fontThatCannotBeMadeIsNamedInStatusLine();

private:
    FreetypeFontRenderer renderer_;
};

void UndoRedoTest::undoAndRedoEveryKindOfChange() {
    FakeFilePrompts prompts;
    prompts.unsavedAnswer = FilePrompts::UnsavedChanges::Discard;
    BuilderDialog window(renderer_, prompts);
    window.show();
    const std::vector<std::function<void()>> changes = {
        [&] { click(child<QRadioButton>(window, "width128Radio")); },
        [&] { click(child<QRadioButton>(window, "height2048Radio")); },
        [&] { chooseItem(child<QComboBox>(window, "packerCombo"), 1); },
        [&] { typeInto(child<QSpinBox>(window, "spacingSpin"), QStringLiteral("12")); },
        [&] { click(child<QCheckBox>(window, "fitSizeCheck")); },
        [&] { click(child<QCheckBox>(window, "multiplePagesCheck")); },
        [&] { chooseItem(child<QComboBox>(window, "weightCombo"), 2); },
        [&] { typeInto(child<QSpinBox>(window, "borderTopSpin"), QStringLiteral("4")); },
        [&] { addCharacters(window, QStringLiteral("Hello")); },
        [&] {
            chooseItem(child<QComboBox>(window, "characterCombo"), 1);
            typeInto(child<QSpinBox>(window, "charBorderRightSpin"), QStringLiteral("5"));
        },
        [&] { trigger(window, "actionAddTorvynCharset"); },
        [&] { typeInto(child<QSpinBox>(window, "sizeSpin"), QStringLiteral("14")); },
        [&] { chooseItem(child<QComboBox>(window, "exportFormatCombo"), 3); },
        [&] { chooseItem(child<QComboBox>(window, "pageImageCombo"), 1); },
        [&] { click(child<QCheckBox>(window, "kerningCheck")); },
        [&] {
            auto* sample = child<QLineEdit>(window, "sampleTextEdit");
            sample->setFocus();
            QTest::keyClick(sample, Qt::Key_End);
            typeText(sample, QStringLiteral(" \u00C5V"));
        },
        [&] { trigger(window, "actionNew"); },
    };
    std::vector<State> states = {{window.document(), window.waitForResult()}};
    for (const auto& change : changes) {
        change();
        QVERIFY(!(window.document() == states.back().document));
        states.push_back({window.document(), window.waitForResult()});
    }

    // Back to the start one step at a time, and forward again: each step shows the project
    // it restores in every control and the atlas it had.
    const auto expectState = [&window](const State& state) {
        QVERIFY(window.document() == state.document);
        QVERIFY(*window.waitForResult() == *state.result);
        QCOMPARE(controlsDiffer(window, state.document), QString());
    };
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        QVERIFY(canUndo(window));
        trigger(window, "actionUndo");
        expectState(states[i - 1]);
    }
    QVERIFY(!canUndo(window));
    for (std::size_t i = 1; i < states.size(); ++i) {
        QVERIFY(canRedo(window));
        trigger(window, "actionRedo");
        expectState(states[i]);
    }
    QVERIFY(!canRedo(window));
}

void UndoRedoTest::spinEditsMakeOneStepUntilEditingEnds() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    const Document start = window.document();

    // Typing a number, or holding an arrow key, is one step; Enter ends the run.
    typeInto(child<QSpinBox>(window, "borderLeftSpin"), QStringLiteral("14"));
    auto* top = child<QSpinBox>(window, "borderTopSpin");
    typeInto(top, QStringLiteral("3"));
    QTest::keyClick(top, Qt::Key_Return);
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(top, Qt::Key_Up);
    }
    QCOMPARE(window.project().fontBorders, (FontBorders{.left = 14, .top = 8}));
    trigger(window, "actionUndo");
    QCOMPARE(window.project().fontBorders, (FontBorders{.left = 14, .top = 3}));
    trigger(window, "actionUndo");
    trigger(window, "actionUndo");
    QVERIFY(window.document() == start);
    QVERIFY(!canUndo(window));

    // A run that ends where it began leaves no step.
    auto* bottom = child<QSpinBox>(window, "borderBottomSpin");
    typeInto(bottom, QStringLiteral("2"));
    QTest::keyClick(bottom, Qt::Key_Down);
    QTest::keyClick(bottom, Qt::Key_Down);
    QVERIFY(!canUndo(window));
    QTest::keyClick(bottom, Qt::Key_Up);
    trigger(window, "actionUndo");
    QVERIFY(window.document() == start);
    QVERIFY(!canUndo(window));
}

void UndoRedoTest::undoBackToSavedStateLeavesNothingToSave() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeFilePrompts prompts;
    prompts.unsavedAnswer = FilePrompts::UnsavedChanges::Discard;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    prompts.savePath = dir.filePath(QStringLiteral("saved.fnt"));
    trigger(window, "actionSave");
    click(child<QRadioButton>(window, "height512Radio"));
    QVERIFY(window.hasUnsavedChanges());
    trigger(window, "actionUndo");
    QVERIFY(!window.hasUnsavedChanges());
    trigger(window, "actionUndo");
    QVERIFY(window.hasUnsavedChanges());
    trigger(window, "actionRedo");
    QVERIFY(!window.hasUnsavedChanges());

    // Opening a file starts a history of its own; a file that cannot be opened keeps the old.
    QVERIFY(!window.openProjectFile(dir.filePath(QStringLiteral("missing.fnt"))));
    QVERIFY(canUndo(window));
    QVERIFY(window.openProjectFile(*prompts.savePath));
    QVERIFY(!canUndo(window) && !canRedo(window));
}

void UndoRedoTest::shortcutsReachTheProjectFromASpin() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* size = child<QSpinBox>(window, "sizeSpin");
    typeInto(size, QStringLiteral("14"));

    // The keys take the step back and forth even while the spin's own text has something to
    // undo (were the spin to undo its text, that would be a new step, with nothing to redo).
    QTest::keyClick(size, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(size->text(), QStringLiteral("11"));
    QVERIFY(!canUndo(window) && canRedo(window));
    QTest::keyClick(size, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(window.project().font.size, 14);
    QTest::keyClick(size, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(size, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(size->text(), QStringLiteral("14"));
    QVERIFY(canUndo(window) && !canRedo(window));
}

void UndoRedoTest::borderChangesDrawNoCharacter() {
    testing::FakeFontRenderer fake;
    FakeFilePrompts prompts;
    BuilderDialog window(fake, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    QCOMPARE(window.waitForResult()->glyphsOutsideTexture, std::size_t{0});
    const int drawn = fake.renderCount;

    // Font borders, character borders and the texture size keep the font and its characters.
    typeInto(child<QSpinBox>(window, "borderLeftSpin"), QStringLiteral("3"));
    QTest::keyClick(child<QSpinBox>(window, "borderBottomSpin"), Qt::Key_Up);
    chooseItem(child<QComboBox>(window, "characterCombo"), 10);
    typeInto(child<QSpinBox>(window, "charBorderLeftSpin"), QStringLiteral("7"));
    click(child<QRadioButton>(window, "height128Radio"));
    trigger(window, "actionUndo");
    QCOMPARE(window.waitForResult()->fontBorders, (FontBorders{.left = 3, .bottom = 1}));
    QCOMPARE(fake.renderCount, drawn);

    // A new size is a new font: its characters are drawn.
    typeInto(child<QSpinBox>(window, "sizeSpin"), QStringLiteral("12"));
    window.waitForResult();
    QVERIFY(fake.renderCount > drawn);
}

void UndoRedoTest::fontThatCannotBeMadeIsNamedInStatusLine() {
    testing::FakeFontRenderer fake;
    fake.failure = "the font \"Gone Sans\" could not be made at 15 pixels: no file holds it";
    FakeFilePrompts prompts;
    BuilderDialog window(fake, prompts);
    window.show();
    auto* status = child<QLabel>(window, "statusLabel");
    // Named beside the count of glyphs outside the texture.
    click(child<QRadioButton>(window, "height64Radio"));
    typeInto(child<QSpinBox>(window, "borderLeftSpin"), QStringLiteral("16"));
    typeInto(child<QSpinBox>(window, "borderTopSpin"), QStringLiteral("16"));
    trigger(window, "actionAddTorvynCharset");
    QVERIFY(window.waitForResult()->glyphsOutsideTexture > 1);
    QCOMPARE(status->text(),
             QStringLiteral("The font \"Gone Sans\" could not be made at 15 pixels: "
                            "no file holds it. %1 glyphs lie partly or wholly "
                            "outside the 256 x 64 texture.")
                 .arg(window.waitForResult()->glyphsOutsideTexture));

    // Once a font can be made, the message goes.
    fake.failure.clear();
    typeInto(child<QSpinBox>(window, "sizeSpin"), QStringLiteral("6"));
    QVERIFY(window.waitForResult()->fontProblem.empty());
    QVERIFY2(!status->text().contains(QStringLiteral("Gone Sans")), qPrintable(status->text()));
}

}  // namespace vemro::test

QTEST_MAIN(vemro::test::UndoRedoTest)
#include "undo_redo_test.moc"
