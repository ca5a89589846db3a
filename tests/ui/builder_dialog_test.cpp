// The main window as a user drives it: start-up state, the routes from controls into the
// project and its atlas, the Add characters command, the sample line against the layout of the
// exported descriptor, and the window-level safeguards (Enter and Escape, the save-changes
// question, the status line, drops).

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
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
#include <map>
#include <set>

#include "engine/font/freetype_font_renderer.h"
#include "engine/project/glyph_list.h"
#include "engine/text/windows1252.h"
#include "files/project/project_file.h"
#include "tests/files/bmfont_reader.h"
#include "tests/ui/fake_file_prompts.h"
#include "tests/ui/ui_test_helpers.h"
#include "ui/builder_dialog.h"
#include "ui/preview_view.h"
#include "ui/sample_text_view.h"

namespace vemro::test {

namespace {

std::size_t indexOfCode(const GlyphList& glyphs, char32_t code) {
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        if (glyphs[i].code == code) {
            return i;
        }
    }
    qFatal("code %u not in the list", static_cast<unsigned>(code));
    return 0;
}

enum class Closing { Ok, Cancel, Escape, CloseBox, EnterKey };

// Runs Tools > Add characters, typing text into the dialog and closing it the given way.
void addCharacters(const BuilderDialog& window, const QString& text, Closing closing) {
    whenModalDialogShows([text, closing](QDialog* dialog) {
        auto* edit = child<QLineEdit>(*dialog, "charactersEdit");
        typeText(edit, text);
        switch (closing) {
            case Closing::Ok:
                child<QPushButton>(*dialog, "okButton")->click();
                break;
            case Closing::Cancel:
                child<QPushButton>(*dialog, "cancelButton")->click();
                break;
            case Closing::Escape:
                QTest::keyClick(edit, Qt::Key_Escape);
                break;
            case Closing::EnterKey:
                QTest::keyClick(edit, Qt::Key_Return);
                break;
            case Closing::CloseBox:
                dialog->close();
                break;
        }
    });
    trigger(window, "actionAddCharacters");
}

// A line as a game engine draws it from an exported BMFont descriptor and its first page: black
// ground; for each character, the kerning with the one before added to the pen, its rectangle
// drawn at pen + xoffset, yoffset as white at the page's alpha over what is there, the pen moved
// on by xadvance. Characters the descriptor lacks are left out. Grey levels by line pixel (x
// from the pen's start, y from the line's top).
std::map<std::pair<int, int>, int> engineLine(const ReadFont& font, const QImage& page,
                                              const std::u32string& text) {
    std::map<std::pair<int, int>, int> grey;
    std::int64_t pen = 0;
    std::uint32_t previous = 0;
    for (const char32_t code : text) {
        const auto c = font.chars.find(static_cast<std::uint32_t>(code));
        if (c == font.chars.end()) {
            continue;
        }
        const auto kerning = font.kernings.find({previous, c->first});
        pen += kerning != font.kernings.end() ? kerning->second : 0;
        const std::map<std::string, std::int64_t>& m = c->second;
        for (std::int64_t y = 0; y < m.at("height"); ++y) {
            for (std::int64_t x = 0; x < m.at("width"); ++x) {
                const int alpha = qAlpha(
                    page.pixel(static_cast<int>(m.at("x") + x), static_cast<int>(m.at("y") + y)));
                int& level = grey[{static_cast<int>(pen + m.at("xoffset") + x),
                                   static_cast<int>(m.at("yoffset") + y)}];
                level += static_cast<int>(std::lround((255 - level) * alpha / 255.0));
            }
        }
        pen += m.at("xadvance");
        previous = c->first;
    }
    return grey;
}

}  // namespace

class BuilderDialogTest : public QObject {
    Q_OBJECT

private slots:
    void startsShowingStartupProject();
    void startsWithHatchedPreviewAroundBlackTexture();

