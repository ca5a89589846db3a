// The preview's arithmetic (scale as a 32-bit float, truncation of source extents and outline
// coordinates) and what it paints: the page as grey inside the texture and a hatch around it,
// sharp magnified pixels, outlines at the truncated places, nothing read outside the canvas
// (512 x 512, or as large as the texture), the chosen page, and, painting only the part in
// view, exactly what a stretch of the whole canvas image paints.

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <memory>
#include <random>
#include <set>

#include "engine/atlas/atlas_result.h"
#include "ui/preview_geometry.h"
#include "ui/preview_view.h"

namespace vemro::test {

namespace {

constexpr QRgb kOutline = 0xC0C0C0u;

QRgb rgbAt(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

// Rows first..last of column x that hold outline pixels.
int outlinePixelsInColumn(const QImage& image, int x, int first, int last) {
    int count = 0;
    for (int y = first; y <= last; ++y) {
        count += rgbAt(image, x, y) == kOutline ? 1 : 0;
    }
    return count;
}

int outlinePixelsInRow(const QImage& image, int y, int first, int last) {
    int count = 0;
    for (int x = first; x <= last; ++x) {
        count += rgbAt(image, x, y) == kOutline ? 1 : 0;
    }
    return count;
}

// An atlas result with one page of the given size, without ink.
AtlasResult emptyResult(int width, int height) {
    AtlasResult result;
    result.textureSize = AtlasSize{width, height};
    AtlasPage page;
    page.width = width;
    page.height = height;
    page.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    result.pages.push_back(std::move(page));
    return result;
}

void setCoverage(AtlasResult& result, int x, int y, std::uint8_t coverage) {
    AtlasPage& page = result.pages.front();
    page.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(page.width) +
                static_cast<std::size_t>(x)] = coverage;
}

PlacedGlyph cell(int x, int y, int width, int height) {
    PlacedGlyph glyph;
    glyph.x = x;
    glyph.y = y;
    glyph.width = width;
    glyph.height = height;
    return glyph;
}

// The whole canvas for a page, each pixel as defined: the coverage as grey on the page, else the
// hatch, black where x % 10 or (512 - x) mod 10 equals y % 10 and mid grey elsewhere.
QImage wholeCanvas(const AtlasPage& page) {
    QImage canvas(std::max(512, page.width), std::max(512, page.height), QImage::Format_RGB32);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const bool diagonal = x % 10 == y % 10 || ((512 - x) % 10 + 10) % 10 == y % 10;
            canvas.setPixel(x, y,
                            x < page.width && y < page.height
                                ? 0xFF000000u | page.at(x, y) * 0x010101u
                            : diagonal ? 0xFF000000u
                                       : 0xFF808080u);
        }
    }
    return canvas;
}

