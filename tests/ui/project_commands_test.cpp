// File > Save, Open and Export Font through the window: byte-exact round trips, the same
// export as the headless command (the format picked in the export dialog stored in the project),
// exports refused over project files, and what the user sees when a file cannot be used.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "engine/font/freetype_font_renderer.h"
#include "files/cli/command_line.h"
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

QByteArray toBytes(const std::vector<std::uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

}  // namespace

class ProjectCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void saveThenOpenGivesSameBytes();
    void openShowsStoredValues();
    void openWithUnofferedTextureSideSelectsNoButton();
    void exportMatchesHeadlessCommand();
    void unicodeProjectSavesReopensAndExportsAsHeadless();
    void pickedFormatIsStoredAndExportedAsHeadlessNeverOverAProject();
    void failedOpenChangesNothingAndSaysWhy();
    void failedSaveAndExportSayWhy();
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

void ProjectCommandsTest::exportMatchesHeadlessCommand() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::vector<std::string>& faces = renderer_.faceNames();
    ProjectFile project;
    project.textureWidth = 512;
    project.textureHeight = 128;
    project.borderRight = 2;
    project.size = 13;
    project.weight = 700;
    project.factor = 3;
    project.faceName = faces[faces.size() / 2];
    for (int code = 32; code < 256; code += 3) {
        project.glyphs.push_back({static_cast<std::uint8_t>(code), code % 2, 1});
    }
    const QString projectPath = writeProject(dir, QStringLiteral("game.fnt"), project);

    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    prompts.openPath = projectPath;
    trigger(window, "actionOpen");
    // A chosen name with another extension gives .tga and .tfd beside it.
    prompts.exportPath = dir.filePath(QStringLiteral("window.png"));
    trigger(window, "actionExportFont");
    QVERIFY(prompts.errors.isEmpty());
    // The prompt offers every registered format, the image with its description first.
    QVERIFY(!prompts.exportFormats.isEmpty());
    QCOMPARE(prompts.exportFormats.front().extension, QStringLiteral("tga"));

    FreetypeFontRenderer headlessRenderer;
    std::ostringstream out;
    std::ostringstream err;
    const std::optional<int> code =
        runCommandLine({"--export", projectPath.toStdString(),
                        dir.filePath(QStringLiteral("cli.tga")).toStdString()},
                       headlessRenderer, out, err);
    QCOMPARE(code, std::optional<int>(0));

    const QByteArray windowImage = fileBytes(dir.filePath(QStringLiteral("window.tga")));
    QCOMPARE(windowImage.size(), qsizetype{18 + 4 * 512 * 128});
    QCOMPARE(windowImage, fileBytes(dir.filePath(QStringLiteral("cli.tga"))));
    const QByteArray windowText = fileBytes(dir.filePath(QStringLiteral("window.tfd")));
    QVERIFY(windowText.startsWith("// TORVYN Ravfont."));
    QCOMPARE(windowText, fileBytes(dir.filePath(QStringLiteral("cli.tfd"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("window.png"))));

    // The image carries ink: the atlas was rebuilt from the project, not left empty.
    bool inked = false;
    for (qsizetype i = 18 + 3; i < windowImage.size(); i += 4) {
        inked = inked || windowImage[i] != 0;
    }
    QVERIFY(inked);
}

void ProjectCommandsTest::unicodeProjectSavesReopensAndExportsAsHeadless() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeFilePrompts prompts;
    BuilderDialog first(renderer_, prompts);
    first.show();
    // Cyrillic, Greek and Japanese text, and a border on one of its letters.
    const QString text = QStringLiteral("Привет, κόσμε! こんにちは世界");
    whenModalDialogShows([&text](QDialog* dialog) {
        child<QLineEdit>(*dialog, "charactersEdit")->setText(text);
        dialog->accept();
    });
    trigger(first, "actionAddCharacters");
    QCOMPARE(first.project().glyphs.size(), std::size_t{21});
    typeText(child<QLineEdit>(first, "characterFindEdit"), QStringLiteral("κ"));
    typeInto(child<QSpinBox>(first, "charBorderRightSpin"), QStringLiteral("3"));
    prompts.savePath = dir.filePath(QStringLiteral("world.fnt"));
    trigger(first, "actionSave");
    const QByteArray saved = fileBytes(*prompts.savePath);
    const QString direct = dir.filePath(QStringLiteral("direct.fnt"));
    QVERIFY(saveProject(direct.toStdString(), first.document()));
    QCOMPARE(saved, fileBytes(direct));

    // Reopened in another window: the same project, saved and exported as the headless
    // command does.
    FakeFilePrompts secondPrompts;
    BuilderDialog second(renderer_, secondPrompts);
    second.show();
    QVERIFY(second.openProjectFile(*prompts.savePath));
    QVERIFY(second.document() == first.document());
    secondPrompts.savePath = dir.filePath(QStringLiteral("again.fnt"));
    trigger(second, "actionSaveAs");
    QCOMPARE(fileBytes(*secondPrompts.savePath), saved);
    secondPrompts.exportPath = dir.filePath(QStringLiteral("window.tga"));
    trigger(second, "actionExportFont");
    FreetypeFontRenderer headless;
    std::ostringstream out;
    std::ostringstream err;
    QCOMPARE(runCommandLine({"--export", prompts.savePath->toStdString(),
                             dir.filePath(QStringLiteral("cli.tga")).toStdString()},
                            headless, out, err),
             std::optional<int>(0));
    for (const char* extension : {".tga", ".tfd"}) {
        const QByteArray written = fileBytes(dir.filePath(QStringLiteral("window") + extension));
        QVERIFY(!written.isEmpty());
        QCOMPARE(written, fileBytes(dir.filePath(QStringLiteral("cli") + extension)));
    }
    // The description names the Japanese characters by their code points.
    QVERIFY(fileBytes(dir.filePath(QStringLiteral("cli.tfd"))).contains("\r\n12371 "));
}