    void radioClicksRebuildEvenWhenAlreadySelected();
    void fontBorderTypedWidensEveryGlyph();
    void spinKeepsLastValidValue();
    void fontControlsRouteOnUserChoiceOnly();
    void characterBorderWithoutSelectionDoesNothing();
    void selectingCharacterShowsItsBordersAndChangesNone();
    void characterListFollowsRebuildsAndKeepsSelection();
    void zoomAndRectanglesAreNoProjectChange();
    void sampleLineDrawsWhatTheExportedDescriptorLaysOut();

    void addCharactersTakesTextHoweverClosed();
    void addCharactersTakesAnyUnicodeText();
    void addCharactersStartsEmptyEachTime();

    void enterAndEscapeLeaveWindowOpen();
    void unchangedProjectClosesWithoutQuestion();
    void changedProjectAsksBeforeNewOpenAndClose();
    void savingFromQuestionKeepsWork();
    void droppedProjectOpensAfterQuestion();

private:
    FreetypeFontRenderer renderer_;
};

void BuilderDialogTest::startsShowingStartupProject() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();

    QCOMPARE(window.windowTitle(), QStringLiteral("Untitled[*] - Vemro Font builder"));
    QVERIFY(!window.isWindowModified());
    QVERIFY(window.document() == Document{startupProject(renderer_.defaultFaceName())});
    // 11 points at 96 pixels per inch.
    QCOMPARE(child<QLabel>(window, "sizePixelsLabel")->text(), QStringLiteral("= 15 px"));
    QVERIFY(child<PreviewView>(window, "preview")->hint().contains(QStringLiteral("Tools")));
    QCOMPARE(controlsDiffer(window, window.document()), QString());
    QCOMPARE(window.waitForResult()->textureSize, window.project().textureSize);
    QVERIFY(!window.hasUnsavedChanges());
    QVERIFY(!child<QAction>(window, "actionUndo")->isEnabled());
    QVERIFY(!child<QAction>(window, "actionRedo")->isEnabled());

    auto* slider = child<QSlider>(window, "zoomSlider");
    QCOMPARE(slider->minimum(), 100);
    QCOMPARE(slider->maximum(), 1000);
    QCOMPARE(slider->value(), 100);
    QCOMPARE(slider->tickInterval(), 50);
    QCOMPARE(child<QSpinBox>(window, "zoomSpin")->text(), QStringLiteral("100%"));
    QCOMPARE(window.focusWidget(), static_cast<QWidget*>(slider));

    // Every installed face is on offer, in the renderer's order.
    auto* name = child<QComboBox>(window, "nameCombo");
    QStringList faces;
    for (const std::string& face : renderer_.faceNames()) {
        faces.append(QString::fromStdString(face));
    }
    QCOMPARE(name->count(), faces.size());
    QCOMPARE(name->itemText(faces.size() - 1), faces.back());
}

void BuilderDialogTest::startsWithHatchedPreviewAroundBlackTexture() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    auto* preview = child<PreviewView>(window, "preview");
    // A space has no ink; with a character in the list the hint is gone.
    addCharacters(window, QStringLiteral(" "), Closing::Ok);
    QVERIFY(preview->hint().isEmpty());
    // 450 pixels wide at start; as tall as the controls beside it make the window.
    QCOMPARE(preview->width(), 450);
    QVERIFY(preview->height() >= 450);
    window.waitForResult();
    const QImage image = preview->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // The 256 x 256 texture is black; beside and below it lies the grey hatch with its black
    // diagonals.
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            QCOMPARE(image.pixel(x, y) & 0xFFFFFFu, 0u);
        }
    }
    std::set<QRgb> beside;
    std::set<QRgb> below;
    for (int y = 0; y < 256; ++y) {
        for (int x = 256; x < std::min(image.width(), 512); ++x) {
            beside.insert(image.pixel(x, y) & 0xFFFFFFu);
        }
    }
    for (int y = 256; y < std::min(image.height(), 512); ++y) {
        for (int x = 0; x < 256; ++x) {
            below.insert(image.pixel(x, y) & 0xFFFFFFu);
        }
    }
    QCOMPARE(beside, (std::set<QRgb>{0x000000u, 0x808080u}));
    QCOMPARE(below, (std::set<QRgb>{0x000000u, 0x808080u}));
}

