// File > Save, Open and Export Font through the window: every control's setting saved at its
// place in the file and shown again when opened, the export dialog's start and the names it
// proposes, values a file asks for named in the window, and cancelled prompts. What the commands
// do with the files is the session's (tests/session).

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "engine/font/freetype_font_renderer.h"
#include "files/project/project_file.h"
#include "files/project/project_opener.h"
#include "tests/ui/fake_file_prompts.h"
#include "tests/ui/ui_test_helpers.h"
#include "ui/builder_dialog.h"
#include "ui/qt_file_prompts.h"

namespace vemro::test {

namespace {

QString writeProject(const QTemporaryDir& dir, const QString& name, const ProjectFile& project) {
    const QString path = dir.filePath(name);
    const Status status = writeProjectFile(path.toStdString(), project);
    if (!status) {
        qFatal("cannot write %s: %s", qPrintable(path), status.message().c_str());
    }
    return path;
}

}  // namespace

class ProjectCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void saveThenOpenGivesSameBytes();
    void openShowsStoredValues();
    void openWithUnofferedTextureSideSelectsNoButton();
    void exportDialogStartsAtTheStoredFormatAndNeverProposesTheProject();
    void unmatchedValuesAreNamedInWindow();
    void cancelledPromptsDoNothing();

private:
    FreetypeFontRenderer renderer_;
};

void ProjectCommandsTest::saveThenOpenGivesSameBytes() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeFilePrompts prompts;
    BuilderDialog first(renderer_, prompts);
    first.show();

    // Every stored setting away from its default, set through the controls.
    click(child<QRadioButton>(first, "width128Radio"));
    click(child<QRadioButton>(first, "height512Radio"));
    typeInto(child<QSpinBox>(first, "borderLeftSpin"), QStringLiteral("1"));
    typeInto(child<QSpinBox>(first, "borderTopSpin"), QStringLiteral("2"));
    typeInto(child<QSpinBox>(first, "borderRightSpin"), QStringLiteral("3"));
    typeInto(child<QSpinBox>(first, "borderBottomSpin"), QStringLiteral("4"));
    typeInto(child<QSpinBox>(first, "sizeSpin"), QStringLiteral("14"));
    chooseItem(child<QComboBox>(first, "weightCombo"), 2);
    chooseItem(child<QComboBox>(first, "qualityCombo"), 1);
    chooseItem(child<QComboBox>(first, "factorCombo"), 1);
    click(child<QCheckBox>(first, "italicCheck"));
    auto* name = child<QComboBox>(first, "nameCombo");
    chooseItem(name, name->count() - 1);
    trigger(first, "actionAddTorvynCharset");
    chooseItem(child<QComboBox>(first, "characterCombo"), 33);
    typeInto(child<QSpinBox>(first, "charBorderLeftSpin"), QStringLiteral("5"));
    typeInto(child<QSpinBox>(first, "charBorderRightSpin"), QStringLiteral("16"));

    prompts.savePath = dir.filePath(QStringLiteral("first.fnt"));
    trigger(first, "actionSave");
    QVERIFY(prompts.errors.isEmpty());
    QVERIFY(!first.hasUnsavedChanges());
    const QByteArray saved = fileBytes(*prompts.savePath);
    const std::string face = first.project().font.faceName;
    QCOMPARE(saved.size(), static_cast<qsizetype>(53 + face.size() + 9 * 224));
    // Texture width 128 leads the file, the face name sits at 48, record 33 is "A" (5, 16).
    QCOMPARE(saved.left(4), QByteArray::fromHex("80000000"));
    QCOMPARE(saved.mid(48, static_cast<qsizetype>(face.size())).toStdString(), face);
    const qsizetype recordA = 53 + static_cast<qsizetype>(face.size()) + 9 * 33;
    QCOMPARE(saved.mid(recordA, 9), QByteArray::fromHex("410500000010000000"));

    FakeFilePrompts secondPrompts;
    BuilderDialog second(renderer_, secondPrompts);
    second.show();
    secondPrompts.openPath = *prompts.savePath;
    trigger(second, "actionOpen");
    QVERIFY(secondPrompts.errors.isEmpty());
    QVERIFY(!second.hasUnsavedChanges());
    QVERIFY(second.document() == first.document());
    QVERIFY(*second.waitForResult() == *first.waitForResult());

    secondPrompts.savePath = dir.filePath(QStringLiteral("second.fnt"));
    trigger(second, "actionSaveAs");
    QCOMPARE(fileBytes(*secondPrompts.savePath), saved);
}