// The preview as it used to be painted: the source rectangle in view, cut to the canvas, taken
// from the whole canvas image and stretched over its share of the view.
QImage paintedFromWholeCanvas(const QImage& canvas, QSize view, int zoom, int h, int v,
                              const QColor& background) {
    const float scale = preview_geometry::scaleFor(zoom);
    const int sourceW = preview_geometry::sourceExtent(view.width(), scale);
    const int sourceH = preview_geometry::sourceExtent(view.height(), scale);
    const int right = std::min(h + sourceW, canvas.width());
    const int bottom = std::min(v + sourceH, canvas.height());
    QPixmap pixmap(view);
    pixmap.fill(background);
    QPainter painter(&pixmap);
    painter.drawImage(QRectF(0.0, 0.0, double(view.width()) * (right - h) / sourceW,
                             double(view.height()) * (bottom - v) / sourceH),
                      canvas, QRectF(h, v, right - h, bottom - v));
    painter.end();
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

// Turns the wheel over the view at a view pixel.
void turnWheel(PreviewView& view, QPoint at, QPoint turn, Qt::KeyboardModifiers modifiers) {
    QWheelEvent event(QPointF(at) + QPointF(0.5, 0.5), view.mapToGlobal(QPointF(at)), QPoint(),
                      turn, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &event);
}

// A view with its two bars, showing a texture that fills the canvas.
struct PreviewRig {
    PreviewRig() {
        view.setScrollBars(&horizontal, &vertical);
        show();
        view.resize(450, 450);
        view.show();
    }
    // Hands the view the result as it is now.
    void show() { view.setResult(std::make_shared<const AtlasResult>(result)); }
    QImage paint() { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    AtlasResult result = emptyResult(512, 512);
    QScrollBar horizontal{Qt::Horizontal};
    QScrollBar vertical{Qt::Vertical};
    PreviewView view;
};

}  // namespace

class PreviewViewTest : public QObject {
    Q_OBJECT

private slots:
    void scaleIsA32BitFloat();
    void sourceExtentsAndRangesFor450PixelView();
    void outlineCoordinatesTruncateTowardZero();
    void barsFollowZoomAndSize();
    void showsPageInsideTextureAndHatchAround();
    void magnifiesWithoutSmoothing();
    void drawsOutlinesAtTruncatedPlaces();
    void outlinesOnlyWhenAsked();
    void viewLargerThanCanvasShowsPlainBackground();
    void ctrlWheelZoomsInWholeStepsAboutTheCursor();
    void paintsInViewAsTheWholeCanvasWould();
    void largestTextureScrollsToItsFarCorner();
    void showsTheChosenPageAndItsOutlines();
};

void PreviewViewTest::scaleIsA32BitFloat() {
    using preview_geometry::scaleFor;
    QCOMPARE(static_cast<double>(scaleFor(100)), 1.0);
    QCOMPARE(static_cast<double>(scaleFor(200)), 0.5);
    QCOMPARE(static_cast<double>(scaleFor(300)), 0.3333333432674408);
    QCOMPARE(static_cast<double>(scaleFor(1000)), 0.10000000149011612);
}

void PreviewViewTest::sourceExtentsAndRangesFor450PixelView() {
    using namespace preview_geometry;
    const struct {
        int zoom;
        int extent;
        int range;
    } cases[] = {{100, 450, 62}, {200, 225, 287}, {300, 150, 362}, {1000, 45, 467}};
    for (const auto& c : cases) {
        const int extent = sourceExtent(450, scaleFor(c.zoom));
        QCOMPARE(extent, c.extent);
        QCOMPARE(scrollMaximum(512, extent), c.range);
    }
    // 700 %: 450 x 0.142857149 = 64.29, truncated.
    QCOMPARE(sourceExtent(450, scaleFor(700)), 64);
    QCOMPARE(scrollMaximum(512, sourceExtent(600, scaleFor(100))), 0);
}

void PreviewViewTest::outlineCoordinatesTruncateTowardZero() {
    using namespace preview_geometry;
    QCOMPARE(viewCoordinate(10, 0, scaleFor(300)), 29);
    QCOMPARE(viewCoordinate(10, 0, scaleFor(1000)), 99);
    QCOMPARE(viewCoordinate(10, 0, scaleFor(200)), 20);
    QCOMPARE(viewCoordinate(10, 0, scaleFor(400)), 40);
    QCOMPARE(viewCoordinate(10, 13, scaleFor(300)), -8);
    QCOMPARE(viewCoordinate(0, 3, scaleFor(300)), -8);
    QCOMPARE(viewCoordinate(300, 100, scaleFor(100)), 200);
}

void PreviewViewTest::barsFollowZoomAndSize() {
    PreviewRig rig;
    QCOMPARE(rig.horizontal.maximum(), 62);
    rig.view.setZoom(200);
    QCOMPARE(rig.view.sourceWidth(), 225);
    QCOMPARE(rig.horizontal.maximum(), 287);
    QCOMPARE(rig.vertical.maximum(), 287);
    rig.view.setZoom(1000);
    QCOMPARE(rig.horizontal.maximum(), 467);

    // Zooming out while scrolled to the far edge brings the position back into the new range
    // before anything is painted.
    rig.horizontal.setValue(467);
    rig.vertical.setValue(400);
    rig.view.setZoom(100);
    QCOMPARE(rig.horizontal.value(), 62);
    QCOMPARE(rig.vertical.value(), 62);

    rig.view.resize(450, 300);
    QCOMPARE(rig.vertical.maximum(), 212);
    QCOMPARE(rig.horizontal.maximum(), 62);
}

void PreviewViewTest::showsPageInsideTextureAndHatchAround() {
    // Two textures of different sizes, with every coverage level somewhere.
    QImage images[2];
    const AtlasSize sizes[2] = {{100, 60}, {37, 250}};
    for (int i = 0; i < 2; ++i) {
        PreviewRig rig;
        rig.result = emptyResult(sizes[i].width, sizes[i].height);
        std::vector<std::uint8_t>& pixels = rig.result.pages.front().pixels;
        for (std::size_t k = 0; k < pixels.size(); ++k) {
            pixels[k] = static_cast<std::uint8_t>(k * 7);
        }
        rig.show();
        rig.view.resize(512, 512);
        images[i] = rig.paint();
        for (int y = 0; y < sizes[i].height; ++y) {
            for (int x = 0; x < sizes[i].width; ++x) {
                QCOMPARE(rgbAt(images[i], x, y), rig.result.pages.front().at(x, y) * 0x010101u);
            }
        }
    }

    // Outside both textures the pictures agree: the hatch belongs to the canvas. It is mid grey
    // and black, repeats every ten rows, and each black pixel continues a diagonal downwards.
    const auto outside = [&sizes](int x, int y) {
        return (x >= sizes[0].width || y >= sizes[0].height) &&
               (x >= sizes[1].width || y >= sizes[1].height);
    };
    std::set<QRgb> colours;
    int hatch = 0;
    int black = 0;
    for (int y = 0; y < 502; ++y) {
        for (int x = 1; x < 511; ++x) {
            if (!outside(x, y) || !outside(x, y + 10) || !outside(x - 1, y + 1) ||
                !outside(x + 1, y + 1)) {
                continue;
            }
            const QRgb pixel = rgbAt(images[0], x, y);
            QCOMPARE(rgbAt(images[1], x, y), pixel);
            QCOMPARE(rgbAt(images[0], x, y + 10), pixel);
            colours.insert(pixel);
            ++hatch;
            black += pixel == 0u ? 1 : 0;
            QVERIFY(pixel != 0u || rgbAt(images[0], x - 1, y + 1) == 0u ||
                    rgbAt(images[0], x + 1, y + 1) == 0u);
        }
    }
    QCOMPARE(colours, (std::set<QRgb>{0x000000u, 0x808080u}));
    // Two diagonals cross every ten columns of a row, fewer where they meet.
    QVERIFY2(black * 5 <= hatch && black * 6 >= hatch, qPrintable(QString::number(black)));
}

void PreviewViewTest::magnifiesWithoutSmoothing() {
    PreviewRig rig;
    setCoverage(rig.result, 1, 1, 255);
    setCoverage(rig.result, 3, 1, 128);
    rig.show();
    rig.view.setZoom(400);
    const QImage image = rig.paint();
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool white = x >= 4 && x < 8 && y >= 4 && y < 8;
            const bool grey = x >= 12 && x < 16 && y >= 4 && y < 8;
            const QRgb expected = white ? 0xFFFFFFu : grey ? 0x808080u : 0x000000u;
            QCOMPARE(rgbAt(image, x, y), expected);
        }
    }

    // Scrolled by 1 column and 1 row, the white pixel moves to the corner.
    rig.horizontal.setValue(1);
    rig.vertical.setValue(1);
    const QImage scrolled = rig.paint();
    QCOMPARE(rgbAt(scrolled, 0, 0), 0xFFFFFFu);
    QCOMPARE(rgbAt(scrolled, 3, 3), 0xFFFFFFu);
    QCOMPARE(rgbAt(scrolled, 4, 4), 0x000000u);
}