void BuilderDialogTest::radioClicksRebuildEvenWhenAlreadySelected() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    auto* width512 = child<QRadioButton>(window, "width512Radio");
    click(width512);
    QCOMPARE(window.project().textureSize, (AtlasSize{512, 256}));
    QCOMPARE(window.waitForResult()->textureSize, (AtlasSize{512, 256}));
    QCOMPARE(window.waitForResult()->pages.front().width, 512);

    // A click on the checked button changes nothing, so it adds no undo step.
    click(width512);
    QVERIFY(width512->isChecked());
    QCOMPARE(window.project().textureSize, (AtlasSize{512, 256}));
    click(child<QRadioButton>(window, "height64Radio"));
    QCOMPARE(window.waitForResult()->textureSize, (AtlasSize{512, 64}));
    trigger(window, "actionUndo");
    QCOMPARE(window.project().textureSize, (AtlasSize{512, 256}));
    trigger(window, "actionUndo");
    QCOMPARE(window.project().textureSize, (AtlasSize{256, 256}));
    QVERIFY(!child<QAction>(window, "actionUndo")->isEnabled());
}

void BuilderDialogTest::fontBorderTypedWidensEveryGlyph() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    const std::vector<PlacedGlyph> before = window.waitForResult()->glyphs;
    QCOMPARE(before.size(), std::size_t{224});

    typeInto(child<QSpinBox>(window, "borderLeftSpin"), QStringLiteral("3"));
    QCOMPARE(window.project().fontBorders, (FontBorders{.left = 3}));
    QCOMPARE(window.waitForResult()->fontBorders, (FontBorders{.left = 3}));
    const std::vector<PlacedGlyph>& after = window.waitForResult()->glyphs;
    QCOMPARE(after.size(), before.size());
    bool moved = false;
    for (std::size_t i = 0; i < after.size(); ++i) {
        QCOMPARE(after[i].width, before[i].width + 3);
        QCOMPARE(after[i].height, before[i].height);
        moved = moved || after[i].x != before[i].x || after[i].y != before[i].y;
    }
    QVERIFY(moved);
}

void BuilderDialogTest::spinKeepsLastValidValue() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    auto* spin = child<QSpinBox>(window, "borderTopSpin");
    typeInto(spin, QStringLiteral("1"));
    QCOMPARE(window.project().fontBorders.top, 1);
    QTest::keyClicks(spin, QStringLiteral("7"));  // "17" is beyond 16
    QCOMPARE(spin->value(), 1);
    QCOMPARE(spin->text(), QStringLiteral("1"));
    QCOMPARE(window.project().fontBorders.top, 1);

    // Arrow keys step within the range and route like typing.
    QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(window.project().fontBorders.top, 2);
    QCOMPARE(window.waitForResult()->fontBorders.top, 2);

    // The size spin clamps the same way: 100 at most.
    auto* size = child<QSpinBox>(window, "sizeSpin");
    typeInto(size, QStringLiteral("100"));
    QTest::keyClicks(size, QStringLiteral("0"));
    QCOMPARE(window.project().font.size, 100);
}

