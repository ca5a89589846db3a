// The window's effects: the Effects tab writes the project (undoable, saved and shown again when
// opened), a distance field disables what does not apply to it, the preview and the sample line
// show colour pages in their colours and distance fields sharp at any zoom, and a long rebuild of
// fields shows its progress and can be cancelled.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <chrono>
#include <thread>

#include "engine/font/freetype_font_renderer.h"
#include "files/project/project_opener.h"
#include "session/session_text.h"
#include "tests/fake_font_renderer.h"
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
    void longRebuildShowsItsProgressAndCancels();

private:
    // Shows the window with a project of the characters and effects, opened from a file.
    void open(BuilderDialog& window, const std::u32string& characters,
              const EffectSettings& effects);

    FreetypeFontRenderer renderer_;
    QTemporaryDir dir_;
};

void EffectsWindowTest::open(BuilderDialog& window, const std::u32string& characters,
                             const EffectSettings& effects) {
    Project project = startupProject("DejaVu Sans");
    project.font.size = 24;
    project.effects = effects;
    for (const char32_t code : characters) {
        project.glyphs.addCharacter(code);
    }
    Document document{project};
    document.sampleText = "Il";
    const QString path = dir_.filePath(QStringLiteral("start.fnt"));
    QVERIFY(saveProject(path.toStdString(), document).ok());
    window.show();
    QVERIFY(window.openProjectFile(path));
    window.waitForResult();
}

void EffectsWindowTest::effectControlsWriteTheProjectAndAreSavedAndReopened() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    open(window, U"AgQ", {});
    click(child<QCheckBox>(window, "outlineCheck"));
    QVERIFY(window.project().effects.outline);
    trigger(window, "actionUndo");
    QVERIFY(!window.project().effects.outline);
    QCOMPARE(controlsDiffer(window, window.document()), QString());
    trigger(window, "actionRedo");
    typeInto(child<QSpinBox>(window, "outlineWidthSpin"), QStringLiteral("5"));
    click(child<QCheckBox>(window, "shadowCheck"));
    typeInto(child<QSpinBox>(window, "shadowXSpin"), QStringLiteral("-7"));
    typeInto(child<QSpinBox>(window, "shadowBlurSpin"), QStringLiteral("4"));
    const auto pickColour = [&](const char* button, std::optional<QColor> colour) {
        prompts.colourAnswer = colour;
        QTest::mouseClick(child<QToolButton>(window, button), Qt::LeftButton);
    };
    pickColour("outlineColourButton", QColor(10, 20, 30));
    QCOMPARE(prompts.colourAskedWith, QColor(0, 0, 0));
    QVERIFY(!prompts.colourWithAlpha);
    pickColour("shadowColourButton", QColor(1, 2, 3, 90));
    QVERIFY(prompts.colourWithAlpha);
    pickColour("fillColourButton", QColor(200, 100, 50));
    // A colour question cancelled changes nothing.
    const Document chosen = window.document();
    pickColour("fillColourButton", std::nullopt);
    QVERIFY(window.document() == chosen);

    EffectSettings expected;
    expected.outline = true;
    expected.outlineWidth = 5;
    expected.outlineColour = Rgb{10, 20, 30};
    expected.shadow = true;
    expected.shadowX = -7;
    expected.shadowBlur = 4;
    expected.shadowColour = Rgb{1, 2, 3};
    expected.shadowOpacity = 90;
    expected.fill = Rgb{200, 100, 50};
    QVERIFY(window.project().effects == expected);
    QVERIFY(window.hasUnsavedChanges());
    QCOMPARE(window.waitForResult()->pages.front().channels, 4);

    // Saved with a distance field too, opened again as it was.
    chooseItem(child<QComboBox>(window, "distanceFieldCombo"), 3);
    typeInto(child<QSpinBox>(window, "spreadSpin"), QStringLiteral("12"));
    prompts.savePath = dir_.filePath(QStringLiteral("effects.fnt"));
    trigger(window, "actionSaveAs");
    QVERIFY(prompts.errors.isEmpty());
    FakeFilePrompts secondPrompts;
    BuilderDialog second(renderer_, secondPrompts);
    second.show();
    QVERIFY(second.openProjectFile(*prompts.savePath));
    expected.distanceField = DistanceField::Msdf;
    expected.spread = 12;
    QVERIFY(second.project().effects == expected);
    QVERIFY(second.document() == window.document());
    QCOMPARE(controlsDiffer(second, second.document()), QString());
}

