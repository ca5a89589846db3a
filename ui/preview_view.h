#pragma once

#include <QImage>
#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <memory>

class QLabel;
class QScrollBar;

namespace vemro {

struct AtlasResult;

// Shows one page of an atlas result on the preview canvas (the texture with a hatch right of
// and below it), magnified by the zoom, panned by two scroll bars, optionally with a dotted
// outline around every glyph cell of that page. Only the part of the canvas in view is composed,
// when it is painted, so any texture size paints as quickly as the view is large; every change
// only schedules a repaint, so a burst of them costs one. The wheel pans by the platform's step
// (lines of 20 view pixels); with Ctrl held it zooms by whole steps about the pixel under the
// cursor. A hint, when set, stands in a box in the middle. A distance-field atlas is shown as
// stored (its values as grey) or rendered as a game draws it, at the view's own resolution
// (field_rendering.h).
class PreviewView : public QWidget {
    Q_OBJECT

public:
    explicit PreviewView(QWidget* parent = nullptr);

    // The view keeps the result it shows; null shows an empty view. The shown page stays while
    // the result has it; otherwise the view shows the result's last page.
    void setResult(std::shared_ptr<const AtlasResult> result);

    // The shown page, counted from 0, and how many the result has (at least 1).
    int page() const { return page_; }
    int pageCount() const;
    // Shows the page, brought into 0..pageCount() - 1.
    void setPage(int page);

    // The bars give the top-left canvas pixel in view; the view sets their ranges.
    void setScrollBars(QScrollBar* horizontal, QScrollBar* vertical);

    int zoom() const { return zoom_; }
    // Keeps the scroll positions (the top-left canvas pixel), as far as the new zoom allows.
    void setZoom(int percent);
    // Zooms so that the canvas pixel at viewPoint stays there, as far as the canvas reaches.
    void zoomAbout(int percent, QPoint viewPoint);

    // A text shown over the middle of the view, or none when empty.
    void setHint(const QString& text);
    QString hint() const;

    bool showRectangles() const { return showRectangles_; }
    void setShowRectangles(bool show);

    // Whether a distance field is rendered (the default) rather than shown as stored.
    bool fieldRendered() const { return fieldRendered_; }
    void setFieldRendered(bool rendered);

    // Canvas columns and rows in view at the current size and zoom.
    int sourceWidth() const;
    int sourceHeight() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user zoomed with the wheel.
    void zoomChanged(int percent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void updateScrollRanges();
    // A line of the wheel's step in canvas pixels at the zoom.
    double lineStep() const;
    void placeHint();
    int horizontalPosition() const;
    int verticalPosition() const;
    // The canvas's size: the texture and the hatch beside and below it.
    QSize canvasSize() const;
    // The canvas pixels in region, composed again only when the region, the page or the result
    // changed since the last paint.
    const QImage& canvasPart(QRect region);
    // The canvas pixels in region rendered as a distance field into size view pixels.
    const QImage& fieldPart(QRect region, QSize size);
    // Whether the page shown is a distance field to be rendered.
    bool rendersField() const;
    // Forgets the part painted last.
    void dropCanvasPart();
    void paintOutlines(QPainter& painter, int sourceRight, int sourceBottom);

    std::shared_ptr<const AtlasResult> result_;
    int page_ = 0;
    // The part of the canvas painted last, and which part it is.
    QImage part_;
    QRect partRegion_;
    // For a rendered field, the view pixels the part was made for; empty for canvas pixels.
    QSize partViewSize_;
    QPointer<QScrollBar> horizontal_;
    QPointer<QScrollBar> vertical_;
    QLabel* hint_ = nullptr;
    int zoom_ = 100;
    // Wheel turn not yet used for a zoom step, in eighths of a degree.
    int pendingZoomTurn_ = 0;
    // Wheel pan not yet used, in canvas pixels (less than one each way).
    QPointF pendingPan_;
    bool showRectangles_ = false;
    bool fieldRendered_ = true;
};

}  // namespace vemro