void PreviewViewTest::drawsOutlinesAtTruncatedPlaces() {
    PreviewRig rig;
    rig.result.glyphs.push_back(cell(10, 10, 5, 5));
    rig.show();
    rig.view.setShowRectangles(true);
    rig.view.setZoom(300);

    // Edges at 10 and 15 canvas pixels: 29 and 44 view pixels (not 30 and 45).
    QImage image = rig.paint();
    QVERIFY(outlinePixelsInColumn(image, 29, 29, 44) >= 4);
    QVERIFY(outlinePixelsInColumn(image, 44, 29, 44) >= 4);
    QVERIFY(outlinePixelsInRow(image, 29, 29, 44) >= 4);
    QVERIFY(outlinePixelsInRow(image, 44, 29, 44) >= 4);
    QCOMPARE(outlinePixelsInColumn(image, 28, 0, 60), 0);
    QCOMPARE(outlinePixelsInColumn(image, 30, 30, 43), 0);
    QCOMPARE(outlinePixelsInColumn(image, 45, 0, 60), 0);
    QCOMPARE(outlinePixelsInRow(image, 45, 0, 60), 0);

    // Scrolled 13 columns: the left edge lies at -8 (outside the view), the right edge at
    // (15 - 13) / 0.333333343 = 5.99, drawn at 5.
    rig.horizontal.setValue(13);
    image = rig.paint();
    QVERIFY(outlinePixelsInColumn(image, 5, 29, 44) >= 4);
    QCOMPARE(outlinePixelsInColumn(image, 6, 0, 60), 0);
    QCOMPARE(outlinePixelsInColumn(image, 0, 30, 43), 0);
    QVERIFY(outlinePixelsInRow(image, 29, 0, 5) >= 1);
}

