// A seeded random walk through the window: thousands of user actions on every control (the
// texture sides up to 4096, the packing controls, the page selector and the sample line
// included), the menu commands, Undo and Redo, the Add characters dialog with random
// text, Remove character, the file commands with temporary paths (good ones, missing folders,
// folders, damaged files, cancelled prompts, every export format, project files as export
// targets) and dropped files. After every action the controls must show the project,
// every file command must have done exactly what its answers asked, and now and then (and at
// the end) the atlas must equal a fresh builder's rebuild of the window's project with a
// renderer of its own.
//
// VEMRO_RANDOM_WALK_SEED and VEMRO_RANDOM_WALK_ACTIONS choose another walk; a failure prints
// the seed and the last actions.

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>
#include <array>
#include <deque>
#include <random>

#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"
#include "engine/text/windows1252.h"
#include "files/export/export_path.h"
#include "files/export/exporter.h"
#include "files/export/glyph_description.h"
#include "files/export/tga_image.h"
#include "files/project/project_file.h"
#include "files/project/project_opener.h"
#include "tests/ui/fake_file_prompts.h"
#include "tests/ui/ui_test_helpers.h"
#include "ui/builder_dialog.h"
#include "ui/preview_view.h"
#include "ui/sample_text_view.h"

namespace vemro::test {

namespace {

constexpr std::array<int, 7> kSides = {64, 128, 256, 512, 1024, 2048, 4096};
constexpr std::array<const char*, 4> kFontBorderSpins = {"borderLeftSpin", "borderTopSpin",
                                                         "borderRightSpin", "borderBottomSpin"};

struct GlyphInput {
    char32_t code;
    std::int32_t left;
    std::int32_t right;
    friend bool operator==(const GlyphInput&, const GlyphInput&) = default;
};

std::vector<GlyphInput> inputsOf(const GlyphList& glyphs) {
    std::vector<GlyphInput> inputs;
    for (const Glyph& glyph : glyphs) {
        inputs.push_back({glyph.code, glyph.charBorderLeft, glyph.charBorderRight});
    }
    return inputs;
}

// A file's characters: its extension's list when it has one, else its glyph records.
std::vector<GlyphInput> inputsOf(const ProjectFile& file) {
    std::vector<GlyphInput> inputs;
    if (file.extension) {
        for (const Glyph& character : file.extension->project.glyphs) {
            inputs.push_back({character.code, character.charBorderLeft, character.charBorderRight});
        }
        return inputs;
    }
    for (const ProjectGlyph& glyph : file.glyphs) {
        inputs.push_back(
            {windows1252ToUnicode(glyph.code), glyph.charBorderLeft, glyph.charBorderRight});
    }
    return inputs;
}

QByteArray toBytes(const std::vector<std::uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

QByteArray toBytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray projectBytes(const Document& document) {
    return toBytes(encodeProjectFile(projectFileFor(document)));
}

int environmentNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// The kinds of action, with how often each is picked.
enum class Action {
    WidthRadio,
    HeightRadio,
    FontCombo,
    Italic,
    SizeSpin,
    FontBorderSpin,
    CharacterCombo,
    CharacterBorderSpin,
    Zoom,
    ScrollBar,
    Wheel,
    ShowRectangles,
    Paint,
    New,
    Open,
    Save,
    SaveAs,
    Export,
    Exit,
    AddCharacters,
    AddFullCharset,
    Drop,
    Undo,
    Redo,
    RemoveCharacter,
    PackerCombo,
    SpacingSpin,
    FitSize,
    SeveralPages,
    PageSpin,
    SampleText,
    Effect,
    Count
};

constexpr std::array<int, static_cast<int>(Action::Count)> kWeights = {
    5, 5, 8, 3, 6, 6, 7, 7, 3, 2, 2, 2, 1, 2, 4, 4, 2, 5, 1, 5, 1, 2, 6, 3, 3, 2, 3, 2, 2, 2, 3, 4};

const char* actionName(Action action) {
    static constexpr std::array<const char*, static_cast<int>(Action::Count)> kNames = {
        "width radio",
        "height radio",
        "font combo",
        "italic",
        "size spin",
        "font border spin",
        "character combo",
        "character border spin",
        "zoom",
        "scroll bar",
        "wheel",
        "show rectangles",
        "paint",
        "New",
        "Open",
        "Save",
        "Save As",
        "Export Font",
        "Exit",
        "Add characters",
        "Add Torvyn Charset",
        "drop",
        "Undo",
        "Redo",
        "Remove character",
        "packer combo",
        "spacing spin",
        "fit size",
        "several pages",
        "page spin",
        "sample text",
        "effect"};
    return kNames[static_cast<std::size_t>(action)];
}

}  // namespace

class RandomWalkTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void randomActionsKeepTheWindowConsistent();

private:
    // One walk's state; the helpers record a problem in failure_ and the walk stops there.
    void prepareFiles();
    void act(Action action);
    void checkControls();
    void checkAgainstFreshRebuild();
    void fail(const QString& problem);

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(int percent) { return pick(1, 100) <= percent; }
    void note(const QString& text);

    QString randomText();
    QString sizeKeys();
    void answerUnsavedQuestion();
    std::optional<QString> randomSavePath();
    std::optional<QString> randomExportPath();
    QString randomProjectToOpen();
    // Whether a save to path succeeds: the walk's failing paths are a missing folder, a folder,
    // and a glyph list past the file's record limit.
    bool saveSucceeds(const std::optional<QString>& path) const;
    // Whether a command that first asks about unsaved changes will go ahead, from the answer
    // prepared for the question; asked before the command runs.
    bool goesAhead() const;
    // Where Save writes: the project's file, or the path the prompt gives when it has none.
    std::optional<QString> saveTarget() const;
    // Whether the answer to the unsaved-changes question saves the project before going on.
    bool savesFirst() const;