void ProjectCommandsTest::pickedFormatIsStoredAndExportedAsHeadlessNeverOverAProject() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("window")));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("cli")));
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    // A small texture of several pages, so that the export writes more than one page image, and
    // 8-bit pages.
    click(child<QRadioButton>(window, "width128Radio"));
    click(child<QRadioButton>(window, "height128Radio"));
    click(child<QCheckBox>(window, "multiplePagesCheck"));
    typeInto(child<QSpinBox>(window, "sizeSpin"), QStringLiteral("16"));
    chooseItem(child<QComboBox>(window, "pageImageCombo"), 1);
    trigger(window, "actionAddTorvynCharset");
    const std::size_t pages = window.waitForResult()->pages.size();
    QVERIFY(pages > 1);

    // The dialog starts at the stored .tfd format; the user picks BMFont text and a name with
    // another extension. The choice is stored, and an undo step.
    const qsizetype text = exportFormatIndex("bmfont-text");
    prompts.exportFormat = text;
    prompts.exportPath = dir.filePath(QStringLiteral("window/game.png"));
    trigger(window, "actionExportFont");
    QVERIFY2(prompts.errors.isEmpty(), qPrintable(prompts.errors.join(QLatin1Char('\n'))));
    QCOMPARE(prompts.selectedExportFormat, exportFormatIndex("tfd"));
    QCOMPARE(window.document().exportSettings.format, DescriptorFormat::BmfontText);
    QCOMPARE(controlsDiffer(window, window.document()), QString());
    trigger(window, "actionUndo");
    QCOMPARE(window.document().exportSettings.format, DescriptorFormat::Tfd);
    trigger(window, "actionRedo");

    // The descriptor and one 8-bit PNG per page, which the descriptor names.
    QStringList files{QStringLiteral("game.fnt")};
    const QByteArray descriptor = fileBytes(dir.filePath(QStringLiteral("window/game.fnt")));
    for (std::size_t k = 0; k < pages; ++k) {
        files.append(QStringLiteral("game_%1.png").arg(k));
        const QImage image(dir.filePath(QStringLiteral("window/") + files.back()));
        QCOMPARE(image.size(), QSize(128, 128));
        // Indexed, white entries with the coverage in their alpha.
        QCOMPARE(image.format(), QImage::Format_Indexed8);
        QCOMPARE(image.pixel(0, 0), qRgba(255, 255, 255, 0));
        QVERIFY(descriptor.contains(
            QStringLiteral("page id=%1 file=\"%2\"").arg(k).arg(files.back()).toUtf8()));
    }
    files.sort();
    QCOMPARE(QDir(dir.filePath(QStringLiteral("window"))).entryList(QDir::Files, QDir::Name),
             files);

    // Saved, the project starts the dialog at BMFont text, proposing a name other than its own
    // file.
    prompts.savePath = dir.filePath(QStringLiteral("game.fnt"));
    trigger(window, "actionSave");
    prompts.exportPath.reset();
    trigger(window, "actionExportFont");
    QCOMPARE(prompts.selectedExportFormat, text);
    QCOMPARE(prompts.proposedExport, dir.filePath(QStringLiteral("game-export.fnt")));

    // Over the project's own file, chosen as it is or without its extension, or over another
    // project, the export is refused before any question and writes nothing.
    const QString other = dir.filePath(QStringLiteral("other.fnt"));
    QVERIFY(saveProject(other.toStdString(), window.document()));
    const QByteArray saved = fileBytes(*prompts.savePath);
    for (const QString& chosen : {*prompts.savePath, dir.filePath(QStringLiteral("game")), other}) {
        prompts.exportPath = chosen;
        trigger(window, "actionExportFont");
    }
    QCOMPARE(prompts.errors.size(), 3);
    QVERIFY2(prompts.errors[1].endsWith(QStringLiteral("it is the project's own file; choose "
                                                       "another name for the export.")),
             qPrintable(prompts.errors[1]));
    QVERIFY2(prompts.errors[2].contains(QStringLiteral("it is a Vemro Font builder project")),
             qPrintable(prompts.errors[2]));
    QVERIFY(prompts.questions.isEmpty());
    QCOMPARE(fileBytes(*prompts.savePath), saved);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             (QStringList{QStringLiteral("game.fnt"), QStringLiteral("other.fnt")}));
    QVERIFY(!window.hasUnsavedChanges());

    // Reopened, the project holds the format; the command line writes the same files from it.
    FakeFilePrompts secondPrompts;
    BuilderDialog second(renderer_, secondPrompts);
    QVERIFY(second.openProjectFile(*prompts.savePath));
    QVERIFY(second.document() == window.document());
    FreetypeFontRenderer headless;
    std::ostringstream out;
    std::ostringstream err;
    QCOMPARE(runCommandLine({"--export", prompts.savePath->toStdString(),
                             dir.filePath(QStringLiteral("cli/game.fnt")).toStdString()},
                            headless, out, err),
             std::optional<int>(0));
    for (const QString& file : files) {
        const QByteArray written = fileBytes(dir.filePath(QStringLiteral("window/") + file));
        QVERIFY(!written.isEmpty());
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("cli/") + file)), written);
    }

    // Stored as .tfd again: an export refused in another format leaves the project as it was;
    // so does the desktop's dialog switched to BMFont text, where it proposes the export's name
    // rather than the project's, and cancelled.
    chooseItem(child<QComboBox>(window, "exportFormatCombo"),
               static_cast<int>(exportFormatIndex("tfd")));
    trigger(window, "actionSave");
    prompts.exportPath = *prompts.savePath;
    trigger(window, "actionExportFont");
    QCOMPARE(window.document().exportSettings.format, DescriptorFormat::Tfd);
    QVERIFY(!window.hasUnsavedChanges());
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