void PreviewViewTest::outlinesOnlyWhenAsked() {
    PreviewRig rig;
    rig.result.glyphs.push_back(cell(3, 600, 8, 8));  // below the canvas: outlined, never in view
    rig.result.glyphs.push_back(cell(3, 3, 8, 8));
    rig.show();
    const auto outlinePixels = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            count += outlinePixelsInRow(image, y, 0, image.width() - 1);
        }
        return count;
    };
    QCOMPARE(outlinePixels(rig.paint()), 0);
    rig.view.setShowRectangles(true);
    QVERIFY(outlinePixels(rig.paint()) > 8);
}

void PreviewViewTest::viewLargerThanCanvasShowsPlainBackground() {
    PreviewRig rig;
    setCoverage(rig.result, 511, 511, 255);
    rig.show();
    rig.view.resize(700, 600);
    QCOMPARE(rig.horizontal.maximum(), 0);
    QCOMPARE(rig.vertical.maximum(), 0);
    const QImage image = rig.paint();
    const QRgb background = rig.view.palette().color(QPalette::Window).rgb() & 0xFFFFFFu;
    QVERIFY(background != 0x000000u && background != 0xFFFFFFu);
    QCOMPARE(rgbAt(image, 511, 511), 0xFFFFFFu);
    QCOMPARE(rgbAt(image, 510, 510), 0x000000u);
    QCOMPARE(rgbAt(image, 512, 10), background);
    QCOMPARE(rgbAt(image, 10, 512), background);
    QCOMPARE(rgbAt(image, 699, 599), background);
}