    void doFileCommand(Action action);
    // The checks of an export in the format exporter writes, to the path the prompt gave.
    void checkTfdExport(qsizetype errorsBefore);
    void checkDescriptorExport(const Exporter& exporter, qsizetype errorsBefore,
                               const QByteArray& chosenBefore);
    void doUndoRedo(Action action);
    void doAddCharacters();
    void doDrop();
    void doRemoveCharacter();
    // The list after adding text: each character not in it yet, once, in order of first
    // appearance; control characters left out.
    static std::vector<char32_t> withAdded(std::vector<char32_t> codes, const QString& text);
    void checkOpened(const QString& path, const std::vector<GlyphInput>& glyphsBefore,
                     qsizetype errorsBefore);

    FreetypeFontRenderer renderer_;
    FreetypeFontRenderer referenceRenderer_;
    std::mt19937 random_;
    QTemporaryDir dir_;
    FakeFilePrompts prompts_;
    BuilderDialog* window_ = nullptr;
    std::vector<QString> savedProjects_;
    std::vector<QString> otherProjects_;
    std::deque<QString> history_;
    std::array<int, static_cast<int>(Action::Count)> done_{};
    int savesWritten_ = 0;
    int opensDone_ = 0;
    int exportsWritten_ = 0;
    int nextName_ = 0;
    // The file the window's project belongs to, as the walk expects it; empty for none.
    QString projectFile_;
    QString failure_;
};

void RandomWalkTest::initTestCase() {
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(dir_.isValid());
    QVERIFY(!renderer_.faceNames().empty());
}

void RandomWalkTest::fail(const QString& problem) {
    if (failure_.isEmpty()) {
        failure_ = problem;
    }
}

void RandomWalkTest::note(const QString& text) {
    history_.push_back(text);
    if (history_.size() > 12) {
        history_.pop_front();
    }
}

// Project files the walk opens besides its own saves: damaged ones, ones with values the window
// does not offer, the most records the reader takes, and paths that are no file.
void RandomWalkTest::prepareFiles() {
    const auto write = [this](const QString& name, const ProjectFile& project) {
        const QString path = dir_.filePath(name);
        const Status status = writeProjectFile(path.toStdString(), project);
        if (!status) {
            qFatal("%s", status.message().c_str());
        }
        otherProjects_.push_back(path);
        return path;
    };

    ProjectFile odd;
    odd.textureWidth = 300;
    odd.textureHeight = 17;
    odd.borderLeft = 70000;
    odd.borderTop = -5;
    odd.size = 1000;
    odd.weight = 500;
    odd.quality = 9;
    odd.factor = 0;
    odd.italic = 7;
    odd.faceName = "No Such Face";
    odd.glyphs = {{'A', 40, -64}, {0, 0, 0}, {0x81, 64, 3}, {'A', 1, 1}};
    write(QStringLiteral("odd.fnt"), odd);

    ProjectFile many;
    many.textureWidth = 128;
    many.textureHeight = 64;
    many.size = 7;
    many.faceName = renderer_.faceNames().back();
    for (int i = 0; i < kMaxProjectGlyphs; ++i) {
        many.glyphs.push_back(
            {static_cast<std::uint8_t>(i * 7 % 97 + 30), i % 129 - 64, (i * 5) % 129 - 64});
    }
    write(QStringLiteral("many.fnt"), many);

    const QString whole = write(QStringLiteral("cut.fnt"), odd);
    QFile cut(whole);
    if (!cut.open(QIODevice::ReadWrite) || !cut.resize(cut.size() - 5)) {
        qFatal("cannot cut %s", qPrintable(whole));
    }
    cut.close();

    QFile empty(dir_.filePath(QStringLiteral("empty.fnt")));
    if (!empty.open(QIODevice::WriteOnly)) {
        qFatal("cannot write empty.fnt");
    }
    empty.close();
    otherProjects_.push_back(empty.fileName());

    QDir(dir_.path()).mkdir(QStringLiteral("folder.fnt"));
    QDir(dir_.path()).mkdir(QStringLiteral("blocked.tga"));
    otherProjects_.push_back(dir_.filePath(QStringLiteral("folder.fnt")));
    otherProjects_.push_back(dir_.filePath(QStringLiteral("missing.fnt")));
    otherProjects_.push_back(dir_.filePath(QStringLiteral("no-folder/a.fnt")));
}

QString RandomWalkTest::randomText() {
    // Printable ASCII, Latin-1, the Windows-1252 extras, and characters the code page lacks.
    static const std::u32string kPool =
        U"AbZz09 !~\u00A0\u00E9\u00FF\u00C4\u20AC\u2122\u0152"
        U"\u0178\u201C\u0430\u4E2D\U0001F600\u0081\u03A9\u30A2\u0416";
    QString text;
    const int length = pick(0, 8);
    for (int i = 0; i < length; ++i) {
        char32_t codePoint = 0;
        if (chance(40)) {
            codePoint = static_cast<char32_t>(pick(32, 255));
        } else {
            codePoint =
                kPool[static_cast<std::size_t>(pick(0, static_cast<int>(kPool.size()) - 1))];
        }
        text += QString::fromUcs4(&codePoint, 1);
    }
    return text;
}

// Keys typed into the size spin. Large sizes are rare: every font change redraws every
// character at size x factor, and the walk should stay quick under the sanitizers.
QString RandomWalkTest::sizeKeys() {
    if (chance(5)) {
        return QStringLiteral("-x1");  // partly refused by the spin's validator
    }
    return QString::number(chance(8) ? pick(25, 100) : pick(5, 24));
}

void RandomWalkTest::answerUnsavedQuestion() {
    const int answer = pick(0, 2);
    prompts_.unsavedAnswer = answer == 0   ? FilePrompts::UnsavedChanges::Save
                             : answer == 1 ? FilePrompts::UnsavedChanges::Discard
                                           : FilePrompts::UnsavedChanges::Cancel;
    prompts_.savePath = randomSavePath();
}

std::optional<QString> RandomWalkTest::randomSavePath() {
    const int kind = pick(0, 9);
    if (kind == 0) {
        return std::nullopt;  // cancelled
    }
    if (kind == 1) {
        return dir_.filePath(QStringLiteral("no-folder/save.fnt"));
    }
    if (kind == 2) {
        return dir_.filePath(QStringLiteral("folder.fnt"));
    }
    if (kind <= 5 && !savedProjects_.empty()) {
        return savedProjects_[static_cast<std::size_t>(
            pick(0, static_cast<int>(savedProjects_.size()) - 1))];
    }
    return dir_.filePath(QStringLiteral("save-%1.fnt").arg(nextName_++ % 8));
}

std::optional<QString> RandomWalkTest::randomExportPath() {
    const int kind = pick(0, 7);
    if (kind == 0) {
        return std::nullopt;
    }
    if (kind == 1) {
        return dir_.filePath(QStringLiteral("no-folder/out.tga"));
    }
    if (kind == 2) {
        return dir_.filePath(QStringLiteral("blocked.x"));  // blocked.tga is a folder
    }
    if (kind == 3 && !savedProjects_.empty()) {
        // A project file: a BMFont descriptor may not take its place.
        return savedProjects_[static_cast<std::size_t>(
            pick(0, static_cast<int>(savedProjects_.size()) - 1))];
    }
    return dir_.filePath(QStringLiteral("export-%1.tga").arg(pick(0, 2)));
}

QString RandomWalkTest::randomProjectToOpen() {
    if (!savedProjects_.empty() && chance(60)) {
        return savedProjects_[static_cast<std::size_t>(
            pick(0, static_cast<int>(savedProjects_.size()) - 1))];
    }
    return otherProjects_[static_cast<std::size_t>(
        pick(0, static_cast<int>(otherProjects_.size()) - 1))];
}

bool RandomWalkTest::saveSucceeds(const std::optional<QString>& path) const {
    return path && !path->contains(QStringLiteral("no-folder")) &&
           !path->endsWith(QStringLiteral("folder.fnt")) &&
           window_->project().glyphs.size() <= static_cast<std::size_t>(kMaxProjectGlyphs);
}

bool RandomWalkTest::goesAhead() const {
    if (!window_->hasUnsavedChanges()) {
        return true;
    }
    switch (prompts_.unsavedAnswer) {
        case FilePrompts::UnsavedChanges::Discard:
            return true;
        case FilePrompts::UnsavedChanges::Save:
            return saveSucceeds(saveTarget());
        case FilePrompts::UnsavedChanges::Cancel:
            break;
    }
    return false;
}

std::optional<QString> RandomWalkTest::saveTarget() const {
    return projectFile_.isEmpty() ? prompts_.savePath : std::optional<QString>(projectFile_);
}

bool RandomWalkTest::savesFirst() const {
    return window_->hasUnsavedChanges() &&
           prompts_.unsavedAnswer == FilePrompts::UnsavedChanges::Save &&
           saveSucceeds(saveTarget());
}

void RandomWalkTest::doFileCommand(Action action) {
    BuilderDialog& window = *window_;
    answerUnsavedQuestion();
    const bool changedBefore = window.hasUnsavedChanges();
    const bool ahead = goesAhead();
    const std::vector<GlyphInput> glyphsBefore = inputsOf(window.project().glyphs);
    const qsizetype errorsBefore = prompts_.errors.size();
    const int openAsksBefore = prompts_.openAsks;
    const QByteArray projectBefore = projectBytes(window.document());
    // Saving first, when the question asks for it, stores the project as it was, and the saved
    // file becomes the project's.
    const bool saving = action != Action::Save && action != Action::SaveAs &&
                        action != Action::Export && savesFirst();
    const std::optional<QString> firstSavePath = saveTarget();
    const auto savedFirst = [&] {
        if (saving) {
            projectFile_ = *firstSavePath;
        }
    };

    switch (action) {
        case Action::New: {
            note(QStringLiteral("New (answer %1)").arg(static_cast<int>(prompts_.unsavedAnswer)));
            trigger(window, "actionNew");
            savedFirst();
            if (ahead) {
                projectFile_.clear();
                if (!window.project().glyphs.empty() || window.hasUnsavedChanges()) {
                    fail(QStringLiteral("New went ahead but left glyphs or unsaved changes"));
                }
            } else if (inputsOf(window.project().glyphs) != glyphsBefore) {
                fail(QStringLiteral("a cancelled New changed the glyphs"));
            }
            break;
        }
        case Action::Open: {
            const QString path = randomProjectToOpen();
            prompts_.openPath = chance(10) ? std::nullopt : std::optional<QString>(path);
            note(QStringLiteral("Open %1").arg(prompts_.openPath.value_or(QStringLiteral("-"))));
            trigger(window, "actionOpen");
            savedFirst();
            if (prompts_.openAsks - openAsksBefore != (ahead ? 1 : 0)) {
                fail(QStringLiteral("Open asked for a file %1 times after the answer %2 (changed "
                                    "%3, save path %4, errors %5 -> %6)")
                         .arg(prompts_.openAsks - openAsksBefore)
                         .arg(static_cast<int>(prompts_.unsavedAnswer))
                         .arg(changedBefore)
                         .arg(prompts_.savePath.value_or(QStringLiteral("-")))
                         .arg(errorsBefore)
                         .arg(prompts_.errors.size()));
                break;
            }
            if (ahead && prompts_.openPath) {
                checkOpened(path, glyphsBefore, errorsBefore);
            }
            break;
        }
        case Action::Save:
        case Action::SaveAs: {
            // Save asks for a file only when the project has none; Save As always asks.
            prompts_.savePath = randomSavePath();
            const bool asks = action == Action::SaveAs || projectFile_.isEmpty();
            const std::optional<QString> target =
                asks ? prompts_.savePath : std::optional<QString>(projectFile_);
            const int saveAsksBefore = prompts_.saveAsks;
            note(QStringLiteral("%1 %2").arg(actionName(action),
                                             target.value_or(QStringLiteral("-"))));
            trigger(window, action == Action::Save ? "actionSave" : "actionSaveAs");
            if (prompts_.saveAsks - saveAsksBefore != (asks ? 1 : 0)) {
                fail(QStringLiteral("%1 asked for a file %2 times with the project's file \"%3\"")
                         .arg(actionName(action))
                         .arg(prompts_.saveAsks - saveAsksBefore)
                         .arg(projectFile_));
            }
            if (!target) {
                break;
            }
            const QString path = *target;
            const QByteArray expected = projectBytes(window.document());
            const bool refusable = !saveSucceeds(path);
            if (prompts_.errors.size() == errorsBefore) {
                if (refusable || fileBytes(path) != expected || window.hasUnsavedChanges()) {
                    fail(QStringLiteral("Save to %1 did not write the project").arg(path));
                }
                ++savesWritten_;
                projectFile_ = path;
                if (std::find(savedProjects_.begin(), savedProjects_.end(), path) ==
                    savedProjects_.end()) {
                    savedProjects_.push_back(path);
                }
            } else if (!refusable) {
                fail(QStringLiteral("Save to %1 failed: %2").arg(path, prompts_.errors.back()));
            }
            break;
        }
        case Action::Export: {
            // Yes to whether to cut characters outside the texture and to replace files. The
            // dialog keeps the stored format or the user picks one.
            const std::vector<const Exporter*>& exporters = registeredExporters();
            prompts_.exportPath = randomExportPath();
            prompts_.exportFormat =
                chance(50)
                    ? std::nullopt
                    : std::optional<qsizetype>(pick(0, static_cast<int>(exporters.size()) - 1));
            const Exporter& exporter = *exporters[static_cast<std::size_t>(
                prompts_.exportFormat.value_or(exportFormatIndex(
                    descriptorFormatName(window.document().exportSettings.format))))];
            const QByteArray chosenBefore = fileBytes(prompts_.exportPath.value_or(QString()));
            const DescriptorFormat formatBefore = window.document().exportSettings.format;
            note(QStringLiteral("Export %1 as %2")
                     .arg(prompts_.exportPath.value_or(QStringLiteral("-")),
                          QString::fromStdString(exporter.name())));
            trigger(window, "actionExportFont");
            if (!prompts_.exportPath) {
                break;
            }
            // The format picked is stored once the export succeeds, and only then.
            const bool failed = prompts_.errors.size() > errorsBefore;
            if (descriptorFormatName(window.document().exportSettings.format) !=
                (failed ? descriptorFormatName(formatBefore) : exporter.name())) {
                fail(
                    QStringLiteral("the format picked in the export dialog was stored after a "
                                   "failed export, or not after one that succeeded"));
            } else if (exporter.name() == "tfd") {
                checkTfdExport(errorsBefore);
            } else {
                checkDescriptorExport(exporter, errorsBefore, chosenBefore);
            }
            break;
        }
        case Action::Exit: {
            note(QStringLiteral("Exit (answer %1)").arg(static_cast<int>(prompts_.unsavedAnswer)));
            trigger(window, "actionExit");
            savedFirst();
            if (window.isVisible() == ahead) {
                fail(QStringLiteral("Exit closed the window against the answer, or kept it"));
            }
            if (!window.isVisible()) {
                window.show();  // the user starts the program again, the same window serving
            }
            break;
        }
        default:
            break;
    }
    if (saving && failure_.isEmpty()) {
        if (fileBytes(*firstSavePath) != projectBefore) {
            fail(QStringLiteral("saving before %1 did not store the project")
                     .arg(actionName(action)));
        }
        if (std::find(savedProjects_.begin(), savedProjects_.end(), *firstSavePath) ==
            savedProjects_.end()) {
            savedProjects_.push_back(*firstSavePath);
        }
    }
}

void RandomWalkTest::checkTfdExport(qsizetype errorsBefore) {
    // A missing folder fails both files, a folder named like the image fails the image only;
    // whatever fails is told in one message, and what is written holds the atlas.
    const std::string chosen = prompts_.exportPath->toStdString();
    const bool missingFolder = prompts_.exportPath->contains(QStringLiteral("no-folder"));
    const bool imageBlocked = prompts_.exportPath->endsWith(QStringLiteral("blocked.x"));
    const AtlasResult& atlas = *window_->waitForResult();
    if (prompts_.errors.size() != errorsBefore + (missingFolder || imageBlocked ? 1 : 0)) {
        fail(QStringLiteral("Export to %1 reported the wrong outcome").arg(*prompts_.exportPath));
        return;
    }
    // Page k >= 1 as NAME_k.tga and NAME_k.tfd.
    for (std::size_t k = 0; k < atlas.pages.size() && !missingFolder; ++k) {
        std::string suffix;
        if (k > 0) {
            suffix = '_';
            suffix += std::to_string(k);
        }
        const QString image = QString::fromStdString(exportPath(chosen, suffix + ".tga"));
        const QString description = QString::fromStdString(exportPath(chosen, suffix + ".tfd"));
        const auto page = static_cast<std::int32_t>(k);
        if (fileBytes(description) != toBytes(encodeGlyphDescription(atlas, page))) {
            fail(QStringLiteral("Export wrote another description than page %1's").arg(k));
        } else if ((!imageBlocked || k > 0) &&
                   fileBytes(image) != toBytes(encodeTgaImage(atlas.pages[k], atlas.textureSize))) {
            fail(QStringLiteral("Export wrote another image than page %1").arg(k));
        } else if (imageBlocked && k == 0 && !QFileInfo(image).isDir()) {
            fail(QStringLiteral("Export replaced the folder in the image's place"));
        }
    }
    exportsWritten_ += missingFolder || imageBlocked ? 0 : 1;
}

// A BMFont or JSON export: refused over a project file, which stays as it was, or failed in a
// missing folder, each with one message; else written without one.
void RandomWalkTest::checkDescriptorExport(const Exporter& exporter, qsizetype errorsBefore,
                                           const QByteArray& chosenBefore) {
    const QString& chosen = *prompts_.exportPath;
    const bool overProject =
        exporter.fileExtension() == ".fnt" &&
        std::find(savedProjects_.begin(), savedProjects_.end(), chosen) != savedProjects_.end();
    const bool fails = overProject || chosen.contains(QStringLiteral("no-folder"));
    if (prompts_.errors.size() != errorsBefore + (fails ? 1 : 0) ||
        (overProject && fileBytes(chosen) != chosenBefore)) {
        fail(QStringLiteral("Export as %1 to %2 had the wrong outcome")
                 .arg(QString::fromStdString(exporter.name()), chosen));
    }
    exportsWritten_ += fails ? 0 : 1;
}

// After an open went past the unsaved-changes question (any save it asked for succeeded, so
// errorsBefore still counts): a usable file is shown as stored and counts as unchanged; an
// unusable one shows one error and changes nothing.
void RandomWalkTest::checkOpened(const QString& path, const std::vector<GlyphInput>& glyphsBefore,
                                 qsizetype errorsBefore) {
    const BuilderDialog& window = *window_;
    const Result<ProjectFile> file = readProjectFile(path.toStdString());
    if (!file) {
        if (prompts_.errors.size() != errorsBefore + 1 ||
            inputsOf(window.project().glyphs) != glyphsBefore) {
            fail(QStringLiteral("opening the unusable %1 showed no error or changed the glyphs")
                     .arg(path));
        }
        return;
    }
    ++opensDone_;
    projectFile_ = path;
    // Sides above 512 and packing settings other than the defaults come from the extension.
    const std::optional<ProjectExtension>& extension = file->extension;
    const AtlasSize size = extension ? extension->project.textureSize
                                     : AtlasSize{file->textureWidth, file->textureHeight};
    const PackingSettings packing = extension ? extension->project.packing : PackingSettings{};
    if (prompts_.errors.size() != errorsBefore) {
        fail(QStringLiteral("opening a good file showed an error: ") + prompts_.errors.back());
    } else if (inputsOf(window.project().glyphs) != inputsOf(file.value()) ||
               window.project().textureSize != size || !(window.project().packing == packing) ||
               window.hasUnsavedChanges() || child<QAction>(window, "actionUndo")->isEnabled()) {
        fail(QStringLiteral("the opened project differs from the file ") + path);
    }
}

void RandomWalkTest::doAddCharacters() {
    BuilderDialog& window = *window_;
    const QString text = randomText();
    const int closing = pick(0, 4);
    QString typed;
    whenModalDialogShows([text, closing, &typed](QDialog* dialog) {
        auto* edit = child<QLineEdit>(*dialog, "charactersEdit");
        typeText(edit, text);
        typed = edit->text();
        switch (closing) {
            case 0:
                child<QPushButton>(*dialog, "okButton")->click();
                break;
            case 1:
                child<QPushButton>(*dialog, "cancelButton")->click();
                break;
            case 2:
                QTest::keyClick(dialog, Qt::Key_Escape);
                break;
            case 3:
                QTest::keyClick(edit, Qt::Key_Return);
                break;
            default:
                dialog->close();
                break;
        }
    });
    const std::vector<char32_t> before = codesOf(window.project().glyphs);
    note(QStringLiteral("Add characters \"%1\" closed by %2").arg(text, QString::number(closing)));
    trigger(window, "actionAddCharacters");
    if (codesOf(window.project().glyphs) != withAdded(before, typed)) {
        fail(QStringLiteral("Add characters with \"%1\" gave another list").arg(typed));
    }
}

void RandomWalkTest::doDrop() {
    BuilderDialog& window = *window_;
    answerUnsavedQuestion();
    const QString path =
        chance(20) ? dir_.filePath(QStringLiteral("export-0.tga")) : randomProjectToOpen();
    note(QStringLiteral("drop %1").arg(path));
    const qsizetype errorsBefore = prompts_.errors.size();
    const bool ahead = goesAhead();
    const bool saving = savesFirst();
    const std::optional<QString> firstSavePath = saveTarget();
    const std::vector<GlyphInput> glyphsBefore = inputsOf(window.project().glyphs);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    if (enter.isAccepted() != path.endsWith(QStringLiteral(".fnt"))) {
        fail(QStringLiteral("a drop of %1 was taken or refused wrongly").arg(path));
        return;
    }
    if (!enter.isAccepted()) {
        return;
    }
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QCoreApplication::processEvents();
    if (saving) {
        projectFile_ = *firstSavePath;
    }
    if (ahead) {
        checkOpened(path, glyphsBefore, errorsBefore);
    } else if (inputsOf(window.project().glyphs) != glyphsBefore) {
        fail(QStringLiteral("a drop that did not go ahead changed the glyphs"));
    }
}

void RandomWalkTest::act(Action action) {
    BuilderDialog& window = *window_;
    ++done_[static_cast<std::size_t>(action)];
    switch (action) {
        case Action::WidthRadio:
        case Action::HeightRadio: {
            // The largest sides are rarer: every rebuild and export of them moves megabytes.
            const int side = kSides[static_cast<std::size_t>(pick(0, chance(10) ? 6 : 4))];
            const QString name = QStringLiteral("%1%2Radio")
                                     .arg(action == Action::WidthRadio ? "width" : "height")
                                     .arg(side);
            note(name);
            click(child<QRadioButton>(window, qPrintable(name)));
            break;
        }
        case Action::PackerCombo: {
            auto* combo = child<QComboBox>(window, "packerCombo");
            const int index = pick(0, combo->count() - 1);
            note(QStringLiteral("packer %1").arg(index));
            chooseItem(combo, index);
            break;
        }
        case Action::FitSize:
        case Action::SeveralPages:
            note(actionName(action));
            click(child<QCheckBox>(
                window, action == Action::FitSize ? "fitSizeCheck" : "multiplePagesCheck"));
            break;
        case Action::PageSpin: {
            auto* spin = child<QSpinBox>(window, "pageSpin");
            const int page = pick(0, spin->maximum() + 1);
            note(QStringLiteral("page %1").arg(page));
            spin->setValue(page);
            break;
        }
        case Action::FontCombo: {
            static constexpr std::array<const char*, 4> kCombos = {"nameCombo", "weightCombo",
                                                                   "qualityCombo", "factorCombo"};
            const char* name = kCombos[static_cast<std::size_t>(pick(0, 3))];
            auto* combo = child<QComboBox>(window, name);
            const int index = pick(0, combo->count() - 1);
            note(QStringLiteral("%1 item %2").arg(name).arg(index));
            chooseItem(combo, index);
            break;
        }
        case Action::Italic:
            note(QStringLiteral("italic"));
            if (chance(50)) {
                click(child<QCheckBox>(window, "italicCheck"));
            } else {
                QTest::mouseClick(child<QLabel>(window, "italicLabel"), Qt::LeftButton);
            }
            break;
        case Action::SizeSpin:
        case Action::FontBorderSpin:
        case Action::CharacterBorderSpin:
        case Action::SpacingSpin: {
            const char* name = action == Action::SpacingSpin ? "spacingSpin" : "sizeSpin";
            if (action == Action::FontBorderSpin) {
                name = kFontBorderSpins[static_cast<std::size_t>(pick(0, 3))];
            } else if (action == Action::CharacterBorderSpin) {
                name = chance(50) ? "charBorderLeftSpin" : "charBorderRightSpin";
            }
            auto* spin = child<QSpinBox>(window, name);
            if (chance(30)) {
                const Qt::Key key = chance(50) ? Qt::Key_Up : Qt::Key_Down;
                note(QStringLiteral("%1 %2").arg(name, key == Qt::Key_Up ? "up" : "down"));
                spin->setFocus();
                QTest::keyClick(spin, key);
            } else {
                const QString keys =
                    action == Action::SizeSpin ? sizeKeys() : QString::number(pick(0, 20));
                note(QStringLiteral("%1 typed %2").arg(name, keys));
                typeInto(spin, keys);
            }
            break;
        }
        case Action::CharacterCombo: {
            auto* combo = child<QComboBox>(window, "characterCombo");
            if (combo->count() == 0) {
                note(QStringLiteral("character combo, empty"));
                break;
            }
            const int index = pick(0, combo->count() - 1);
            note(QStringLiteral("character %1").arg(index));
            chooseItem(combo, index);
            // The spins show the glyph's borders as far as their range allows, and the glyph
            // keeps what the spins show.
            const Glyph& glyph = window.project().glyphs[static_cast<std::size_t>(index)];
            const int left = child<QSpinBox>(window, "charBorderLeftSpin")->value();
            const int right = child<QSpinBox>(window, "charBorderRightSpin")->value();
            const int shownLeft = std::clamp(glyph.charBorderLeft, 0, 16);
            const int shownRight = std::clamp(glyph.charBorderRight, 0, 16);
            if (left != shownLeft || right != shownRight) {
                fail(QStringLiteral("selecting character %1 shows borders %2, %3 for %4, %5")
                         .arg(index)
                         .arg(left)
                         .arg(right)
                         .arg(glyph.charBorderLeft)
                         .arg(glyph.charBorderRight));
            }
            break;
        }
        case Action::Zoom: {
            auto* slider = child<QSlider>(window, "zoomSlider");
            static constexpr std::array<Qt::Key, 6> kKeys = {Qt::Key_Up,     Qt::Key_Down,
                                                             Qt::Key_PageUp, Qt::Key_PageDown,
                                                             Qt::Key_Home,   Qt::Key_End};
            if (chance(50)) {
                const int value = pick(slider->minimum(), slider->maximum());
                note(QStringLiteral("zoom dragged to %1").arg(value));
                slider->setSliderPosition(value);
            } else {
                const Qt::Key key = kKeys[static_cast<std::size_t>(pick(0, 5))];
                note(QStringLiteral("zoom key %1").arg(key));
                QTest::keyClick(slider, key);
            }
            break;
        }
        case Action::ScrollBar: {
            auto* bar =
                child<QScrollBar>(window, chance(50) ? "horizontalScrollBar" : "verticalScrollBar");
            const auto step = static_cast<QAbstractSlider::SliderAction>(pick(1, 6));
            note(QStringLiteral("scroll %1 action %2").arg(bar->objectName()).arg(step));
            bar->triggerAction(step);
            break;
        }
        case Action::Wheel: {
            auto* preview = child<PreviewView>(window, "preview");
            const QPoint delta =
                chance(50) ? QPoint(0, pick(-360, 360)) : QPoint(pick(-360, 360), 0);
            const Qt::KeyboardModifiers modifiers = chance(30) ? Qt::ShiftModifier : Qt::NoModifier;
            note(QStringLiteral("wheel %1 %2").arg(delta.x()).arg(delta.y()));
            QWheelEvent wheel(QPointF(20, 20), preview->mapToGlobal(QPointF(20, 20)), QPoint(),
                              delta, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(preview, &wheel);
            break;
        }
        case Action::ShowRectangles: {
            const char* name = chance(50) ? "showRectanglesCheck" : "showCellsCheck";
            note(QLatin1String(name));
            click(child<QCheckBox>(window, name));
            break;
        }
        case Action::SampleText: {
            // Typed at the end of the line or over all of it.
            auto* edit = child<QLineEdit>(window, "sampleTextEdit");
            const bool over = chance(30);
            const QString text = randomText();
            note(QStringLiteral("sample text \"%1\"%2").arg(text, over ? " over all" : ""));
            edit->setFocus();
            if (over) {
                edit->selectAll();
            } else {
                QTest::keyClick(edit, Qt::Key_End);
            }
            typeText(edit, text);
            break;
        }
        case Action::Effect: {
            // A switch, a size (sometimes past its range) or a colour of the Effects tab; a
            // disabled control takes no click.
            static constexpr std::array<const char*, 2> kChecks = {"outlineCheck", "shadowCheck"};
            static constexpr std::array<const char*, 5> kSpins = {
                "outlineWidthSpin", "shadowXSpin", "shadowYSpin", "shadowBlurSpin", "spreadSpin"};
            static constexpr std::array<const char*, 3> kColours = {
                "fillColourButton", "outlineColourButton", "shadowColourButton"};
            const int kind = pick(0, 3);
            if (kind == 0) {
                const char* name = kChecks[static_cast<std::size_t>(pick(0, 1))];
                note(QLatin1String(name));
                click(child<QCheckBox>(window, name));
            } else if (kind == 3) {
                auto* combo = child<QComboBox>(window, "distanceFieldCombo");
                const int index = pick(0, combo->count() - 1);
                note(QStringLiteral("distance field %1").arg(index));
                chooseItem(combo, index);
            } else if (kind == 1) {
                const char* name = kSpins[static_cast<std::size_t>(pick(0, 4))];
                const QString keys = QString::number(pick(-20, 40));
                note(QStringLiteral("%1 \"%2\"").arg(QLatin1String(name), keys));
                typeInto(child<QSpinBox>(window, name), keys);
            } else {
                const char* name = kColours[static_cast<std::size_t>(pick(0, 2))];
                prompts_.colourAnswer =
                    chance(20) ? std::nullopt
                               : std::optional<QColor>(QColor(pick(0, 255), pick(0, 255),
                                                              pick(0, 255), pick(0, 255)));
                note(QStringLiteral("%1 %2").arg(QLatin1String(name),
                                                 prompts_.colourAnswer
                                                     ? prompts_.colourAnswer->name(QColor::HexArgb)
                                                     : QStringLiteral("cancelled")));
                QTest::mouseClick(child<QWidget>(window, name), Qt::LeftButton);
            }
            break;
        }
        case Action::Paint:
            note(QStringLiteral("paint"));
            if (window.grab().isNull()) {
                fail(QStringLiteral("the window painted nothing"));
            }
            break;
        case Action::New:
        case Action::Open:
        case Action::Save:
        case Action::SaveAs:
        case Action::Export:
        case Action::Exit:
            doFileCommand(action);
            break;
        case Action::AddCharacters:
            doAddCharacters();
            break;
        case Action::AddFullCharset: {
            note(QStringLiteral("Add Torvyn Charset"));
            std::vector<char32_t> expected = codesOf(window.project().glyphs);
            for (int byte = 32; byte <= 255; ++byte) {
                const char32_t code = windows1252ToUnicode(static_cast<std::uint8_t>(byte));
                if (std::find(expected.begin(), expected.end(), code) == expected.end()) {
                    expected.push_back(code);
                }
            }
            trigger(window, "actionAddTorvynCharset");
            if (codesOf(window.project().glyphs) != expected) {
                fail(QStringLiteral("Add Torvyn Charset gave another list"));
            }
            break;
        }
        case Action::Drop:
            doDrop();
            break;
        case Action::Undo:
        case Action::Redo:
            doUndoRedo(action);
            break;
        case Action::RemoveCharacter:
            doRemoveCharacter();
            break;
        case Action::Count:
            break;
    }
}

std::vector<char32_t> RandomWalkTest::withAdded(std::vector<char32_t> codes, const QString& text) {
    // The pool's characters are all assigned; the control codes are the only ones left out.
    for (const char32_t code : text.toUcs4()) {
        const bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F);
        if (!control && std::find(codes.begin(), codes.end(), code) == codes.end()) {
            codes.push_back(code);
        }
    }
    return codes;
}

void RandomWalkTest::doRemoveCharacter() {
    BuilderDialog& window = *window_;
    auto* combo = child<QComboBox>(window, "characterCombo");
    if (combo->count() > 0 && chance(80)) {
        chooseItem(combo, pick(0, combo->count() - 1));
    }
    const int index = combo->currentIndex();
    std::vector<char32_t> expected = codesOf(window.project().glyphs);
    if (index >= 0) {
        // Every glyph of the character goes, duplicates from a file included.
        const char32_t removed = expected[static_cast<std::size_t>(index)];
        std::erase(expected, removed);
    }
    const bool enabled = child<QAction>(window, "actionRemoveCharacter")->isEnabled();
    note(QStringLiteral("Remove character %1").arg(index));
    trigger(window, "actionRemoveCharacter");
    if (enabled != (index >= 0) || codesOf(window.project().glyphs) != expected) {
        fail(QStringLiteral("Remove character %1 gave another list").arg(index));
    }
}

// Undo or Redo from the menu. Whatever either does, the other takes back: the project returns
// exactly, and so does whether it counts as changed.
void RandomWalkTest::doUndoRedo(Action action) {
    BuilderDialog& window = *window_;
    const bool undo = action == Action::Undo;
    const char* name = undo ? "actionUndo" : "actionRedo";
    const char* reverse = undo ? "actionRedo" : "actionUndo";
    const bool enabled = child<QAction>(window, name)->isEnabled();
    const Document before = window.document();
    const bool changedBefore = window.hasUnsavedChanges();
    note(QStringLiteral("%1%2").arg(actionName(action), enabled ? "" : " (disabled)"));
    trigger(window, name);
    if (!enabled) {
        if (!(window.document() == before)) {
            fail(QStringLiteral("a disabled %1 changed the project").arg(actionName(action)));
        }
        return;
    }
    if (!child<QAction>(window, reverse)->isEnabled()) {
        fail(QStringLiteral("nothing to take back after %1").arg(actionName(action)));
    } else if (chance(30)) {
        note(QStringLiteral("and back"));
        trigger(window, reverse);
        if (!(window.document() == before) || window.hasUnsavedChanges() != changedBefore) {
            fail(QStringLiteral("%1 and back did not return to the project")
                     .arg(actionName(action)));
        }
    }
}

// What must hold after any action: the controls show the project.
void RandomWalkTest::checkControls() {
    const BuilderDialog& window = *window_;
    if (const QString differs = controlsDiffer(window, window.document()); !differs.isEmpty()) {
        fail(QStringLiteral("the controls do not show the project's ") + differs);
    }

    auto* slider = child<QSlider>(window, "zoomSlider");
    auto* preview = child<PreviewView>(window, "preview");
    if (preview->zoom() != slider->value() ||
        child<QSpinBox>(window, "zoomSpin")->value() != slider->value()) {
        fail(QStringLiteral("the zoom box or the preview does not follow the slider"));
    }
    if (preview->showRectangles() != child<QCheckBox>(window, "showRectanglesCheck")->isChecked()) {
        fail(QStringLiteral("the preview does not follow Show rectangles"));
    }
    auto* sample = child<SampleTextView>(window, "sampleView");
    if (sample->zoom() != preview->zoom() ||
        sample->showCells() != child<QCheckBox>(window, "showCellsCheck")->isChecked()) {
        fail(QStringLiteral("the sample line does not follow the zoom or Show cells"));
    }
    // The page selector and the size used follow the atlas shown.
    const AtlasResult& shown = *window.shownResult();
    const int pages = std::max<int>(1, static_cast<int>(shown.pages.size()));
    auto* pageSpin = child<QSpinBox>(window, "pageSpin");
    if (pageSpin->maximum() != pages || pageSpin->value() != preview->page() + 1 ||
        preview->page() >= pages || pageSpin->isEnabled() != (pages > 1) ||
        child<QLabel>(window, "usedSizeLabel")->text() != QStringLiteral("Used: %1 x %2")
                                                              .arg(shown.textureSize.width)
                                                              .arg(shown.textureSize.height)) {
        fail(QStringLiteral("the page selector or the size used does not follow the atlas"));
    }
    if (!window.isVisible()) {
        fail(QStringLiteral("the window is hidden"));
    }
    // The title names the project's file and marks unsaved changes.
    const QString name =
        projectFile_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(projectFile_).fileName();
    if (window.projectPath() != projectFile_ ||
        window.windowTitle() != name + QStringLiteral("[*] - Vemro Font builder") ||
        window.isWindowModified() != window.hasUnsavedChanges()) {
        fail(QStringLiteral("the window's file is \"%1\" with the title \"%2\", not \"%3\"")
                 .arg(window.projectPath(), window.windowTitle(), projectFile_));
    }
}

// The atlas must be exactly what a fresh builder, with a renderer of its own, makes of the
// window's document.
void RandomWalkTest::checkAgainstFreshRebuild() {
    AtlasBuilder fresh(referenceRenderer_);
    const std::shared_ptr<const AtlasResult> expected =
        fresh.rebuild(atlasProjectOf(window_->document()));
    const AtlasResult& atlas = *window_->waitForResult();
    if (expected->glyphs != atlas.glyphs) {
        fail(QStringLiteral("the placed glyphs differ from a fresh rebuild"));
    } else if (expected->pages != atlas.pages) {
        fail(QStringLiteral("the atlas pixels differ from a fresh rebuild"));
    } else if (!(*expected == atlas)) {
        fail(QStringLiteral("the atlas differs from a fresh rebuild"));
    }
}

void RandomWalkTest::randomActionsKeepTheWindowConsistent() {
    const int seed = environmentNumber("VEMRO_RANDOM_WALK_SEED", 20240611);
    const int actions = environmentNumber("VEMRO_RANDOM_WALK_ACTIONS", 2000);
    random_.seed(static_cast<std::mt19937::result_type>(seed));
    prepareFiles();

    BuilderDialog window(renderer_, prompts_);
    window_ = &window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    std::discrete_distribution<int> choose(kWeights.begin(), kWeights.end());
    QElapsedTimer clock;
    clock.start();
    for (int step = 1; step <= actions && failure_.isEmpty(); ++step) {
        act(static_cast<Action>(choose(random_)));
        if (failure_.isEmpty()) {
            checkControls();
        }
        if (failure_.isEmpty() && step % 100 == 0) {
            checkAgainstFreshRebuild();
        }
        if (!failure_.isEmpty()) {
            QString last;
            for (const QString& line : history_) {
                last += QStringLiteral("\n    ") + line;
            }
            failure_ = QStringLiteral("seed %1, action %2: %3\n  last actions:%4")
                           .arg(seed)
                           .arg(step)
                           .arg(failure_, last);
        }
    }
    if (failure_.isEmpty()) {
        checkAgainstFreshRebuild();
    }
    window_ = nullptr;
    QVERIFY2(failure_.isEmpty(), qPrintable(failure_));

    // The walk reached every kind of action, and the file commands got past their prompts.
    for (int i = 0; i < static_cast<int>(Action::Count); ++i) {
        QVERIFY2(done_[static_cast<std::size_t>(i)] > 0, actionName(static_cast<Action>(i)));
    }
    QVERIFY(savesWritten_ > 0);
    QVERIFY(opensDone_ > 0);
    QVERIFY(exportsWritten_ > 0);
    qInfo("%d actions in %lld ms: %d saves, %d opens, %d exports", actions,
          static_cast<long long>(clock.elapsed()), savesWritten_, opensDone_, exportsWritten_);
}

}  // namespace vemro::test

QTEST_MAIN(vemro::test::RandomWalkTest)
#include "random_walk_test.moc"
