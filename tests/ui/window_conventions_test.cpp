// What a first-time user expects of the window. Faults: character borders left on screen from
// another project or selection, which one click on a spin arrow wrote into the glyph selected
// now; command shortcuts that a spin box's line edit kept for itself. Desktop conventions: Save
// writes to the project's file and Save As always asks; the title names the file and marks
// unsaved work; the dialogs start in the project's folder; Open Recent keeps the last eight
// projects across sessions; Export asks about characters it would cut and once about every
// file it replaces, and says what it wrote.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "engine/font/freetype_font_renderer.h"
#include "files/project/project_file.h"
#include "files/project/project_opener.h"
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

QByteArray bytesOf(const Document& document) {
    const std::vector<std::uint8_t> bytes = encodeProjectFile(projectFileFor(document));
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

QString titleFor(const QString& name) {
    return name + QStringLiteral("[*] - Vemro Font builder");
}

// The entries of File > Open Recent before its separator.
QStringList recentEntries(const BuilderDialog& window) {
    QStringList texts;
    for (const QAction* action : child<QMenu>(window, "menuOpenRecent")->actions()) {
        if (action->isSeparator()) {
            break;
        }
        texts.append(action->text());
    }
    return texts;
}

}  // namespace

class WindowConventionsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }
    void characterBordersShowOnlyTheSelectedGlyph();
    void commandShortcutsWorkFromEveryControl();
    void saveWritesToTheProjectsFileAndSaveAsAlwaysAsks();
    void openRecentKeepsTheLastEightProjects();
    void exportAsksAboutCutCharactersAndEveryFileItReplaces();

private:
    FreetypeFontRenderer renderer_;
};

// The random walk checks after every action that the spins show the selected glyph or nothing.
void WindowConventionsTest::characterBordersShowOnlyTheSelectedGlyph() {
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
    const auto bordersOfA = [&window] {
        const Glyph& glyph = window.project().glyphs[0];
        return std::pair(glyph.charBorderLeft, glyph.charBorderRight);
    };
    addCharacters(window, QStringLiteral("AB"));
    chooseItem(characters, 0);
    typeInto(left, QStringLiteral("9"));
    typeInto(right, QStringLiteral("3"));

    // After Open nothing is selected, the spins are empty, and clicks on them change nothing.
    QVERIFY(window.openProjectFile(path));
    QCOMPARE(characters->currentIndex(), -1);
    QVERIFY(!left->isEnabled() && left->text().isEmpty() && right->text().isEmpty());
    clickUpArrow(left);
    clickUpArrow(right);
    QCOMPARE(bordersOfA(), std::pair(0, 0));
    // Selecting A shows the file's borders; a click changes the one border it is on.
    chooseItem(characters, 0);
    QCOMPARE(left->text(), QStringLiteral("0"));
    QCOMPARE(right->text(), QStringLiteral("0"));
    clickUpArrow(left);
    QCOMPARE(bordersOfA(), std::pair(1, 0));

    // New, and Undo of it, leave nothing selected.
    trigger(window, "actionNew");
    QVERIFY(!right->isEnabled() && right->text().isEmpty());
    trigger(window, "actionUndo");
    QCOMPARE(characters->currentIndex(), -1);
    QCOMPARE(controlsDiffer(window, window.document()), QString());
}

void WindowConventionsTest::commandShortcutsWorkFromEveryControl() {
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

void WindowConventionsTest::saveWritesToTheProjectsFileAndSaveAsAlwaysAsks() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString first = dir.filePath(QStringLiteral("first.fnt"));
    FakeFilePrompts prompts;
    prompts.unsavedAnswer = FilePrompts::UnsavedChanges::Discard;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    QVERIFY(window.isWindowModified());

    // A new project has no file: Save asks, starting in the folder used last (none yet).
    prompts.savePath = first;
    trigger(window, "actionSave");
    QCOMPARE(prompts.proposedSave, QDir::homePath());
    QCOMPARE(window.windowTitle(), titleFor(QStringLiteral("first.fnt")));
    QVERIFY(!window.isWindowModified());

    // Once it has a file, Save writes there without asking.
    click(child<QRadioButton>(window, "width128Radio"));
    QVERIFY(window.isWindowModified());
    trigger(window, "actionSave");
    QCOMPARE(prompts.saveAsks, 1);
    QCOMPARE(fileBytes(first), bytesOf(window.document()));
    QVERIFY(!window.isWindowModified());

    // Save As always asks, starting at the project's file; the new file becomes the project's.
    const QByteArray firstBytes = fileBytes(first);
    click(child<QRadioButton>(window, "height64Radio"));
    prompts.savePath = dir.filePath(QStringLiteral("second.fnt"));
    trigger(window, "actionSaveAs");
    QCOMPARE(prompts.saveAsks, 2);
    QCOMPARE(prompts.proposedSave, first);
    QCOMPARE(window.windowTitle(), titleFor(QStringLiteral("second.fnt")));
    QCOMPARE(fileBytes(*prompts.savePath), bytesOf(window.document()));
    QCOMPARE(fileBytes(first), firstBytes);

    // Open and Export start in the project's folder; Export proposes the project's name.
    trigger(window, "actionOpen");
    QCOMPARE(prompts.proposedOpen, dir.path());
    trigger(window, "actionExportFont");
    QCOMPARE(prompts.proposedExport, dir.filePath(QStringLiteral("second.tga")));

    // A new project has no file again; its dialogs start in the folder used last.
    trigger(window, "actionNew");
    QCOMPARE(window.windowTitle(), titleFor(QStringLiteral("Untitled")));
    trigger(window, "actionSave");
    QCOMPARE(prompts.saveAsks, 3);
    QCOMPARE(prompts.proposedSave, dir.path());
}