void BuilderDialogTest::fontControlsRouteOnUserChoiceOnly() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    auto* weight = child<QComboBox>(window, "weightCombo");
    auto* quality = child<QComboBox>(window, "qualityCombo");
    auto* factor = child<QComboBox>(window, "factorCombo");
    const Document start = window.document();

    // A selection set from code is no user choice: the project stays.
    weight->setCurrentIndex(2);
    QVERIFY(window.document() == start);
    weight->setCurrentIndex(0);

    chooseItem(weight, 1);
    QCOMPARE(window.project().font.weight, 600);
    chooseItem(quality, 1);
    QCOMPARE(window.project().font.quality, 3);
    chooseItem(factor, 3);
    QCOMPARE(window.project().font.factor, 4);
    QCOMPARE(window.waitForResult()->factor, 4);
    click(child<QCheckBox>(window, "italicCheck"));
    QVERIFY(window.project().font.italic);

    // Clicking the "Italic" caption clicks the box.
    auto* italicLabel = child<QLabel>(window, "italicLabel");
    QTest::mouseClick(italicLabel, Qt::LeftButton);
    QVERIFY(!window.project().font.italic);

    auto* name = child<QComboBox>(window, "nameCombo");
    if (name->count() > 1) {
        chooseItem(name, 1);
        QCOMPARE(window.project().font.faceName, renderer_.faceNames()[1]);
    }
}

void BuilderDialogTest::characterBorderWithoutSelectionDoesNothing() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    auto* characters = child<QComboBox>(window, "characterCombo");
    QCOMPARE(characters->count(), 224);
    QCOMPARE(characters->currentIndex(), -1);
    const Document before = window.document();

    typeInto(child<QSpinBox>(window, "charBorderRightSpin"), QStringLiteral("5"));
    typeInto(child<QSpinBox>(window, "charBorderLeftSpin"), QStringLiteral("2"));
    QVERIFY(window.document() == before);
}

void BuilderDialogTest::selectingCharacterShowsItsBordersAndChangesNone() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    auto* characters = child<QComboBox>(window, "characterCombo");
    auto* left = child<QSpinBox>(window, "charBorderLeftSpin");
    auto* right = child<QSpinBox>(window, "charBorderRightSpin");
    const GlyphList& glyphs = window.project().glyphs;
    const int a = static_cast<int>(indexOfCode(glyphs, 'A'));
    const int b = static_cast<int>(indexOfCode(glyphs, 'B'));

    // Give A the borders (0, 3) and B (2, 0) through the spins.
    chooseItem(characters, a);
    typeInto(right, QStringLiteral("3"));
    chooseItem(characters, b);
    QCOMPARE(left->value(), 0);
    QCOMPARE(right->value(), 0);
    typeInto(left, QStringLiteral("2"));
    QCOMPARE(glyphs[a].charBorderLeft, 0);
    QCOMPARE(glyphs[a].charBorderRight, 3);
    QCOMPARE(glyphs[b].charBorderLeft, 2);
    QCOMPARE(glyphs[b].charBorderRight, 0);

    // B is shown; selecting A shows A's borders and leaves both glyphs as they were.
    chooseItem(characters, a);
    QCOMPARE(left->value(), 0);
    QCOMPARE(right->value(), 3);
    QCOMPARE(glyphs[a].charBorderLeft, 0);
    QCOMPARE(glyphs[a].charBorderRight, 3);
    QCOMPARE(glyphs[b].charBorderLeft, 2);
    QCOMPARE(glyphs[b].charBorderRight, 0);
    QCOMPARE(characters->currentIndex(), a);
    QCOMPARE(characters->currentText(), QStringLiteral("A  U+0041"));

    // Selecting it again changes nothing.
    const Document before = window.document();
    chooseItem(characters, a);
    QVERIFY(window.document() == before);
}

