// The file commands as desktop programs have them: Save writes to the project's file and Save
// As always asks; the title names the file and marks unsaved work; the dialogs start in the
// project's folder; Open Recent keeps the last eight projects across sessions; Export asks
// once about every file it replaces and about characters it would cut, and says what it wrote;
// a file that only looks like a project is named as what it is.

#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "engine/freetype_font_renderer.h"
#include "files/project_file.h"
#include "files/project_opener.h"
#include "tests/ui/fake_file_prompts.h"
#include "tests/ui/ui_test_helpers.h"
#include "ui/builder_dialog.h"

namespace vemro::test {

namespace {

QByteArray bytesOf(const Project& project) {
    const std::vector<std::uint8_t> bytes = encodeProjectFile(projectFileFor(project));
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

QString titleFor(const QString& name) {
    return name + QStringLiteral("[*] - Vemro Font builder");
}

// The entries of File > Open Recent, without the separator and "Clear Menu".
QStringList recentEntries(const BuilderDialog& window) {
    QStringList texts;
    for (const QAction* action : child<QMenu>(window, "menuOpenRecent")->actions()) {
        if (!action->isSeparator() && action->objectName() != QStringLiteral("actionClearRecent")) {
            texts.append(action->text());
        }
    }
    return texts;
}

}  // namespace

class FileConventionsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }
    void saveWritesToTheProjectsFileAndSaveAsAlwaysAsks();
    void openRecentKeepsTheLastEightProjects();
    void exportAsksOnceAboutEveryFileItReplaces();
    void exportAsksBeforeCuttingCharacters();
    void lookAlikeFileIsNamed();

private:
    FreetypeFontRenderer renderer_;
};

void FileConventionsTest::saveWritesToTheProjectsFileAndSaveAsAlwaysAsks() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString first = dir.filePath(QStringLiteral("first.fnt"));
    const QString second = dir.filePath(QStringLiteral("second.fnt"));
    FakeFilePrompts prompts;
    prompts.unsavedAnswer = FilePrompts::UnsavedChanges::Discard;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    QVERIFY(window.isWindowModified());

    // A new project has no file: Save asks, starting in the folder used last (none yet).
    prompts.savePath = first;
    trigger(window, "actionSave");
    QCOMPARE(prompts.saveAsks, 1);
    QCOMPARE(prompts.proposedSave, QDir::homePath());
    QCOMPARE(window.windowTitle(), titleFor(QStringLiteral("first.fnt")));
    QVERIFY(!window.isWindowModified());

    // Once it has a file, Save writes there without asking.
    click(child<QRadioButton>(window, "width128Radio"));
    QVERIFY(window.isWindowModified());
    prompts.savePath = dir.filePath(QStringLiteral("elsewhere.fnt"));
    trigger(window, "actionSave");
    QCOMPARE(prompts.saveAsks, 1);
    QVERIFY(!QFile::exists(*prompts.savePath));
    QCOMPARE(fileBytes(first), bytesOf(window.project()));
    QVERIFY(!window.isWindowModified());

    // Save As always asks, starting at the project's file; the new file becomes the project's.
    const QByteArray firstBytes = fileBytes(first);
    click(child<QRadioButton>(window, "height64Radio"));
    prompts.savePath = second;
    trigger(window, "actionSaveAs");
    QCOMPARE(prompts.saveAsks, 2);
    QCOMPARE(prompts.proposedSave, first);
    QCOMPARE(window.windowTitle(), titleFor(QStringLiteral("second.fnt")));
    QCOMPARE(fileBytes(second), bytesOf(window.project()));
    QCOMPARE(fileBytes(first), firstBytes);
    prompts.savePath.reset();
    trigger(window, "actionSaveAs");
    QCOMPARE(prompts.saveAsks, 3);
    QCOMPARE(window.projectPath(), second);

    // Open and Export start in the project's folder; Export proposes the project's name.
    trigger(window, "actionOpen");
    QCOMPARE(prompts.proposedOpen, dir.path());
    trigger(window, "actionExportFont");
    QCOMPARE(prompts.proposedExport, dir.filePath(QStringLiteral("second.tga")));

    // A new project has no file again; its dialogs start in the folder used last.
    trigger(window, "actionNew");
    QCOMPARE(window.windowTitle(), titleFor(QStringLiteral("Untitled")));
    QVERIFY(window.projectPath().isEmpty());
    trigger(window, "actionSaveAs");
    QCOMPARE(prompts.proposedSave, dir.path());
    trigger(window, "actionExportFont");
    QCOMPARE(prompts.proposedExport, dir.path());
}

void FileConventionsTest::openRecentKeepsTheLastEightProjects() {
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
    const auto expected = [&paths](std::initializer_list<int> order) {
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
        QCOMPARE(recentEntries(window), expected({5, 9, 8, 7, 6, 4, 3, 2}));
        // A file that cannot be opened is not added.
        QVERIFY(!window.openProjectFile(dir.filePath(QStringLiteral("missing.fnt"))));
        QCOMPARE(recentEntries(window).size(), 8);
    }

    // The next session offers the same list; an entry opens its project.
    BuilderDialog window(renderer_, prompts);
    window.show();
    QCOMPARE(recentEntries(window), expected({5, 9, 8, 7, 6, 4, 3, 2}));
    child<QMenu>(window, "menuOpenRecent")->actions().at(6)->trigger();
    QCOMPARE(window.projectPath(), paths[3]);
    QCOMPARE(codesOf(window.project().glyphs), std::vector<char32_t>{U'd'});
    QCOMPARE(recentEntries(window), expected({3, 5, 9, 8, 7, 6, 4, 2}));
    // Asks first about unsaved changes, as Open does.
    trigger(window, "actionAddTorvynCharset");
    child<QMenu>(window, "menuOpenRecent")->actions().at(1)->trigger();
    QCOMPARE(prompts.unsavedAsks, 1);
    QCOMPARE(window.projectPath(), paths[3]);

    child<QAction>(window, "actionClearRecent")->trigger();
    QCoreApplication::processEvents();
    QVERIFY(recentEntries(window).isEmpty());
    QVERIFY(!child<QMenu>(window, "menuOpenRecent")->menuAction()->isEnabled());
}

