// The window's effects: the Effects tab writes the project (undoable, saved and shown again when
// opened), a distance field disables what does not apply to it, and the preview and the sample
// line show colour pages in their colours and distance fields sharp at any zoom.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "engine/freetype_font_renderer.h"
#include "files/project_opener.h"
#include "tests/ui/fake_file_prompts.h"
#include "tests/ui/ui_test_helpers.h"
#include "ui/builder_dialog.h"
#include "ui/preview_view.h"
#include "ui/sample_text_view.h"

namespace vemro::test {

class EffectsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void effectControlsWriteTheProjectAndAreSavedAndReopened();
    void distanceFieldDisablesWhatDoesNotApplyToIt();
    void renderedDistanceFieldStaysSharpAtHighZoom();
    void colourPagesShowTheirColours();

private:
    // A window showing a project of the characters, saved first with the effects given.
    void open(BuilderDialog& window, const QTemporaryDir& dir, const std::u32string& characters,
              const EffectSettings& effects, std::int32_t size = 24);

    FreetypeFontRenderer renderer_;
};

void EffectsWindowTest::open(BuilderDialog& window, const QTemporaryDir& dir,
                             const std::u32string& characters, const EffectSettings& effects,
                             std::int32_t size) {
    Project project = startupProject("DejaVu Sans");
    project.font.size = size;
    project.effects = effects;
    project.sampleText = "Il";
    for (const char32_t code : characters) {
        project.glyphs.addCharacter(code);
    }
    const QString path = dir.filePath(QStringLiteral("start.fnt"));
    QVERIFY(saveProject(path.toStdString(), project).ok());
    window.show();
    QVERIFY(window.openProjectFile(path));
    window.waitForResult();
}

void EffectsWindowTest::effectControlsWriteTheProjectAndAreSavedAndReopened() {
    QTemporaryDir dir;
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    open(window, dir, U"AgQ", {});

    click(child<QCheckBox>(window, "outlineCheck"));
    QVERIFY(window.project().effects.outline);
    trigger(window, "actionUndo");
    QVERIFY(!window.project().effects.outline);
    QCOMPARE(controlsDiffer(window, window.project()), QString());
    trigger(window, "actionRedo");
    typeInto(child<QSpinBox>(window, "outlineWidthSpin"), QStringLiteral("5"));
    prompts.colourAnswer = QColor(10, 20, 30);
    QTest::mouseClick(child<QToolButton>(window, "outlineColourButton"), Qt::LeftButton);
    QCOMPARE(prompts.colourAskedWith, QColor(0, 0, 0));
    QVERIFY(!prompts.colourWithAlpha);

    click(child<QCheckBox>(window, "shadowCheck"));
    typeInto(child<QSpinBox>(window, "shadowXSpin"), QStringLiteral("-7"));
    typeInto(child<QSpinBox>(window, "shadowYSpin"), QStringLiteral("3"));
    typeInto(child<QSpinBox>(window, "shadowBlurSpin"), QStringLiteral("4"));
    prompts.colourAnswer = QColor(1, 2, 3, 90);
    QTest::mouseClick(child<QToolButton>(window, "shadowColourButton"), Qt::LeftButton);
    QVERIFY(prompts.colourWithAlpha);
    prompts.colourAnswer = QColor(200, 100, 50);
    QTest::mouseClick(child<QToolButton>(window, "fillColourButton"), Qt::LeftButton);
    // A colour question cancelled changes nothing.
    prompts.colourAnswer.reset();
    const Project chosen = window.project();
    QTest::mouseClick(child<QToolButton>(window, "fillColourButton"), Qt::LeftButton);
    QCOMPARE(prompts.colourQuestions.size(), 4);
    QVERIFY(window.project() == chosen);

    EffectSettings expected;
    expected.outline = true;
    expected.outlineWidth = 5;
    expected.outlineColour = Rgb{10, 20, 30};
    expected.shadow = true;
    expected.shadowX = -7;
    expected.shadowY = 3;
    expected.shadowBlur = 4;
    expected.shadowColour = Rgb{1, 2, 3};
    expected.shadowOpacity = 90;
    expected.fill = Rgb{200, 100, 50};
    QVERIFY(window.project().effects == expected);
    QCOMPARE(window.waitForResult()->pages.front().channels, 4);
    QVERIFY(window.isWindowModified() || window.hasUnsavedChanges());

    prompts.savePath = dir.filePath(QStringLiteral("effects.fnt"));
    trigger(window, "actionSaveAs");
    QVERIFY(prompts.errors.isEmpty());
    FakeFilePrompts secondPrompts;
    BuilderDialog second(renderer_, secondPrompts);
    second.show();
    QVERIFY(second.openProjectFile(*prompts.savePath));
    QVERIFY(second.project() == window.project());
    QCOMPARE(controlsDiffer(second, second.project()), QString());

    // The distance field and its spread are kept too; outline and shadow keep their values.
    click(child<QCheckBox>(second, "distanceFieldCheck"));
    typeInto(child<QSpinBox>(second, "spreadSpin"), QStringLiteral("12"));
    secondPrompts.savePath = dir.filePath(QStringLiteral("field.fnt"));
    trigger(second, "actionSaveAs");
    BuilderDialog third(renderer_, prompts);
    third.show();
    QVERIFY(third.openProjectFile(*secondPrompts.savePath));
    expected.distanceField = true;
    expected.spread = 12;
    QVERIFY(third.project().effects == expected);
    QCOMPARE(controlsDiffer(third, third.project()), QString());
}

