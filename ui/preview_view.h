#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>

class QScrollBar;

namespace vemro {

struct AtlasResult;

// Shows an atlas result's first page on the preview canvas (the texture with a hatch around
// it), magnified by the zoom, panned by two scroll bars, optionally with a dotted outline
// around every glyph cell. The canvas is composed once per result; every change only schedules
// a repaint, so a burst of them costs one.
class PreviewView : public QWidget {
    Q_OBJECT

public:
    explicit PreviewView(QWidget* parent = nullptr);

    // The view keeps the result it shows; null shows an empty view.
    void setResult(std::shared_ptr<const AtlasResult> result);

    // The bars give the top-left canvas pixel in view; the view sets their ranges.
    void setScrollBars(QScrollBar* horizontal, QScrollBar* vertical);

    int zoom() const { return zoom_; }
    void setZoom(int percent);

    bool showRectangles() const { return showRectangles_; }
    void setShowRectangles(bool show);

    // Canvas columns and rows in view at the current size and zoom.
    int sourceWidth() const;
    int sourceHeight() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void updateScrollRanges();
    int horizontalPosition() const;
    int verticalPosition() const;

    std::shared_ptr<const AtlasResult> result_;
    QImage canvas_;
    QPointer<QScrollBar> horizontal_;
    QPointer<QScrollBar> vertical_;
    int zoom_ = 100;
    bool showRectangles_ = false;
};

}  // namespace vemro