void EffectsWindowTest::distanceFieldDisablesWhatDoesNotApplyToIt() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    open(window, U"ab", {});
    auto* factor = child<QComboBox>(window, "factorCombo");
    chooseItem(factor, 3);
    QCOMPARE(window.project().font.factor, 4);
    chooseItem(child<QComboBox>(window, "distanceFieldCombo"), 1);
    QVERIFY(!factor->isEnabled());
    QVERIFY(factor->toolTip().contains(QStringLiteral("does not apply to distance fields")));
    QVERIFY(!child<QLabel>(window, "effectsNoteLabel")->isHidden());
    QVERIFY(child<QLabel>(window, "effectsNoteLabel")->text().contains(QStringLiteral("fill")));
    for (const char* name :
         {"fillColourButton", "outlineCheck", "shadowCheck", "outlineColourButton",
          "shadowColourButton", "outlineWidthSpin", "shadowXSpin"}) {
        QVERIFY2(!child<QWidget>(window, name)->isEnabled(), name);
    }
    auto* fill = child<QToolButton>(window, "fillColourButton");
    QVERIFY(fill->toolTip().contains(QStringLiteral("does not apply to distance fields")));
    // The factor stays stored; the atlas is drawn without it.
    QCOMPARE(window.project().font.factor, 4);
    QCOMPARE(window.waitForResult()->factor, 1);
    QVERIFY(child<QComboBox>(window, "fieldViewCombo")->isEnabled());
    trigger(window, "actionUndo");
    QVERIFY(factor->isEnabled() && child<QCheckBox>(window, "outlineCheck")->isEnabled());
    QVERIFY(fill->isEnabled() && fill->toolTip().contains(QStringLiteral("click to choose")));
    QVERIFY(child<QLabel>(window, "effectsNoteLabel")->isHidden());
    QCOMPARE(window.waitForResult()->factor, 4);
}

namespace {

// The pixels between black and white (grey 16 to 239) in the middle one of the image's rows that
// hold white: a row across the middle of a stem, away from its ends; -1 without white.
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
    int greys = 0;
    for (int x = 0; x < image.width(); ++x) {
        const int grey = qGreen(image.pixel(x, whiteRows[whiteRows.size() / 2]));
        greys += grey >= 16 && grey < 240 ? 1 : 0;
    }
    return greys;
}

}  // namespace

// A stem of "I" at 1000 %: rendered from its distance field (the median of an msdf's channels),
// each of its two edges passes from black to white within a couple of screen pixels, in the
// preview and the sample line; as stored an sdf shows nothing white and an msdf its channels in
// colour; a coverage atlas magnified turns a partly covered column into ten pixels of grey.
void EffectsWindowTest::renderedDistanceFieldStaysSharpAtHighZoom() {
    for (const DistanceField kind : {DistanceField::Sdf, DistanceField::Msdf}) {
        EffectSettings field;
        field.distanceField = kind;
        FakeFilePrompts prompts;
        BuilderDialog window(renderer_, prompts);
        open(window, U"I", field);
        child<QSpinBox>(window, "zoomSpin")->setValue(1000);
        auto* preview = child<PreviewView>(window, "preview");
        const int rendered = greysAcrossTheMiddle(preview->grab().toImage());
        QVERIFY2(rendered > 0 && rendered <= 4, qPrintable(QString::number(rendered)));
        QVERIFY(greysAcrossTheMiddle(
                    child<SampleTextView>(window, "sampleView")->viewport()->grab().toImage()) <=
                4);
        chooseItem(child<QComboBox>(window, "fieldViewCombo"), 1);
        const QImage stored = preview->grab().toImage();
        if (kind == DistanceField::Sdf) {
            QCOMPARE(greysAcrossTheMiddle(stored), -1);
            continue;
        }
        int coloured = 0;
        for (int y = 0; y < stored.height(); y += 4) {
            for (int x = 0; x < stored.width(); x += 4) {
                const QRgb pixel = stored.pixel(x, y);
                coloured += qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel) ? 1 : 0;
            }
        }
        QVERIFY(coloured > 0);
        chooseItem(child<QComboBox>(window, "distanceFieldCombo"), 0);
        window.waitForResult();
        QVERIFY(greysAcrossTheMiddle(preview->grab().toImage()) >= 10);
    }
}