void EffectsWindowTest::distanceFieldDisablesWhatDoesNotApplyToIt() {
    QTemporaryDir dir;
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    open(window, dir, U"ab", {});
    chooseItem(child<QComboBox>(window, "factorCombo"), 3);
    QCOMPARE(window.project().font.factor, 4);
    auto* factor = child<QComboBox>(window, "factorCombo");
    auto* field = child<QCheckBox>(window, "distanceFieldCheck");
    QVERIFY(factor->isEnabled());
    QVERIFY(!child<QSpinBox>(window, "spreadSpin")->isEnabled());

    click(field);
    QVERIFY(!factor->isEnabled());
    QVERIFY(factor->toolTip().contains(QStringLiteral("does not apply to distance fields")));
    QVERIFY(!child<QLabel>(window, "effectsNoteLabel")->isHidden());
    for (const char* name : {"outlineCheck", "shadowCheck", "outlineColourButton",
                             "shadowColourButton", "outlineWidthSpin", "shadowXSpin"}) {
        QVERIFY2(!child<QWidget>(window, name)->isEnabled(), name);
    }
    QVERIFY(child<QSpinBox>(window, "spreadSpin")->isEnabled());
    // The factor stays stored; the atlas is drawn without it.
    QCOMPARE(window.project().font.factor, 4);
    QCOMPARE(window.waitForResult()->factor, 1);
    QVERIFY(child<QComboBox>(window, "fieldViewCombo")->isEnabled());

    // Undone, everything is back as it was.
    trigger(window, "actionUndo");
    QVERIFY(factor->isEnabled());
    QVERIFY(child<QCheckBox>(window, "outlineCheck")->isEnabled());
    QVERIFY(child<QLabel>(window, "effectsNoteLabel")->isHidden());
    QCOMPARE(window.waitForResult()->factor, 4);
    QVERIFY(!child<QComboBox>(window, "fieldViewCombo")->isEnabled());
}

namespace {

// The pixels between black and white (grey 16 to 239) in the middle one of the image's rows that
// hold white: a row across the middle of a stem, away from its ends.
int greysAcrossTheMiddle(const QImage& image) {
    std::vector<int> whiteRows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGreen(image.pixel(x, y)) >= 240) {
                whiteRows.push_back(y);
                break;
            }
        }
    }
    if (whiteRows.empty()) {
        return -1;
    }
    const int y = whiteRows[whiteRows.size() / 2];
    int greys = 0;
    for (int x = 0; x < image.width(); ++x) {
        const int grey = qGreen(image.pixel(x, y));
        greys += grey >= 16 && grey < 240 ? 1 : 0;
    }
    return greys;
}

}  // namespace