void FileConventionsTest::exportAsksOnceAboutEveryFileItReplaces() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString image = dir.filePath(QStringLiteral("font.tga"));
    const QString description = dir.filePath(QStringLiteral("font.tfd"));
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    click(child<QRadioButton>(window, "width512Radio"));
    click(child<QRadioButton>(window, "height512Radio"));
    QCOMPARE(window.result()->glyphsOutsideTexture, std::size_t{0});
    auto* status = child<QLabel>(window, "statusLabel");
    prompts.exportPath = image;

    // Only the description exists: the question names it, and No keeps it.
    writeFile(description, "old");
    prompts.confirmAnswer = false;
    trigger(window, "actionExportFont");
    QCOMPARE(prompts.questions,
             QStringList{QStringLiteral("font.tfd already exists in %1. Replace it?")
                             .arg(QDir::toNativeSeparators(dir.path()))});
    QCOMPARE(fileBytes(description), QByteArray("old"));
    QVERIFY(!QFile::exists(image));
    QVERIFY(status->text().isEmpty());

    // Both exist: one question names both; Yes replaces both and the status line says so.
    writeFile(image, "old");
    prompts.questions.clear();
    prompts.confirmAnswer = true;
    trigger(window, "actionExportFont");
    QCOMPARE(prompts.questions,
             QStringList{QStringLiteral("font.tga and font.tfd already exist in %1. Replace them?")
                             .arg(QDir::toNativeSeparators(dir.path()))});
    QCOMPARE(fileBytes(image).size(), qsizetype{18 + 4 * 512 * 512});
    QVERIFY(fileBytes(description).startsWith("// TORVYN Ravfont."));
    QCOMPARE(status->text(), QStringLiteral("Exported font.tga and font.tfd."));
    // The note goes with the next change.
    click(child<QRadioButton>(window, "width256Radio"));
    QVERIFY(status->text().isEmpty());

    // Into an empty folder nothing is asked.
    prompts.questions.clear();
    prompts.exportPath = dir.filePath(QStringLiteral("fresh.tga"));
    trigger(window, "actionExportFont");
    QVERIFY(prompts.questions.isEmpty());
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("fresh.tfd"))));
}

void FileConventionsTest::exportAsksBeforeCuttingCharacters() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeFilePrompts prompts;
    prompts.exportPath = dir.filePath(QStringLiteral("cut.tga"));
    prompts.confirmAnswer = false;
    BuilderDialog window(renderer_, prompts);
    window.show();

    // Larger and larger runs of one wide character on a 64 x 64 texture: the first run that
    // does not fit leaves one character out.
    std::size_t outside = 0;
    for (int count = 1; count <= 8 && outside != 1; ++count) {
        ProjectFile project;
        project.textureWidth = 64;
        project.textureHeight = 64;
        project.size = 30;
        project.faceName = renderer_.defaultFaceName();
        project.glyphs.assign(static_cast<std::size_t>(count), ProjectGlyph{'W', 0, 0});
        const QString path = dir.filePath(QStringLiteral("run.fnt"));
        QVERIFY(writeProjectFile(path.toStdString(), project).ok());
        QVERIFY(window.openProjectFile(path));
        outside = window.result()->glyphsOutsideTexture;
    }
    QCOMPARE(outside, std::size_t{1});
    trigger(window, "actionExportFont");
    QCOMPARE(prompts.questions,
             QStringList{QStringLiteral("1 character lies outside the 64 x 64 texture and will be "
                                        "cut: export anyway?")});

    trigger(window, "actionAddTorvynCharset");
    outside = window.result()->glyphsOutsideTexture;
    prompts.questions.clear();
    trigger(window, "actionExportFont");
    QCOMPARE(prompts.questions, QStringList{QStringLiteral("%1 characters lie outside the 64 x 64 "
                                                           "texture and will be cut: export "
                                                           "anyway?")
                                                .arg(outside)});
    // No stops before the path is asked for; Yes goes on.
    QCOMPARE(prompts.exportAsks, 0);
    QVERIFY(!QFile::exists(*prompts.exportPath));
    prompts.confirmAnswer = true;
    trigger(window, "actionExportFont");
    QCOMPARE(prompts.exportAsks, 1);
    QVERIFY(QFile::exists(*prompts.exportPath));
}

void FileConventionsTest::lookAlikeFileIsNamed() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("font.fnt"));
    writeFile(path, "info face=\"Arial\" size=32\r\ncommon lineHeight=32 base=26\r\n");
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    const Project before = window.project();
    QVERIFY(!window.openProjectFile(path));
    QCOMPARE(prompts.errors.size(), 1);
    QVERIFY2(prompts.errors.front().endsWith(
                 QStringLiteral(": this is a BMFont font description, not a Vemro Font builder "
                                "project.")),
             qPrintable(prompts.errors.front()));
    QVERIFY(window.project() == before);
    QVERIFY(recentEntries(window).isEmpty());
}

}  // namespace vemro::test

QTEST_MAIN(vemro::test::FileConventionsTest)
#include "file_conventions_test.moc"