void PreviewViewTest::ctrlWheelZoomsInWholeStepsAboutTheCursor() {
    PreviewRig rig;
    // One lit canvas pixel, under the cursor at 100 %.
    setCoverage(rig.result, 200, 180, 255);
    rig.show();
    int reported = 0;
    QObject::connect(&rig.view, &PreviewView::zoomChanged,
                     [&reported](int zoom) { reported = zoom; });
    const auto wheel = [&rig](QPoint at, int turn, Qt::KeyboardModifiers modifiers) {
        turnWheel(rig.view, at, QPoint(0, turn), modifiers);
    };
    const QPoint cursor(200, 180);
    QCOMPARE(rgbAt(rig.paint(), cursor.x(), cursor.y()), 0xFFFFFFu);

    // Up to 1000 % a notch at a time, the lit pixel staying under the cursor; then no further.
    for (int zoom = 200; zoom <= 1100; zoom += 100) {
        wheel(cursor, 120, Qt::ControlModifier);
        QCOMPARE(rig.view.zoom(), std::min(zoom, 1000));
        QCOMPARE(reported, rig.view.zoom());
        QCOMPARE(rgbAt(rig.paint(), cursor.x(), cursor.y()), 0xFFFFFFu);
    }
    wheel(cursor, -360, Qt::ControlModifier);
    QCOMPARE(rig.view.zoom(), 700);
    QCOMPARE(rgbAt(rig.paint(), cursor.x(), cursor.y()), 0xFFFFFFu);
    // A zoom between steps goes to the next whole step; half notches add up; the plain wheel
    // pans and leaves the zoom.
    rig.view.setZoom(250);
    wheel(cursor, 120, Qt::ControlModifier);
    QCOMPARE(rig.view.zoom(), 300);
    rig.view.setZoom(250);
    wheel(cursor, -60, Qt::ControlModifier);
    QCOMPARE(rig.view.zoom(), 250);
    wheel(cursor, -60, Qt::ControlModifier);
    QCOMPARE(rig.view.zoom(), 200);
    const int position = rig.vertical.value();
    wheel(cursor, -120, Qt::NoModifier);
    QCOMPARE(rig.view.zoom(), 200);
    QVERIFY(rig.vertical.value() > position);
}

void PreviewViewTest::paintsInViewAsTheWholeCanvasWould() {
    // Textures below, at and above the smallest canvas, in views of even and odd sizes, at
    // zooms whose stretch falls between pixels, scrolled to the start, the middle and the end.
    std::mt19937 random(14);
    const AtlasSize textures[] = {{256, 256}, {1024, 300}, {700, 1024}};
    for (const AtlasSize texture : textures) {
        PreviewRig rig;
        rig.result = emptyResult(texture.width, texture.height);
        for (std::uint8_t& pixel : rig.result.pages.front().pixels) {
            pixel = static_cast<std::uint8_t>(random());
        }
        rig.show();
        const QImage canvas = wholeCanvas(rig.result.pages.front());
        const QColor background = rig.view.palette().color(QPalette::Window);
        for (const QSize view : {QSize(450, 450), QSize(437, 311)}) {
            rig.view.resize(view);
            for (const int zoom : {100, 300, 700, 1000}) {
                rig.view.setZoom(zoom);
                const int hMax = rig.horizontal.maximum();
                const int vMax = rig.vertical.maximum();
                QCOMPARE(hMax, std::max(0, canvas.width() - rig.view.sourceWidth()));
                QCOMPARE(vMax, std::max(0, canvas.height() - rig.view.sourceHeight()));
                for (const auto& [h, v] :
                     {std::pair(0, 0), std::pair(hMax / 2 + 1, vMax / 3), std::pair(hMax, vMax)}) {
                    rig.horizontal.setValue(h);
                    rig.vertical.setValue(v);
                    QVERIFY2(
                        rig.paint() == paintedFromWholeCanvas(canvas, view, zoom, h, v, background),
                        qPrintable(QStringLiteral("%1 x %2 texture, %3 %, at %4, %5")
                                       .arg(texture.width)
                                       .arg(texture.height)
                                       .arg(zoom)
                                       .arg(h)
                                       .arg(v)));
                }
            }
        }
    }
}