// A stem of "I" at 1000 %: rendered from its distance field, each of its two edges passes from
// black to white within a couple of screen pixels; a coverage atlas magnified as stored turns a
// partly covered column into ten pixels of grey.
void EffectsWindowTest::renderedDistanceFieldStaysSharpAtHighZoom() {
    QTemporaryDir dir;
    EffectSettings field;
    field.distanceField = true;
    field.spread = 8;
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    open(window, dir, U"I", field);
    child<QSpinBox>(window, "zoomSpin")->setValue(1000);
    auto* preview = child<PreviewView>(window, "preview");
    auto* sample = child<SampleTextView>(window, "sampleView");
    QVERIFY(preview->fieldRendered());
    const int rendered = greysAcrossTheMiddle(preview->grab().toImage());
    const int renderedLine = greysAcrossTheMiddle(sample->viewport()->grab().toImage());
    QVERIFY2(rendered > 0 && rendered <= 4, qPrintable(QString::number(rendered)));
    QVERIFY2(renderedLine <= 4, qPrintable(QString::number(renderedLine)));

    // As stored, the field's slopes show as broad grey, and nothing is white.
    chooseItem(child<QComboBox>(window, "fieldViewCombo"), 1);
    QVERIFY(!preview->fieldRendered());
    const QImage stored = preview->grab().toImage();
    QCOMPARE(greysAcrossTheMiddle(stored), -1);
    int broadest = 0;
    for (int y = 0; y < stored.height(); ++y) {
        int greys = 0;
        for (int x = 0; x < stored.width(); ++x) {
            greys += qGreen(stored.pixel(x, y)) >= 16 ? 1 : 0;
        }
        broadest = std::max(broadest, greys);
    }
    QVERIFY(broadest >= 100);

    // Coverage, magnified: the partly covered columns are squares of grey ten pixels wide.
    click(child<QCheckBox>(window, "distanceFieldCheck"));
    window.waitForResult();
    QVERIFY(greysAcrossTheMiddle(preview->grab().toImage()) >= 10);
}

// A fill colour alone: every solid pixel of the glyph shows in that colour, pixels without ink
// the checkerboard's greys; the sample line shows the colour too.
void EffectsWindowTest::colourPagesShowTheirColours() {
    QTemporaryDir dir;
    EffectSettings red;
    red.fill = Rgb{255, 0, 0};
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    open(window, dir, U"Il", red);
    const std::shared_ptr<const AtlasResult> result = window.waitForResult();
    const AtlasPage& page = result->pages.front();
    QCOMPARE(page.channels, 4);
    const QImage image = child<PreviewView>(window, "preview")->grab().toImage();
    int solid = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const QRgb shown = image.pixel(x, y);
            if (page.at(x, y, 3) == 255) {
                QCOMPARE(shown & 0xFFFFFFu, 0xFF0000u);
                ++solid;
            } else if (page.at(x, y, 3) == 0) {
                QCOMPARE(qRed(shown), qBlue(shown));
                QVERIFY(qRed(shown) > 100 && qRed(shown) < 180);
            }
        }
    }
    QVERIFY(solid > 20);
    const QImage line = child<SampleTextView>(window, "sampleView")->viewport()->grab().toImage();
    int redPixels = 0;
    for (int y = 0; y < line.height(); ++y) {
        for (int x = 0; x < line.width(); ++x) {
            redPixels += (line.pixel(x, y) & 0xFFFFFFu) == 0xFF0000u ? 1 : 0;
        }
    }
    QVERIFY(redPixels > 20);
}

}  // namespace vemro::test

QTEST_MAIN(vemro::test::EffectsWindowTest)
#include "effects_window_test.moc"
