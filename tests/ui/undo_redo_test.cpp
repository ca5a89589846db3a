// Edit > Undo and Redo in the window: the typing and arrow keys in a spin make one step until
// Enter or leaving the spin ends it, and the keys reach the project's history from a spin. The
// history itself is the session's (tests/session).

#include <QSpinBox>
#include <QTest>

#include "engine/font/freetype_font_renderer.h"
#include "tests/ui/fake_file_prompts.h"
#include "tests/ui/ui_test_helpers.h"
#include "ui/builder_dialog.h"

namespace vemro::test {

namespace {

bool canUndo(const BuilderDialog& window) {
    return child<QAction>(window, "actionUndo")->isEnabled();
}

bool canRedo(const BuilderDialog& window) {
    return child<QAction>(window, "actionRedo")->isEnabled();
}

}  // namespace

class UndoRedoTest : public QObject {
    Q_OBJECT

private slots:
    void spinEditsMakeOneStepUntilEditingEnds();
    void shortcutsReachTheProjectFromASpin();

private:
    FreetypeFontRenderer renderer_;
};

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

}  // namespace vemro::test

QTEST_MAIN(vemro::test::UndoRedoTest)
#include "undo_redo_test.moc"
