#include "ui/preview_view.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPen>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/atlas/atlas_result.h"
#include "ui/preview_canvas.h"
#include "ui/preview_geometry.h"

namespace vemro {

namespace {

// A line of the wheel's and the bars' arrows' step, in view pixels, as Qt's scroll areas take it.
constexpr double kLinePixels = 20.0;
constexpr QRgb kOutlineColour = 0xC0C0C0;
// One notch of a common mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;
constexpr int kHintMargin = 24;

}  // namespace

PreviewView::PreviewView(QWidget* parent) : QWidget(parent) {
    // The paint covers every pixel itself; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("previewHint"));
    hint_->setWordWrap(true);
    hint_->setAlignment(Qt::AlignCenter);
    hint_->setStyleSheet(
        QStringLiteral("QLabel { background: rgba(255, 255, 255, 230); color: #202020; "
                       "border: 1px solid #909090; border-radius: 4px; padding: 10px; }"));
    hint_->hide();
}

void PreviewView::setResult(std::shared_ptr<const AtlasResult> result) {
    if (result != result_) {
        result_ = std::move(result);
        page_ = std::min(page_, pageCount() - 1);
        dropCanvasPart();
        // A texture of another size makes a canvas of another size.
        updateScrollRanges();
    }
    update();
}

int PreviewView::pageCount() const {
    return result_ == nullptr ? 1 : std::max(1, static_cast<int>(result_->pages.size()));
}

void PreviewView::setPage(int page) {
    const int shown = std::clamp(page, 0, pageCount() - 1);
    if (shown != page_) {
        page_ = shown;
        dropCanvasPart();
        update();
    }
}

void PreviewView::dropCanvasPart() {
    part_ = QImage();
    partRegion_ = QRect();
    partViewSize_ = QSize();
}

void PreviewView::setFieldRendered(bool rendered) {
    if (rendered != fieldRendered_) {
        fieldRendered_ = rendered;
        dropCanvasPart();
        update();
    }
}

bool PreviewView::rendersField() const {
    if (!fieldRendered_ || result_ == nullptr || !result_->encoding.isField()) {
        return false;
    }
    const auto page = static_cast<std::size_t>(page_);
    return page < result_->pages.size() && result_->pages[page].channels == 1;
}

QSize PreviewView::canvasSize() const {
    const AtlasSize texture = result_ != nullptr ? result_->textureSize : AtlasSize{};
    return {preview_geometry::canvasExtent(texture.width),
            preview_geometry::canvasExtent(texture.height)};
}

const QImage& PreviewView::fieldPart(QRect region, QSize size) {
    if (region != partRegion_ || size != partViewSize_ || part_.isNull()) {
        const auto page = static_cast<std::size_t>(page_);
        // View pixels map onto canvas pixels as the stretched canvas part would.
        const QSizeF step(double(sourceWidth()) / width(), double(sourceHeight()) / height());
        part_ = preview_canvas::composeField(&result_->pages[page], region.topLeft(), step, size,
                                             result_->encoding);
        partRegion_ = region;
        partViewSize_ = size;
    }
    return part_;
}

const QImage& PreviewView::canvasPart(QRect region) {
    if (region != partRegion_ || !partViewSize_.isEmpty() || part_.isNull()) {
        partViewSize_ = QSize();
        const std::vector<AtlasPage>& pages = result_->pages;
        const auto page = static_cast<std::size_t>(page_);
        part_ = preview_canvas::compose(page < pages.size() ? &pages[page] : nullptr, region);
        partRegion_ = region;
    }
    return part_;
}

void PreviewView::setScrollBars(QScrollBar* horizontal, QScrollBar* vertical) {
    horizontal_ = horizontal;
    vertical_ = vertical;
    for (QScrollBar* bar : {horizontal, vertical}) {
        if (bar == nullptr) {
            continue;
        }
        connect(bar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    }
    updateScrollRanges();
}

void PreviewView::setZoom(int percent) {
    zoom_ = std::clamp(percent, preview_geometry::kMinZoom, preview_geometry::kMaxZoom);
    // The ranges follow the zoom before the next paint, so no paint sees a position that the
    // new zoom has pushed past the canvas's edge.
    updateScrollRanges();
    update();
}

void PreviewView::zoomAbout(int percent, QPoint viewPoint) {
    const int h = horizontalPosition();
    const int v = verticalPosition();
    const int canvasX = preview_geometry::canvasPixelAt(viewPoint.x(), h, width(), sourceWidth());
    const int canvasY = preview_geometry::canvasPixelAt(viewPoint.y(), v, height(), sourceHeight());
    setZoom(percent);
    if (horizontal_ != nullptr) {
        horizontal_->setValue(preview_geometry::scrollToShow(canvasX, viewPoint.x(), width(),
                                                             sourceWidth(), canvasSize().width()));
    }
    if (vertical_ != nullptr) {
        vertical_->setValue(preview_geometry::scrollToShow(canvasY, viewPoint.y(), height(),
                                                           sourceHeight(), canvasSize().height()));
    }
}

void PreviewView::setHint(const QString& text) {
    hint_->setText(text);
    hint_->setVisible(!text.isEmpty());
    placeHint();
}

QString PreviewView::hint() const {
    return hint_->isVisible() ? hint_->text() : QString();
}

void PreviewView::placeHint() {
    const int width = std::max(0, std::min(this->width() - 2 * kHintMargin, 360));
    const int height = hint_->heightForWidth(width);
    hint_->setGeometry((this->width() - width) / 2, (this->height() - height) / 2, width, height);
}

void PreviewView::setShowRectangles(bool show) {
    showRectangles_ = show;
    update();
}

int PreviewView::sourceWidth() const {
    return preview_geometry::sourceExtent(width(), preview_geometry::scaleFor(zoom_));
}

int PreviewView::sourceHeight() const {
    return preview_geometry::sourceExtent(height(), preview_geometry::scaleFor(zoom_));
}

QSize PreviewView::sizeHint() const {
    return {450, 450};
}

QSize PreviewView::minimumSizeHint() const {
    return {128, 128};
}

void PreviewView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateScrollRanges();
    placeHint();
}

void PreviewView::wheelEvent(QWheelEvent* event) {
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        // Zoom: a step per notch, the turn of finer wheels and touchpads added up.
        pendingZoomTurn_ += event->angleDelta().y();
        const int steps = pendingZoomTurn_ / kWheelNotch;
        pendingZoomTurn_ -= steps * kWheelNotch;
        int zoom = zoom_;
        for (int i = 0; i < std::abs(steps); ++i) {
            zoom = preview_geometry::nextZoomStep(zoom, steps);
        }
        if (zoom != zoom_) {
            const QPointF at = event->position();
            zoomAbout(zoom, QPoint(static_cast<int>(std::floor(at.x())),
                                   static_cast<int>(std::floor(at.y()))));
            emit zoomChanged(zoom_);
        }
        event->accept();
        return;
    }
    // The wheel pans by the platform's step, wheelScrollLines() lines a notch: vertically, or
    // horizontally with Shift or a sideways wheel. A finer wheel's turn adds up.
    const QPoint angle = event->angleDelta();
    const bool sideways =
        event->modifiers().testFlag(Qt::ShiftModifier) || std::abs(angle.x()) > std::abs(angle.y());
    QScrollBar* bar = sideways ? horizontal_.data() : vertical_.data();
    if (bar == nullptr) {
        event->ignore();
        return;
    }
    // Some platforms turn a Shift + wheel turn sideways themselves.
    const int turn = sideways && angle.x() != 0 ? angle.x() : angle.y();
    double& pending = sideways ? pendingPan_.rx() : pendingPan_.ry();
    pending -= turn * QApplication::wheelScrollLines() * lineStep() / kWheelNotch;
    const auto whole = static_cast<int>(pending);
    pending -= whole;
    const int before = bar->value();
    bar->setValue(before + whole);
    if (whole != 0 && bar->value() == before) {
        // At the end: nothing is kept for the way back.
        pending = 0;
    }
    event->accept();
}

