// Large textures, fit size and several pages in the window: the packing controls kept in a
// project file and shown again when it is opened, the size a fitted atlas uses, and an atlas of
// several pages counted in the status line, shown page by page and exported as one image and
// one description per page; a status line that long, cut to the window's width.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include "engine/font/freetype_font_renderer.h"
#include "files/export/glyph_description.h"
#include "files/export/tga_image.h"
#include "tests/ui/fake_file_prompts.h"
#include "tests/ui/ui_test_helpers.h"
#include "ui/builder_dialog.h"
#include "ui/elided_label.h"
#include "ui/preview_view.h"

namespace vemro::test {

class PagesWindowTest : public QObject {
    Q_OBJECT

private slots:
    void packingSettingsAreSavedAndShownWhenOpened();
    void fitSizeShowsTheSizeUsed();
    void severalPagesAreCountedShownAndExported();

private:
    FreetypeFontRenderer renderer_;
};

void PagesWindowTest::packingSettingsAreSavedAndShownWhenOpened() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeFilePrompts prompts;
    BuilderDialog first(renderer_, prompts);
    first.show();
    click(child<QRadioButton>(first, "width2048Radio"));
    click(child<QRadioButton>(first, "height1024Radio"));
    chooseItem(child<QComboBox>(first, "packerCombo"), 1);
    typeInto(child<QSpinBox>(first, "spacingSpin"), QStringLiteral("16"));
    click(child<QCheckBox>(first, "fitSizeCheck"));
    click(child<QCheckBox>(first, "multiplePagesCheck"));
    QCOMPARE(first.project().textureSize, (AtlasSize{2048, 1024}));
    QCOMPARE(first.project().packing, (PackingSettings{PackerKind::Tight, 16, true, true}));
    prompts.savePath = dir.filePath(QStringLiteral("packed.fnt"));
    trigger(first, "actionSave");
    QVERIFY(prompts.errors.isEmpty());

    FakeFilePrompts secondPrompts;
    BuilderDialog second(renderer_, secondPrompts);
    second.show();
    QVERIFY(second.openProjectFile(*prompts.savePath));
    QVERIFY(second.document() == first.document());
    QCOMPARE(controlsDiffer(second, second.document()), QString());
    QVERIFY(child<QRadioButton>(second, "width2048Radio")->isChecked());
    QCOMPARE(child<QComboBox>(second, "packerCombo")->currentText(), QStringLiteral("Tight"));
}

void PagesWindowTest::fitSizeShowsTheSizeUsed() {
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    click(child<QRadioButton>(window, "width4096Radio"));
    click(child<QRadioButton>(window, "height4096Radio"));
    auto* used = child<QLabel>(window, "usedSizeLabel");
    auto* horizontal = child<QScrollBar>(window, "horizontalScrollBar");
    auto* preview = child<PreviewView>(window, "preview");
    window.waitForResult();
    QCOMPARE(used->text(), QStringLiteral("Used: 4096 x 4096"));
    QCOMPARE(horizontal->maximum(), 4096 - preview->width());

    // 224 characters at 15 pixels fit a texture far smaller than 4096 x 4096, and the preview's
    // canvas shrinks with it.
    click(child<QCheckBox>(window, "fitSizeCheck"));
    const AtlasResult& fitted = *window.waitForResult();
    QVERIFY(fitted.textureSize.width <= 512 && fitted.textureSize.height <= 512);
    QCOMPARE(fitted.glyphsOutsideTexture, std::size_t{0});
    QCOMPARE(used->text(), QStringLiteral("Used: %1 x %2")
                               .arg(fitted.textureSize.width)
                               .arg(fitted.textureSize.height));
    QCOMPARE(horizontal->maximum(), std::max(0, 512 - preview->width()));
}