void ProjectCommandsTest::openShowsStoredValues() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::vector<std::string>& faces = renderer_.faceNames();
    ProjectFile project;
    project.textureWidth = 128;
    project.textureHeight = 512;
    project.borderLeft = 20;  // brought into 0..16 as the spin takes it
    project.borderTop = 3;
    project.size = 30;
    project.weight = 600;
    project.quality = 3;
    project.factor = 3;
    project.italic = 1;
    // A face name in other letter case selects the installed face.
    project.faceName = QString::fromStdString(faces.back()).toUpper().toStdString();
    project.glyphs = {{'B', 20, 1}, {'B', 0, 0}, {233, 0, 2}};
    const QString path = writeProject(dir, QStringLiteral("stored.fnt"), project);

    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    QVERIFY(window.openProjectFile(path));
    QVERIFY(prompts.errors.isEmpty());
    QCOMPARE(controlsDiffer(window, window.document()), QString());

    QVERIFY(child<QRadioButton>(window, "width128Radio")->isChecked());
    QVERIFY(child<QRadioButton>(window, "height512Radio")->isChecked());
    QCOMPARE(window.project().textureSize, (AtlasSize{128, 512}));
    QCOMPARE(window.waitForResult()->textureSize, (AtlasSize{128, 512}));
    QCOMPARE(child<QSpinBox>(window, "borderLeftSpin")->value(), 16);
    QCOMPARE(window.project().fontBorders, (FontBorders{.left = 16, .top = 3}));
    QCOMPARE(child<QSpinBox>(window, "sizeSpin")->value(), 30);
    QCOMPARE(child<QComboBox>(window, "weightCombo")->currentText(), QStringLiteral("Medium"));
    QCOMPARE(child<QComboBox>(window, "qualityCombo")->currentText(),
             QStringLiteral("non-Antialiased"));
    QCOMPARE(child<QComboBox>(window, "factorCombo")->currentText(), QStringLiteral("3x3"));
    QVERIFY(child<QCheckBox>(window, "italicCheck")->isChecked());
    QCOMPARE(window.project().font.faceName, faces.back());
    QVERIFY(child<QLabel>(window, "loadMessageLabel")->isHidden());

    // Records stay as stored: the repeated code and the character border of 20.
    const GlyphList& glyphs = window.project().glyphs;
    QCOMPARE(codesOf(glyphs), (std::vector<char32_t>{U'B', U'B', U'\u00E9'}));
    QCOMPARE(glyphs[0].charBorderLeft, 20);
    auto* characters = child<QComboBox>(window, "characterCombo");
    QCOMPARE(characters->count(), 3);
    QCOMPARE(characters->itemText(2), QStringLiteral("\u00E9  U+00E9"));

    // Showing the stored 20 in its spin brings it to 16, the value the spin shows.
    chooseItem(characters, 0);
    QCOMPARE(child<QSpinBox>(window, "charBorderLeftSpin")->value(), 16);
    QCOMPARE(glyphs[0].charBorderLeft, 16);
    QCOMPARE(glyphs[0].charBorderRight, 1);
}

void ProjectCommandsTest::openWithUnofferedTextureSideSelectsNoButton() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ProjectFile project;
    project.textureWidth = 300;
    project.textureHeight = 64;
    project.faceName = renderer_.faceNames().front();
    const QString path = writeProject(dir, QStringLiteral("odd.fnt"), project);

    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    QVERIFY(window.openProjectFile(path));
    QCOMPARE(window.project().textureSize, (AtlasSize{300, 64}));
    for (const char* name : {"width64Radio", "width128Radio", "width256Radio", "width512Radio"}) {
        QVERIFY2(!child<QRadioButton>(window, name)->isChecked(), name);
    }
    QVERIFY(child<QRadioButton>(window, "height64Radio")->isChecked());

    // A height button changes only the height.
    click(child<QRadioButton>(window, "height256Radio"));
    QCOMPARE(window.project().textureSize, (AtlasSize{300, 256}));
}