double PreviewView::lineStep() const {
    return kLinePixels * static_cast<double>(preview_geometry::scaleFor(zoom_));
}

void PreviewView::updateScrollRanges() {
    // The bars count canvas pixels: an arrow steps a line, a page is the part in view.
    const QSize canvas = canvasSize();
    const int line = std::max(1, static_cast<int>(std::lround(lineStep())));
    if (horizontal_ != nullptr) {
        horizontal_->setRange(0, preview_geometry::scrollMaximum(canvas.width(), sourceWidth()));
        horizontal_->setSingleStep(line);
        horizontal_->setPageStep(std::max(1, sourceWidth()));
    }
    if (vertical_ != nullptr) {
        vertical_->setRange(0, preview_geometry::scrollMaximum(canvas.height(), sourceHeight()));
        vertical_->setSingleStep(line);
        vertical_->setPageStep(std::max(1, sourceHeight()));
    }
}

int PreviewView::horizontalPosition() const {
    return horizontal_ != nullptr ? horizontal_->value() : 0;
}

int PreviewView::verticalPosition() const {
    return vertical_ != nullptr ? vertical_->value() : 0;
}

void PreviewView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QColor background = palette().color(QPalette::Window);
    if (result_ == nullptr) {
        painter.fillRect(rect(), background);
        return;
    }

    const int sourceW = sourceWidth();
    const int sourceH = sourceHeight();
    const int h = horizontalPosition();
    const int v = verticalPosition();

    // Only the part of the source rectangle that lies on the canvas is drawn, at the place it
    // takes in the stretched view; a view wider or taller than the canvas keeps a plain
    // background beside it.
    const QSize canvas = canvasSize();
    const int right = std::min(h + sourceW, canvas.width());
    const int bottom = std::min(v + sourceH, canvas.height());
    QRectF target;
    if (right > h && bottom > v && sourceW > 0 && sourceH > 0) {
        const QRect region(h, v, right - h, bottom - v);
        const QRectF source(0.0, 0.0, right - h, bottom - v);
        target = QRectF(0.0, 0.0, double(width()) * (right - h) / sourceW,
                        double(height()) * (bottom - v) / sourceH);
        if (rendersField()) {
            // Made at the view's resolution, drawn as it is.
            const QRect pixels = target.toAlignedRect();
            painter.drawImage(pixels.topLeft(), fieldPart(region, pixels.size()));
            target = pixels;
        } else {
            // Nearest neighbour: a magnified atlas pixel stays a sharp square.
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.drawImage(target, canvasPart(region), source);
        }
    }
    const QRegion uncovered = QRegion(rect()) - QRegion(target.toAlignedRect());
    for (const QRect& part : uncovered) {
        painter.fillRect(part, background);
    }
    if (showRectangles_) {
        paintOutlines(painter, h + sourceW, v + sourceH);
    }
}