void PagesWindowTest::severalPagesAreCountedShownAndExported() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    FakeFilePrompts prompts;
    BuilderDialog window(renderer_, prompts);
    window.show();
    trigger(window, "actionAddTorvynCharset");
    typeInto(child<QSpinBox>(window, "sizeSpin"), QStringLiteral("20"));
    click(child<QRadioButton>(window, "width128Radio"));
    click(child<QRadioButton>(window, "height128Radio"));
    auto* status = child<ElidedLabel>(window, "statusLabel");
    const int startWidth = window.width();
    auto* pageSpin = child<QSpinBox>(window, "pageSpin");
    QVERIFY(window.waitForResult()->glyphsOutsideTexture > 0);
    QVERIFY(!pageSpin->isEnabled());

    click(child<QCheckBox>(window, "multiplePagesCheck"));
    const std::shared_ptr<const AtlasResult> atlas = window.waitForResult();
    const int pages = static_cast<int>(atlas->pages.size());
    QVERIFY(pages > 2);
    QCOMPARE(atlas->glyphsOutsideTexture, std::size_t{0});
    QVERIFY2(status->text().startsWith(QStringLiteral("%1 pages. ").arg(pages)),
             qPrintable(status->text()));
    QVERIFY(pageSpin->isEnabled());
    QCOMPARE(pageSpin->text(), QStringLiteral("Page 1 of %1").arg(pages));

    // The second page in the preview, pixel for pixel at 100 %.
    pageSpin->setValue(2);
    const QImage image = child<PreviewView>(window, "preview")->grab().toImage();
    const AtlasPage& second = atlas->pages[1];
    for (int y = 0; y < second.height; ++y) {
        for (int x = 0; x < second.width; ++x) {
            QCOMPARE(image.pixel(x, y) & 0xFFu, uint{second.at(x, y)});
        }
    }

    // Every page exported: no question about cut characters, and one naming every file that
    // is there already.
    prompts.exportPath = dir.filePath(QStringLiteral("font.tga"));
    QStringList names;
    for (int page = 0; page < 2; ++page) {
        trigger(window, "actionExportFont");
        names.clear();
        for (int k = 0; k < pages; ++k) {
            const QString base = k == 0 ? QStringLiteral("font") : QStringLiteral("font_%1").arg(k);
            const auto& page = atlas->pages[static_cast<std::size_t>(k)];
            const std::vector<std::uint8_t> tga = encodeTgaImage(page, atlas->textureSize);
            const std::string tfd = encodeGlyphDescription(*atlas, k);
            QCOMPARE(fileBytes(dir.filePath(base + QStringLiteral(".tga"))),
                     QByteArray(reinterpret_cast<const char*>(tga.data()), qsizetype(tga.size())));
            QCOMPARE(fileBytes(dir.filePath(base + QStringLiteral(".tfd"))),
                     QByteArray::fromStdString(tfd));
            names << base + QStringLiteral(".tga") << base + QStringLiteral(".tfd");
        }
    }
    // "font.tga, font.tfd, font_1.tga, ... and font_2.tfd"
    const QString listed = names.mid(0, names.size() - 1).join(QStringLiteral(", ")) +
                           QStringLiteral(" and ") + names.back();
    QCOMPARE(prompts.questions,
             QStringList{QStringLiteral("%1 already exist in %2. Replace them?")
                             .arg(listed, QDir::toNativeSeparators(dir.path()))});
    QVERIFY2(status->text().startsWith(QStringLiteral("Exported %1. ").arg(listed)),
             qPrintable(status->text()));
    // A line far wider than the screen neither widens the window nor keeps it from fitting a
    // 1280 x 800 screen: it is cut, and its tool tip holds all of it.
    QVERIFY(status->fontMetrics().horizontalAdvance(status->text()) > 1280);
    // The window's width once the layouts have settled: the status bar's, then the window's.
    const auto settledWidth = [&window] {
        for (int round = 0; round < 3; ++round) {
            QApplication::processEvents();
        }
        return window.width();
    };
    QCOMPARE(settledWidth(), startWidth);
    QVERIFY(window.minimumSizeHint().width() <= 1280 && window.minimumSizeHint().height() <= 800);
    QVERIFY(status->shownText().endsWith(QChar(0x2026)));
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), status->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(status, &help);
    QCOMPARE(QToolTip::text(), status->text());
    // Nor does a long list of sample characters the atlas lacks.
    typeText(child<QLineEdit>(window, "sampleTextEdit"),
             QString::fromUtf16(u"\u200B\u200C\u200D\u2060\u180E\u2061\u2062\u2063\u2064"));
    QVERIFY(child<QLabel>(window, "sampleMissingLabel")->text().endsWith(QStringLiteral("...")));
    QCOMPARE(settledWidth(), startWidth);

    // One page again: the selector goes back to it.
    click(child<QCheckBox>(window, "multiplePagesCheck"));
    window.waitForResult();
    QVERIFY(!pageSpin->isEnabled());
    QCOMPARE(pageSpin->text(), QStringLiteral("Page 1 of 1"));
    QVERIFY(!status->text().contains(QStringLiteral("pages")));
    // Exported so, it leaves the further pages of the earlier export, and says so.
    trigger(window, "actionExportFont");
    const QString left =
        QStringLiteral("font_1.tga \u2026 font_%1.tfd from an earlier export are still there.")
            .arg(pages - 1);
    QVERIFY2(prompts.questions.back().endsWith(QStringLiteral("Replace them?\n\n") + left),
             qPrintable(prompts.questions.back()));
    QVERIFY2(status->text().startsWith(QStringLiteral("Exported font.tga and font.tfd. ") + left),
             qPrintable(status->text()));
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("font_%1.tfd").arg(pages - 1))));
}

}  // namespace vemro::test

QTEST_MAIN(vemro::test::PagesWindowTest)
#include "pages_window_test.moc"