void PreviewViewTest::largestTextureScrollsToItsFarCorner() {
    PreviewRig rig;
    rig.result = emptyResult(4096, 4096);
    setCoverage(rig.result, 4095, 4095, 255);
    rig.result.glyphs.push_back(cell(4060, 4060, 10, 10));
    rig.show();
    rig.view.setShowRectangles(true);
    // At 100 % the view shows 450 of 4096 columns; at 1000 %, 45.
    for (const int zoom : {100, 1000}) {
        rig.view.setZoom(zoom);
        const int shown = 450 * 100 / zoom;
        QCOMPARE(rig.horizontal.maximum(), 4096 - shown);
        QCOMPARE(rig.vertical.maximum(), 4096 - shown);
        // A notch of the wheel scrolls the platform's lines of 20 screen pixels, down or, with
        // Shift, sideways; eighths of a notch add up; the bars' pages are the view.
        const int notch = QApplication::wheelScrollLines() * 20 * 100 / zoom;
        rig.horizontal.setValue(0);
        rig.vertical.setValue(0);
        turnWheel(rig.view, QPoint(9, 9), QPoint(0, -120), Qt::NoModifier);
        QCOMPARE(rig.vertical.value(), notch);
        for (int eighth = 0; eighth < 8; ++eighth) {
            turnWheel(rig.view, QPoint(9, 9), QPoint(0, -15), Qt::ShiftModifier);
        }
        QCOMPARE(rig.horizontal.value(), notch);
        turnWheel(rig.view, QPoint(9, 9), QPoint(120, 0), Qt::NoModifier);
        QCOMPARE(rig.horizontal.value(), 0);
        QCOMPARE(rig.vertical.pageStep(), shown);
        rig.horizontal.setValue(rig.horizontal.maximum());
        rig.vertical.setValue(rig.vertical.maximum());
        QElapsedTimer clock;
        clock.start();
        const QImage image = rig.paint();
        qInfo("4096 x 4096 at %d %%: painted in %.2f ms", zoom, clock.nsecsElapsed() / 1e6);
        // The last texture pixel fills the view's last zoom / 100 pixels each way.
        const int last = 450 - zoom / 100;
        QCOMPARE(rgbAt(image, 449, 449), 0xFFFFFFu);
        QCOMPARE(rgbAt(image, last, last), 0xFFFFFFu);
        QCOMPARE(rgbAt(image, last - 1, 449), 0x000000u);
        // The cell's left edge is outlined where it lies in view (one pixel early at 1000 %,
        // where the scale of 0.100000001 truncates 90 to 89).
        const int edge = (4060 - rig.horizontal.value()) * zoom / 100 - zoom / 1000;
        QVERIFY(outlinePixelsInColumn(image, edge, edge, edge + 10 * zoom / 100) > 0);
    }
    // A wide texture: the canvas is as wide as it and 512 pixels tall.
    rig.result = emptyResult(4096, 300);
    rig.show();
    rig.view.setZoom(100);
    QCOMPARE(rig.horizontal.maximum(), 4096 - 450);
    QCOMPARE(rig.vertical.maximum(), 512 - 450);
}

void PreviewViewTest::showsTheChosenPageAndItsOutlines() {
    PreviewRig rig;
    rig.result = emptyResult(64, 64);
    rig.result.pages.push_back(rig.result.pages.front());
    setCoverage(rig.result, 5, 5, 255);
    rig.result.pages.back().pixels[5 * 64 + 6] = 200;
    PlacedGlyph second = cell(20, 20, 10, 10);
    second.page = 1;
    rig.result.glyphs = {cell(40, 40, 10, 10), second};
    rig.show();
    rig.view.setShowRectangles(true);
    QCOMPARE(rig.view.pageCount(), 2);

    QImage image = rig.paint();
    QCOMPARE(rgbAt(image, 5, 5), 0xFFFFFFu);
    QVERIFY(outlinePixelsInColumn(image, 40, 40, 50) > 0);
    QCOMPARE(outlinePixelsInColumn(image, 20, 20, 30), 0);

    rig.view.setPage(7);  // past the last page: the last
    QCOMPARE(rig.view.page(), 1);
    image = rig.paint();
    QCOMPARE(rgbAt(image, 5, 5), 0x000000u);
    QCOMPARE(rgbAt(image, 6, 5), 0xC8C8C8u);
    QCOMPARE(outlinePixelsInColumn(image, 40, 40, 50), 0);
    QVERIFY(outlinePixelsInColumn(image, 20, 20, 30) > 0);

    // A result with one page shows it.
    rig.result.pages.pop_back();
    rig.show();
    QCOMPARE(rig.view.page(), 0);
    QCOMPARE(rgbAt(rig.paint(), 5, 5), 0xFFFFFFu);
}

}  // namespace vemro::test

QTEST_MAIN(vemro::test::PreviewViewTest)
#include "preview_view_test.moc"