void BuilderDialogTest::characterListFollowsRebuildsAndKeepsSelection() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    auto* characters = child<QComboBox>(window, "characterCombo");
    // Items in list order, each the character its Windows-1252 code stands for and its code;
    // characters without a visible shape by name.
    QCOMPARE(characters->itemText(0), QStringLiteral("space  U+0020"));
    QCOMPARE(characters->itemText(33), QStringLiteral("A  U+0041"));
    QCOMPARE(characters->itemText(128 - 32), QStringLiteral("\u20AC  U+20AC"));
    QCOMPARE(characters->itemText(233 - 32), QStringLiteral("\u00E9  U+00E9"));
    QCOMPARE(characters->itemText(160 - 32), QStringLiteral("no-break space  U+00A0"));
    QCOMPARE(characters->itemText(0x81 - 32), QStringLiteral("U+0081"));

    chooseItem(characters, 5);
    click(child<QRadioButton>(window, "width128Radio"));
    QCOMPARE(characters->count(), 224);
    QCOMPARE(characters->currentIndex(), 5);

    // After New the list is empty and nothing stays selected.
    prompts.unsavedAnswer = FilePrompts::UnsavedChanges::Discard;
    trigger(window, "actionNew");
    QCOMPARE(characters->count(), 0);
    QCOMPARE(characters->currentIndex(), -1);
}

void BuilderDialogTest::zoomAndRectanglesAreNoProjectChange() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    auto* slider = child<QSlider>(window, "zoomSlider");
    auto* preview = child<PreviewView>(window, "preview");
    auto* box = child<QSpinBox>(window, "zoomSpin");
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(box->text(), QStringLiteral("101%"));
    slider->setValue(250);
    QCOMPARE(box->text(), QStringLiteral("250%"));
    QCOMPARE(preview->zoom(), 250);

    // A typed percentage counts once it is entered; the slider follows it.
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("400"));
    QCOMPARE(preview->zoom(), 250);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(preview->zoom(), 400);
    QCOMPARE(slider->value(), 400);
    // Zoom In and Out go to the neighbouring whole hundreds; Actual Size back to 100.
    slider->setValue(250);
    trigger(window, "actionZoomIn");
    QCOMPARE(box->value(), 300);
    trigger(window, "actionZoomOut");
    trigger(window, "actionZoomOut");
    QCOMPARE(slider->value(), 100);
    slider->setValue(1000);
    trigger(window, "actionZoomIn");
    QCOMPARE(preview->zoom(), 1000);
    trigger(window, "actionZoomReset");
    QCOMPARE(preview->zoom(), 100);

    click(child<QCheckBox>(window, "showRectanglesCheck"));
    QVERIFY(preview->showRectangles());
    // The sample line follows the preview's zoom, and shows its cells on request.
    auto* sample = child<SampleTextView>(window, "sampleView");
    slider->setValue(700);
    QCOMPARE(sample->zoom(), 700);
    click(child<QCheckBox>(window, "showCellsCheck"));
    QVERIFY(sample->showCells());
    // The view settings are not part of the project: nothing to save, nothing to undo.
    QVERIFY(!window.hasUnsavedChanges());
    QVERIFY(!child<QAction>(window, "actionUndo")->isEnabled());
}

