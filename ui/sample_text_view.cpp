#include "ui/sample_text_view.h"

#include <QApplication>
#include <QPainter>
#include <QPen>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/atlas/atlas_result.h"
#include "files/export/font_description.h"
#include "ui/preview_geometry.h"
#include "ui/sample_line_canvas.h"

namespace vemro {

namespace {

// View pixels of black around the line.
constexpr int kMargin = 6;
// The tallest the view grows to show a line at a high zoom; past it, it scrolls.
constexpr int kMaxViewportHeight = 200;
constexpr QRgb kCellColour = 0x5FA8FF;

}  // namespace

SampleTextView::SampleTextView(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("sampleView"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // The wheel and the arrows step lines of 20 pixels, as in Qt's scroll areas.
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
}

SampleTextView::~SampleTextView() = default;

void SampleTextView::setAtlas(std::shared_ptr<const AtlasResult> result,
                              const FontDescription& description) {
    result_ = std::move(result);
    layout_ = LineLayout(description);
    layOut();
}

void SampleTextView::setText(const std::u32string& text) {
    if (text != text_) {
        text_ = text;
        layOut();
    }
}

void SampleTextView::setZoom(int percent) {
    const int zoom = std::clamp(percent, preview_geometry::kMinZoom, preview_geometry::kMaxZoom);
    if (zoom == zoom_) {
        return;
    }
    const double left = horizontalScrollBar()->value() / scale();
    zoom_ = zoom;
    updateScrollRanges();
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(left * scale())));
    updateGeometry();
    viewport()->update();
}

void SampleTextView::setFieldRendered(bool rendered) {
    fieldRendered_ = rendered;
    viewport()->update();
}

void SampleTextView::setShowCells(bool show) {
    showCells_ = show;
    viewport()->update();
}

void SampleTextView::layOut() {
    line_ = result_ != nullptr ? layout_.layOut(text_) : LaidOutLine{};
    bounds_ = QRect(0, 0, std::max(line_.end, 1), std::max(layout_.lineHeight(), 1));
    for (const LaidOutChar& c : line_.chars) {
        bounds_ |= QRect(c.left, c.top, std::max(c.width, 1), std::max(c.height, 1));
    }
    updateScrollRanges();
    updateGeometry();
    viewport()->update();
}

QSize SampleTextView::contentSize() const {
    return {static_cast<int>(std::ceil(bounds_.width() * scale())) + 2 * kMargin,
            static_cast<int>(std::ceil(bounds_.height() * scale())) + 2 * kMargin};
}

void SampleTextView::updateScrollRanges() {
    const QSize content = contentSize();
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
}

QPoint SampleTextView::lineOrigin() const {
    const auto at = [this](int atlas, int scroll) {
        return kMargin + static_cast<int>(std::floor(atlas * scale())) - scroll;
    };
    return {at(-bounds_.left(), horizontalScrollBar()->value()),
            at(-bounds_.top(), verticalScrollBar()->value())};
}

QSize SampleTextView::sizeHint() const {
    const int frame = 2 * frameWidth();
    const int height = std::min(contentSize().height(), kMaxViewportHeight);
    return {200, height + frame + horizontalScrollBar()->sizeHint().height()};
}

QSize SampleTextView::minimumSizeHint() const {
    return {100, sizeHint().height()};
}

void SampleTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRanges();
}

void SampleTextView::scrollContentsBy(int /*dx*/, int /*dy*/) {
    viewport()->update();
}

void SampleTextView::wheelEvent(QWheelEvent* event) {
    // Sideways with Shift, with a sideways wheel, and while the line is no taller than the
    // view: a turn either way steps the horizontal bar as a plain turn does, by lines.
    const QPoint angle = event->angleDelta();
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    if (event->modifiers().testFlag(Qt::ControlModifier) ||
        (!shift && std::abs(angle.y()) >= std::abs(angle.x()) &&
         verticalScrollBar()->maximum() > 0)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const int turn = std::abs(angle.x()) > std::abs(angle.y()) ? angle.x() : angle.y();
    QWheelEvent plain(event->position(), event->globalPosition(), QPoint(), QPoint(0, turn),
                      event->buttons(), Qt::NoModifier, event->phase(), event->inverted());
    QApplication::sendEvent(horizontalScrollBar(), &plain);
    event->setAccepted(plain.isAccepted());
}

void SampleTextView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::black);
    if (result_ == nullptr || line_.chars.empty()) {
        return;
    }
    const double s = scale();
    const QPoint origin = lineOrigin();
    // The atlas pixels of the line in view, a pixel to spare on each side.
    const auto atlasAt = [s](int view, int originAt) {
        return static_cast<int>(std::floor((view - originAt) / s));
    };
    const int left = std::max(atlasAt(0, origin.x()) - 1, bounds_.left());
    const int right = std::min(atlasAt(viewport()->width(), origin.x()) + 1, bounds_.right());
    const int top = std::max(atlasAt(0, origin.y()) - 1, bounds_.top());
    const int bottom = std::min(atlasAt(viewport()->height(), origin.y()) + 1, bounds_.bottom());
    if (fieldRendered_ && result_->encoding.isField()) {
        // At the view's resolution: view pixel (i, j) shows atlas (i - origin) / scale.
        const QPointF start(-origin.x() / s, -origin.y() / s);
        painter.drawImage(QPoint(0, 0), sample_line_canvas::composeField(
                                            *result_, line_, start, 1.0 / s, viewport()->size()));
    } else if (left <= right && top <= bottom) {
        const QRect region(QPoint(left, top), QPoint(right, bottom));
        const QImage part = sample_line_canvas::compose(*result_, line_, region);
        const QRectF target(origin.x() + region.x() * s, origin.y() + region.y() * s,
                            region.width() * s, region.height() * s);
        // Nearest neighbour: a magnified atlas pixel stays a sharp square.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(target, part);
    }
    if (showCells_) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor::fromRgb(kCellColour), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        for (const LaidOutChar& c : line_.chars) {
            const int x0 = origin.x() + static_cast<int>(std::floor(c.left * s));
            const int y0 = origin.y() + static_cast<int>(std::floor(c.top * s));
            const int x1 = origin.x() + static_cast<int>(std::floor((c.left + c.width) * s));
            const int y1 = origin.y() + static_cast<int>(std::floor((c.top + c.height) * s));
            if (x1 < 0 || x0 > viewport()->width()) {
                continue;
            }
            // The outline runs along the cell's first and last pixels.
            painter.drawRect(QRect(x0, y0, std::max(x1 - x0 - 1, 0), std::max(y1 - y0 - 1, 0)));
        }
    }
}

}  // namespace vemro
