#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>

class QLabel;
class QScrollBar;

namespace vemro {

struct AtlasResult;

// Shows an atlas result's first page on the preview canvas (the texture with a hatch around
// it), magnified by the zoom, panned by two scroll bars, optionally with a dotted outline
// around every glyph cell. The canvas is composed once per result; every change only schedules
// a repaint, so a burst of them costs one. The wheel pans; with Ctrl held it zooms by whole
// steps about the pixel under the cursor. A hint, when set, stands in a box in the middle.
class PreviewView : public QWidget {
    Q_OBJECT

public:
    explicit PreviewView(QWidget* parent = nullptr);

    // The view keeps the result it shows; null shows an empty view.
    void setResult(std::shared_ptr<const AtlasResult> result);

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
    void placeHint();
    int horizontalPosition() const;
    int verticalPosition() const;

    std::shared_ptr<const AtlasResult> result_;
    QImage canvas_;
    QPointer<QScrollBar> horizontal_;
    QPointer<QScrollBar> vertical_;
    QLabel* hint_ = nullptr;
    int zoom_ = 100;
    // Wheel turn not yet used for a zoom step, in eighths of a degree.
    int pendingZoomTurn_ = 0;
    bool showRectangles_ = false;
};

}  // namespace vemro