void BuilderDialogTest::sampleLineDrawsWhatTheExportedDescriptorLaysOut() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    addCharacters(window, QStringLiteral("AVTo Wa"), Closing::Ok);
    typeInto(child<QSpinBox>(window, "sizeSpin"), QStringLiteral("20"));
    chooseItem(child<QComboBox>(window, "factorCombo"), 1);
    typeInto(child<QSpinBox>(window, "borderLeftSpin"), QStringLiteral("3"));
    typeInto(child<QSpinBox>(window, "borderTopSpin"), QStringLiteral("2"));
    // "é" is not in the atlas: skipped, and named beside the line.
    auto* edit = child<QLineEdit>(window, "sampleTextEdit");
    edit->setFocus();
    edit->selectAll();
    typeText(edit, QStringLiteral("WAVo T\u00E9"));
    const std::u32string text = U"WAVo T\u00E9";
    QCOMPARE(window.document().sampleText, std::string("WAVo T\xC3\xA9"));
    QVERIFY2(child<QLabel>(window, "sampleMissingLabel")->text().endsWith(QStringLiteral("\u00E9")),
             qPrintable(child<QLabel>(window, "sampleMissingLabel")->text()));
    auto* view = child<SampleTextView>(window, "sampleView");
    auto* zoom = child<QSlider>(window, "zoomSlider");

    // Exports BMFont text with PNG pages and reads them back as an engine would.
    const auto exported = [&](const QString& name) {
        prompts.exportFormat = exportFormatIndex("bmfont-text");
        prompts.exportPath = dir.filePath(name + QStringLiteral(".fnt"));
        window.waitForResult();
        trigger(window, "actionExportFont");
        const QByteArray bytes = fileBytes(*prompts.exportPath);
        ReadFont font = readBmfont(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        if (!font.error.empty() || font.pages.size() != 1) {
            qFatal("cannot read %s: %s", qPrintable(name), font.error.c_str());
        }
        return std::pair{font, QImage(dir.filePath(QString::fromStdString(font.pages.front())))};
    };
    // Every line pixel the engine draws is a square of zoom / 100 view pixels of its grey.
    const auto drawnAsLaidOut = [&](const std::map<std::pair<int, int>, int>& line, int percent) {
        zoom->setValue(percent);
        // The view grows to the line's height at the zoom once the layout has run.
        QApplication::processEvents();
        const int z = percent / 100;
        const QImage picture = view->viewport()->grab().toImage();
        const QPoint origin = view->lineOrigin();
        for (const auto& [at, level] : line) {
            for (int i = 0; i < z * z; ++i) {
                const QPoint p(origin.x() + at.first * z + i % z,
                               origin.y() + at.second * z + i / z);
                if (!picture.rect().contains(p) || std::abs(qRed(picture.pixel(p)) - level) > 1) {
                    qWarning("line pixel (%d, %d) at %d%% is not %d", at.first, at.second, percent,
                             level);
                    return false;
                }
            }
        }
        return true;
    };

    const auto [kerned, kernedPage] = exported(QStringLiteral("kerned"));
    QVERIFY2(kerned.kernings.at({U'A', U'V'}) < 0, "the face kerns A and V");
    const std::map<std::pair<int, int>, int> kernedLine = engineLine(kerned, kernedPage, text);
    QVERIFY(drawnAsLaidOut(kernedLine, 300));
    QVERIFY(drawnAsLaidOut(kernedLine, 100));
    // At 1000 % the line is taller than the view: a notch of the wheel scrolls it down, and with
    // Shift across, by the platform's lines of 20 pixels.
    zoom->setValue(1000);
    QApplication::processEvents();
    for (const Qt::KeyboardModifier modifier : {Qt::NoModifier, Qt::ShiftModifier}) {
        QWheelEvent wheel(QPointF(20, 20), view->mapToGlobal(QPointF(20, 20)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, modifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
    }
    QCOMPARE(view->verticalScrollBar()->value(), QApplication::wheelScrollLines() * 20);
    QCOMPARE(view->horizontalScrollBar()->value(), QApplication::wheelScrollLines() * 20);

    // Without kerning the descriptor lists no pairs, and the line, V and all after it further
    // right, follows it.
    click(child<QCheckBox>(window, "kerningCheck"));
    const auto [plain, plainPage] = exported(QStringLiteral("plain"));
    QVERIFY(plain.kernings.empty());
    const std::map<std::pair<int, int>, int> plainLine = engineLine(plain, plainPage, text);
    QVERIFY(plainLine != kernedLine);
    QVERIFY(drawnAsLaidOut(plainLine, 100));
}

void BuilderDialogTest::addCharactersTakesTextHoweverClosed() {
    for (const Closing closing : {Closing::Cancel, Closing::Escape, Closing::CloseBox}) {
        FakeFilePrompts prompts;
        BuilderDialog window(renderer_, prompts);
        window.show();
        addCharacters(window, QStringLiteral("xyz"), closing);
        QCOMPARE(codesOf(window.project().glyphs), (std::vector<char32_t>{U'x', U'y', U'z'}));
        addCharacters(window, QString(), closing);
        QCOMPARE(window.project().glyphs.size(), std::size_t{3});
    }
}

void BuilderDialogTest::addCharactersTakesAnyUnicodeText() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    addCharacters(window, QStringLiteral("ab"), Closing::Ok);
    // A space, e acute, the euro sign, Cyrillic, Greek and Japanese, an emoji typed as its
    // surrogate pair, then pasted: a tab (a control character, left out) and characters
    // repeated or in the list already. Each new one comes once, in the order given, after
    // those already there.
    const QString typed =
        QStringLiteral(" \u00E9\u20AC\u0416\u03A9\u30A2b") + QString::fromUcs4(U"\U0001F600");
    const QString pasted = QStringLiteral("\t\u30A2a") + QString::fromUcs4(U"\U0001F600");
    QString entered;
    whenModalDialogShows([&](QDialog* dialog) {
        auto* edit = child<QLineEdit>(*dialog, "charactersEdit");
        typeText(edit, typed);
        edit->insert(pasted);
        entered = edit->text();
        child<QPushButton>(*dialog, "okButton")->click();
    });
    trigger(window, "actionAddCharacters");
    QCOMPARE(entered, typed + pasted);
    QCOMPARE(entered.size(), 14);
    QCOMPARE(codesOf(window.project().glyphs),
             (std::vector<char32_t>{U'a', U'b', U' ', U'\u00E9', U'\u20AC', U'\u0416', U'\u03A9',
                                    U'\u30A2', U'\U0001F600'}));
    // One step takes the whole text back.
    trigger(window, "actionUndo");
    QCOMPARE(codesOf(window.project().glyphs), (std::vector<char32_t>{U'a', U'b'}));
}

void BuilderDialogTest::addCharactersStartsEmptyEachTime() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    addCharacters(window, QStringLiteral("q"), Closing::Ok);
    QString textAtStart = QStringLiteral("not seen");
    QWidget* focusAtStart = nullptr;
    QLineEdit* edit = nullptr;
    whenModalDialogShows([&](QDialog* dialog) {
        edit = child<QLineEdit>(*dialog, "charactersEdit");
        textAtStart = edit->text();
        focusAtStart = dialog->focusWidget();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Add characters"));
        dialog->reject();
    });
    trigger(window, "actionAddCharacters");
    QVERIFY(textAtStart.isEmpty());
    QVERIFY(edit != nullptr);
    QCOMPARE(focusAtStart, static_cast<QWidget*>(edit));
}