// A fill colour alone: every solid pixel of the glyph shows in that colour, pixels without ink
// the checkerboard's greys; the sample line shows the colour too.
void EffectsWindowTest::colourPagesShowTheirColours() {
    EffectSettings red;
    red.fill = Rgb{255, 0, 0};
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    open(window, U"Il", red);
    const AtlasPage& page = window.waitForResult()->pages.front();
    const QImage image = child<PreviewView>(window, "preview")->grab().toImage();
    int solid = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const QRgb shown = image.pixel(x, y);
            const int alpha = page.at(x, y, 3);
            QVERIFY(alpha != 255 || (shown & 0xFFFFFFu) == 0xFF0000u);
            QVERIFY(alpha != 0 || (qRed(shown) == qBlue(shown) && qRed(shown) > 100));
            solid += alpha == 255 ? 1 : 0;
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

// A rebuild of fields that runs past half a second shows how far it has got in the status line,
// with a Cancel button; Cancel, or Esc, stops it, the progress goes, the status line says so and
// the preview keeps the last atlas.
void EffectsWindowTest::longRebuildShowsItsProgressAndCancels() {
    testing::FakeFontRenderer slow;  // an outline takes a millisecond
    slow.onOutline = [](char32_t) { std::this_thread::sleep_for(std::chrono::milliseconds(1)); };
    FakeFilePrompts prompts;
    BuilderDialog window(slow, prompts);
    window.show();
    std::u16string characters;
    for (char16_t code = 0x100; code < 0xD00; ++code) {
        characters += code;
    }
    QVERIFY(window.session().addTypedText(characters).ok());
    const std::shared_ptr<const AtlasResult> before = window.waitForResult();
    auto* bar = child<QProgressBar>(window, "rebuildProgressBar");
    auto* cancel = child<QPushButton>(window, "cancelRebuildButton");
    QVERIFY(bar->isHidden() && cancel->isHidden());
    const auto cancelled = [&](const std::function<void()>& stop) {
        QTest::qWait(700);
        QVERIFY(window.isRebuilding());
        QVERIFY2(bar->isVisible() && cancel->isVisible(), "the progress shows");
        QVERIFY(bar->text().startsWith(QStringLiteral("Distance fields: ")));
        QVERIFY(bar->text().endsWith(
            QString::fromStdString(" of " + countText(window.project().glyphs.size()))));
        stop();
        QVERIFY(!window.isRebuilding());
        QVERIFY(bar->isHidden() && cancel->isHidden());
        QVERIFY(child<QLabel>(window, "statusLabel")->text().contains(QStringLiteral("cancelled")));
        QCOMPARE(window.session().shownResult(), before);
    };
    chooseItem(child<QComboBox>(window, "distanceFieldCombo"), 3);
    cancelled([&] { click(cancel); });
    typeInto(child<QSpinBox>(window, "spreadSpin"), QStringLiteral("5"));
    cancelled([&] { QTest::keyClick(&window, Qt::Key_Escape); });
}

}  // namespace vemro::test

QTEST_MAIN(vemro::test::EffectsWindowTest)
#include "effects_window_test.moc"