void ProjectCommandsTest::failedOpenChangesNothingAndSaysWhy() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ProjectFile project;
    project.faceName = renderer_.faceNames().front();
    project.glyphs = {{'a', 0, 0}, {'b', 0, 0}};
    const std::vector<std::uint8_t> bytes = encodeProjectFile(project);
    // The same file cut off inside its last record.
    const QString truncated = dir.filePath(QStringLiteral("truncated.fnt"));
    {
        QFile file(truncated);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(toBytes(bytes).left(static_cast<qsizetype>(bytes.size()) - 4));
    }
    // A BMFont description, which is a .fnt file too: named as what it is.
    const QString bmfont = dir.filePath(QStringLiteral("bmfont.fnt"));
    {
        QFile file(bmfont);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("info face=\"Arial\" size=32\r\ncommon lineHeight=32 base=26\r\n");
    }

    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    click(child<QRadioButton>(window, "width64Radio"));
    typeInto(child<QSpinBox>(window, "sizeSpin"), QStringLiteral("20"));
    const Document before = window.document();
    const std::shared_ptr<const AtlasResult> result = window.waitForResult();

    for (const QString& path : {truncated, dir.filePath(QStringLiteral("missing.fnt")), bmfont}) {
        prompts.errors.clear();
        QVERIFY(!window.openProjectFile(path));
        QCOMPARE(prompts.errors.size(), 1);
        QVERIFY2(prompts.errors.front().contains(QFileInfo(path).fileName()),
                 qPrintable(prompts.errors.front()));
        QVERIFY(window.document() == before);
        QCOMPARE(window.waitForResult(), result);
        QCOMPARE(controlsDiffer(window, before), QString());
    }
    QVERIFY2(prompts.errors.front().endsWith(QStringLiteral(
                 "this is a BMFont font description, not a Vemro Font builder project.")),
             qPrintable(prompts.errors.front()));
    // A font file, told by its signature.
    QVERIFY(
        !window.openProjectFile(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")));
    QCOMPARE(prompts.errors.back(),
             QStringLiteral("Could not open the font project: \"DejaVuSans.ttf\" is a font file, "
                            "not a project: use --font-file (or File > Use Font File...)."));
    QVERIFY(window.document() == before);
}

void ProjectCommandsTest::failedSaveAndExportSayWhy() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");

    prompts.savePath = dir.filePath(QStringLiteral("no/such/folder/work.fnt"));
    trigger(window, "actionSave");
    QCOMPARE(prompts.errors.size(), 1);
    QVERIFY(window.hasUnsavedChanges());

    prompts.exportPath = dir.filePath(QStringLiteral("no/such/folder/atlas.tga"));
    trigger(window, "actionExportFont");
    QCOMPARE(prompts.errors.size(), 2);
    QVERIFY2(prompts.errors.back().contains(QStringLiteral("atlas.tga")) &&
                 prompts.errors.back().contains(QStringLiteral("atlas.tfd")),
             qPrintable(prompts.errors.back()));

    // Successful commands show nothing.
    prompts.savePath = dir.filePath(QStringLiteral("work.fnt"));
    prompts.exportPath = dir.filePath(QStringLiteral("atlas.tga"));
    trigger(window, "actionSave");
    trigger(window, "actionExportFont");
    QCOMPARE(prompts.errors.size(), 2);
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("atlas.tfd"))));
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