void BuilderDialogTest::enterAndEscapeLeaveWindowOpen() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* size = child<QSpinBox>(window, "sizeSpin");
    typeInto(size, QStringLiteral("12"));
    QTest::keyClick(size, Qt::Key_Return);
    QTest::keyClick(size, Qt::Key_Enter);
    QTest::keyClick(size, Qt::Key_Escape);
    QTest::keyClick(child<QSlider>(window, "zoomSlider"), Qt::Key_Escape);
    QTest::keyClick(&window, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Escape);
    QCoreApplication::processEvents();
    QVERIFY(window.isVisible());
    QCOMPARE(window.project().font.size, 12);
    QCOMPARE(prompts.unsavedAsks, 0);
}

void BuilderDialogTest::unchangedProjectClosesWithoutQuestion() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    // Changing something and changing it back leaves nothing to save.
    typeInto(child<QSpinBox>(window, "sizeSpin"), QStringLiteral("14"));
    QVERIFY(window.hasUnsavedChanges());
    typeInto(child<QSpinBox>(window, "sizeSpin"), QStringLiteral("11"));
    QVERIFY(!window.hasUnsavedChanges());
    trigger(window, "actionNew");
    trigger(window, "actionExit");
    QVERIFY(!window.isVisible());
    QCOMPARE(prompts.unsavedAsks, 0);
}