void ProjectCommandsTest::exportDialogStartsAtTheStoredFormatAndNeverProposesTheProject() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    chooseItem(child<QComboBox>(window, "pageImageCombo"), 1);
    trigger(window, "actionAddTorvynCharset");

    // The dialog starts at the stored .tfd format; the user picks BMFont text, which the
    // "Export" tab then shows, and which Undo takes back.
    const qsizetype text = exportFormatIndex("bmfont-text");
    prompts.exportFormat = text;
    prompts.exportPath = dir.filePath(QStringLiteral("game.png"));
    trigger(window, "actionExportFont");
    QVERIFY2(prompts.errors.isEmpty(), qPrintable(prompts.errors.join(QLatin1Char('\n'))));
    QCOMPARE(prompts.selectedExportFormat, exportFormatIndex("tfd"));
    QCOMPARE(prompts.exportFormats.size(), qsizetype{5});
    QCOMPARE(prompts.exportFormats.front().extension, QStringLiteral("tga"));
    QCOMPARE(window.document().exportSettings.format, DescriptorFormat::BmfontText);
    QCOMPARE(controlsDiffer(window, window.document()), QString());
    trigger(window, "actionUndo");
    QCOMPARE(window.document().exportSettings.format, DescriptorFormat::Tfd);
    QCOMPARE(controlsDiffer(window, window.document()), QString());
    trigger(window, "actionRedo");

    // Saved, the project starts the dialog at BMFont text, proposing a name other than its own
    // file; over the project itself the export is refused before any question.
    prompts.savePath = dir.filePath(QStringLiteral("game.fnt"));
    trigger(window, "actionSave");
    prompts.exportPath.reset();
    trigger(window, "actionExportFont");
    QCOMPARE(prompts.selectedExportFormat, text);
    QCOMPARE(prompts.proposedExport, dir.filePath(QStringLiteral("game-export.fnt")));
    prompts.exportPath = *prompts.savePath;
    trigger(window, "actionExportFont");
    QCOMPARE(prompts.errors.size(), 1);
    QVERIFY(prompts.questions.isEmpty());
    QVERIFY(!window.hasUnsavedChanges());

    // Stored as .tfd again, the desktop's dialog switched to BMFont text proposes the export's
    // name rather than the project's; cancelled, it leaves the project as it was.
    chooseItem(child<QComboBox>(window, "exportFormatCombo"),
               static_cast<int>(exportFormatIndex("tfd")));
    trigger(window, "actionSave");
    QtFilePrompts desktop;
    BuilderDialog third(renderer_, desktop);
    third.show();
    QVERIFY(third.openProjectFile(*prompts.savePath));
    QStringList names;
    whenModalDialogShows([&names](QDialog* dialog) {
        auto* name = child<QLineEdit>(*dialog, "fileNameEdit");
        auto* type = child<QComboBox>(*dialog, "fileTypeCombo");
        names.append(name->text());
        type->setFocus();
        while (type->currentIndex() < exportFormatIndex("bmfont-text")) {
            QTest::keyClick(type, Qt::Key_Down);
        }
        names.append(name->text());
        dialog->reject();
    });
    trigger(third, "actionExportFont");
    QCOMPARE(names, (QStringList{QStringLiteral("game.tga"), QStringLiteral("game-export.fnt")}));
    QVERIFY(!third.hasUnsavedChanges());
}

void ProjectCommandsTest::unmatchedValuesAreNamedInWindow() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ProjectFile strange;
    strange.faceName = "No Such Face Anywhere";
    strange.weight = 500;
    strange.factor = 8;
    strange.glyphs = {{'x', 0, 0}};
    const QString strangePath = writeProject(dir, QStringLiteral("strange.fnt"), strange);
    ProjectFile plain;
    plain.faceName = renderer_.faceNames().front();
    const QString plainPath = writeProject(dir, QStringLiteral("plain.fnt"), plain);

    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    auto* name = child<QComboBox>(window, "nameCombo");
    const int lastFace = name->count() - 1;
    chooseItem(name, lastFace);
    chooseItem(child<QComboBox>(window, "weightCombo"), 2);
    const FontSettings before = window.project().font;

    QVERIFY(window.openProjectFile(strangePath));
    // Told in the window, not in a message box; the unmatched controls keep their choice.
    QVERIFY(prompts.errors.isEmpty());
    auto* message = child<QLabel>(window, "loadMessageLabel");
    QVERIFY(message->isVisible());
    for (const char* expected : {"strange.fnt", "No Such Face Anywhere", "500", "8"}) {
        QVERIFY2(message->text().contains(QLatin1String(expected)), expected);
    }
    QCOMPARE(name->currentIndex(), lastFace);
    QCOMPARE(window.project().font.weight, before.weight);
    QCOMPARE(window.project().font.factor, 1);
    QVERIFY(!window.hasUnsavedChanges());

    // The message stays through other work and goes with the next open or New.
    trigger(window, "actionAddTorvynCharset");
    QVERIFY(message->isVisible());
    QVERIFY(window.openProjectFile(plainPath));
    QVERIFY(message->isHidden());
    QVERIFY(window.openProjectFile(strangePath));
    QVERIFY(message->isVisible());
    trigger(window, "actionNew");
    QVERIFY(message->isHidden());
}

void ProjectCommandsTest::cancelledPromptsDoNothing() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    const Document before = window.document();
    trigger(window, "actionSave");
    trigger(window, "actionExportFont");
    prompts.unsavedAnswer = FilePrompts::UnsavedChanges::Discard;
    trigger(window, "actionOpen");
    QCOMPARE(prompts.saveAsks, 1);
    QCOMPARE(prompts.exportAsks, 1);
    QCOMPARE(prompts.openAsks, 1);
    QVERIFY(window.document() == before);
    QVERIFY(window.hasUnsavedChanges());
    QVERIFY(prompts.errors.isEmpty());
}

}  // namespace vemro::test

QTEST_MAIN(vemro::test::ProjectCommandsTest)
#include "project_commands_test.moc"