void PreviewView::paintOutlines(QPainter& painter, int sourceRight, int sourceBottom) {
    const float scale = preview_geometry::scaleFor(zoom_);
    const int h = horizontalPosition();
    const int v = verticalPosition();
    painter.setClipRect(rect());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor::fromRgb(kOutlineColour), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    for (const PlacedGlyph& glyph : result_->glyphs) {
        // Cells of other pages, and cells wholly left of, right of, above or below the canvas
        // pixels in view, show no outline pixel (with a pixel to spare).
        const std::int64_t x0 =
            std::min<std::int64_t>(glyph.x, std::int64_t{glyph.x} + glyph.width);
        const std::int64_t x1 =
            std::max<std::int64_t>(glyph.x, std::int64_t{glyph.x} + glyph.width);
        const std::int64_t y0 =
            std::min<std::int64_t>(glyph.y, std::int64_t{glyph.y} + glyph.height);
        const std::int64_t y1 =
            std::max<std::int64_t>(glyph.y, std::int64_t{glyph.y} + glyph.height);
        if (glyph.page != page_ || x1 < h - 1 || x0 > sourceRight + 1 || y1 < v - 1 ||
            y0 > sourceBottom + 1) {
            continue;
        }
        const int left = preview_geometry::viewCoordinate(glyph.x, h, scale);
        const int top = preview_geometry::viewCoordinate(glyph.y, v, scale);
        const int rightEdge = preview_geometry::viewCoordinate(glyph.x + glyph.width, h, scale);
        const int bottomEdge = preview_geometry::viewCoordinate(glyph.y + glyph.height, v, scale);
        // A one-pixel pen outlines the rectangle's border pixels from left to right and from
        // top to bottom inclusive, all four corners covered.
        const int xLeft = std::min(left, rightEdge);
        const int yTop = std::min(top, bottomEdge);
        painter.drawRect(
            QRect(xLeft, yTop, std::abs(rightEdge - left), std::abs(bottomEdge - top)));
    }
}

}  // namespace vemro