void BuilderDialogTest::changedProjectAsksBeforeNewOpenAndClose() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    QVERIFY(window.hasUnsavedChanges());

    // Cancel leaves the work as it is.
    prompts.unsavedAnswer = FilePrompts::UnsavedChanges::Cancel;
    trigger(window, "actionNew");
    QCOMPARE(prompts.unsavedAsks, 1);
    QCOMPARE(window.project().glyphs.size(), std::size_t{224});
    trigger(window, "actionOpen");
    QCOMPARE(prompts.unsavedAsks, 2);
    QCOMPARE(prompts.openAsks, 0);
    QVERIFY(!window.close());
    QCOMPARE(prompts.unsavedAsks, 3);
    QVERIFY(window.isVisible());
    trigger(window, "actionExit");
    QCOMPARE(prompts.unsavedAsks, 4);
    QVERIFY(window.isVisible());

    // Discard goes ahead; the emptied project counts as unchanged.
    prompts.unsavedAnswer = FilePrompts::UnsavedChanges::Discard;
    trigger(window, "actionNew");
    QCOMPARE(prompts.unsavedAsks, 5);
    QVERIFY(window.project().glyphs.empty());
    QVERIFY(!window.hasUnsavedChanges());
    QCOMPARE(prompts.saveAsks, 0);

    // A settings change counts as a change too.
    click(child<QRadioButton>(window, "height512Radio"));
    QVERIFY(window.hasUnsavedChanges());
    QVERIFY(window.close());
    QCOMPARE(prompts.unsavedAsks, 6);
}

void BuilderDialogTest::savingFromQuestionKeepsWork() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    prompts.unsavedAnswer = FilePrompts::UnsavedChanges::Save;

    // Save chosen, but its file prompt cancelled: the window stays.
    QVERIFY(!window.close());
    QCOMPARE(prompts.saveAsks, 1);

    // Save chosen into a folder that does not exist: the failure is shown, the window stays.
    prompts.savePath = dir.filePath(QStringLiteral("missing/work.fnt"));
    QVERIFY(!window.close());
    QCOMPARE(prompts.errors.size(), 1);
    QVERIFY(window.hasUnsavedChanges());

    prompts.savePath = dir.filePath(QStringLiteral("work.fnt"));
    QVERIFY(window.close());
    QCOMPARE(prompts.errors.size(), 1);
    const QByteArray saved = fileBytes(*prompts.savePath);
    const std::size_t faceLength = window.project().font.faceName.size();
    QCOMPARE(static_cast<std::size_t>(saved.size()), 53 + faceLength + 9 * 224);
}

void BuilderDialogTest::droppedProjectOpensAfterQuestion() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ProjectFile project;
    project.faceName = renderer_.faceNames().front();
    project.glyphs = {{'Q', 1, 2}, {'R', 0, 0}};
    const QString path = dir.filePath(QStringLiteral("dropped.FNT"));
    QVERIFY(writeProjectFile(path.toStdString(), project).ok());

    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    const auto drop = [&window](const QString& file) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent dropEvent(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                             Qt::NoModifier);
        QApplication::sendEvent(&window, &dropEvent);
        QCoreApplication::processEvents();
        return true;
    };

    // Only a project file is taken.
    QVERIFY(!drop(dir.filePath(QStringLiteral("image.tga"))));

    trigger(window, "actionAddTorvynCharset");
    prompts.unsavedAnswer = FilePrompts::UnsavedChanges::Cancel;
    QVERIFY(drop(path));
    QCOMPARE(prompts.unsavedAsks, 1);
    QCOMPARE(window.project().glyphs.size(), std::size_t{224});

    prompts.unsavedAnswer = FilePrompts::UnsavedChanges::Discard;
    QVERIFY(drop(path));
    QCOMPARE(prompts.unsavedAsks, 2);
    QCOMPARE(codesOf(window.project().glyphs), (std::vector<char32_t>{U'Q', U'R'}));
    QCOMPARE(window.project().glyphs[0].charBorderRight, 2);
    QVERIFY(prompts.errors.isEmpty());
}

}  // namespace vemro::test

QTEST_MAIN(vemro::test::BuilderDialogTest)
#include "builder_dialog_test.moc"