void WindowConventionsTest::openRecentKeepsTheLastEightProjects() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList paths;
    for (int i = 0; i < 10; ++i) {
        ProjectFile project;
        project.faceName = renderer_.defaultFaceName();
        project.glyphs = {{static_cast<std::uint8_t>('a' + i), 0, 0}};
        paths.append(dir.filePath(QStringLiteral("p%1.fnt").arg(i)));
        QVERIFY(writeProjectFile(paths.back().toStdString(), project).ok());
    }
    const auto entries = [&paths](std::initializer_list<int> order) {
        QStringList texts;
        for (const int i : order) {
            texts.append(QStringLiteral("&%1 %2").arg(texts.size() + 1).arg(paths[i]));
        }
        return texts;
    };

    FakeFilePrompts prompts;
    {
        BuilderDialog window(renderer_, prompts);
        QVERIFY(!child<QMenu>(window, "menuOpenRecent")->menuAction()->isEnabled());
        for (const QString& path : paths) {
            QVERIFY(window.openProjectFile(path));
        }
        QVERIFY(window.openProjectFile(paths[5]));
        QVERIFY(!window.openProjectFile(dir.filePath(QStringLiteral("missing.fnt"))));
    }

    // The next session offers the list; an entry opens its project and comes first.
    BuilderDialog window(renderer_, prompts);
    QCOMPARE(recentEntries(window), entries({5, 9, 8, 7, 6, 4, 3, 2}));
    child<QMenu>(window, "menuOpenRecent")->actions().at(6)->trigger();
    QCOMPARE(codesOf(window.project().glyphs), std::vector<char32_t>{U'd'});
    QCOMPARE(recentEntries(window), entries({3, 5, 9, 8, 7, 6, 4, 2}));

    child<QAction>(window, "actionClearRecent")->trigger();
    QVERIFY(recentEntries(window).isEmpty());
    QVERIFY(!child<QMenu>(window, "menuOpenRecent")->menuAction()->isEnabled());
}

void WindowConventionsTest::exportAsksAboutCutCharactersAndEveryFileItReplaces() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString image = dir.filePath(QStringLiteral("font.tga"));
    const QString description = dir.filePath(QStringLiteral("font.tfd"));
    const QString folder = QDir::toNativeSeparators(dir.path());
    FakeFilePrompts prompts;
    prompts.exportPath = image;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    click(child<QRadioButton>(window, "height64Radio"));
    const std::size_t outside = window.waitForResult()->glyphsOutsideTexture;
    QVERIFY(outside > 1);

    // No to cutting stops before the path is asked for.
    prompts.confirmAnswer = false;
    trigger(window, "actionExportFont");
    QCOMPARE(prompts.questions, QStringList{QStringLiteral("%1 characters lie outside the 256 x "
                                                           "64 texture and will be cut: export "
                                                           "anyway?")
                                                .arg(outside)});
    QCOMPARE(prompts.exportAsks, 0);

    // Both files exist: one question names both; No keeps them, Yes replaces both and the
    // status line says so.
    click(child<QRadioButton>(window, "height512Radio"));
    for (const QString& path : {image, description}) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    }
    for (const bool answer : {false, true}) {
        prompts.questions.clear();
        prompts.confirmAnswer = answer;
        trigger(window, "actionExportFont");
        QCOMPARE(prompts.questions, QStringList{QStringLiteral("font.tga and font.tfd already "
                                                               "exist in %1. Replace them?")
                                                    .arg(folder)});
        QCOMPARE(fileBytes(image) == "old" && fileBytes(description) == "old", !answer);
    }
    QCOMPARE(fileBytes(image).size(), qsizetype{18 + 4 * 256 * 512});
    QVERIFY(fileBytes(description).startsWith("// TORVYN Ravfont."));
    auto* status = child<QLabel>(window, "statusLabel");
    // First in the line, before the note of the characters the face lacks.
    QVERIFY2(status->text().startsWith(QStringLiteral("Exported font.tga and font.tfd. ")),
             qPrintable(status->text()));
    // The note goes with the next change.
    click(child<QRadioButton>(window, "width512Radio"));
    window.waitForResult();
    QVERIFY2(!status->text().contains(QStringLiteral("Exported")), qPrintable(status->text()));
}

}  // namespace vemro::test

QTEST_MAIN(vemro::test::WindowConventionsTest)
#include "window_conventions_test.moc"
