#pragma once

#include <QPointer>
#include <QWidget>

class QScrollBar;

namespace vemro {

class GlyphList;
class PixelSurface;

// Shows the atlas surface magnified by the zoom, panned by two scroll bars, optionally with a
// dotted outline around every glyph cell. It keeps no pixels: every paint draws straight from
// the surface's buffer. Every change only schedules a repaint, so a burst of them costs one.
class PreviewView : public QWidget {
    Q_OBJECT

public:
    explicit PreviewView(QWidget* parent = nullptr);

    // Both must outlive the view (or be replaced first); null shows an empty view.
    void setSource(const PixelSurface* surface, const GlyphList* glyphs);

    // The bars give the top-left surface pixel in view; the view sets their ranges.
    void setScrollBars(QScrollBar* horizontal, QScrollBar* vertical);

    int zoom() const { return zoom_; }
    void setZoom(int percent);

    bool showRectangles() const { return showRectangles_; }
    void setShowRectangles(bool show);

    // Surface columns and rows in view at the current size and zoom.
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

    const PixelSurface* surface_ = nullptr;
    const GlyphList* glyphs_ = nullptr;
    QPointer<QScrollBar> horizontal_;
    QPointer<QScrollBar> vertical_;
    int zoom_ = 100;
    bool showRectangles_ = false;
};

}  // namespace vemro
