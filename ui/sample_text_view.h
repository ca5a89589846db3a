#pragma once

#include <QAbstractScrollArea>
#include <QRect>
#include <QString>
#include <memory>
#include <vector>

#include "files/export/line_layout.h"

namespace vemro {

struct AtlasResult;
struct FontDescription;

// Draws one line of sample text from an atlas, laid out as a game engine lays it out from the
// exported descriptor (LineLayout), magnified by the preview's zoom with every atlas pixel a
// sharp square, white on black (a colour atlas in its colours; a distance field rendered at the
// zoom, sharp at any size, or as stored). Only the part in view is composed. "Show cells" outlines
// the rectangle each character is drawn from. The view is as tall as the line at the zoom, up to a
// limit past which it scrolls; a long line scrolls sideways (also with the wheel, with Shift or
// while the line is no taller than the view).
class SampleTextView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit SampleTextView(QWidget* parent = nullptr);
    ~SampleTextView() override;

    // The atlas the line is drawn from, with the description of it an export writes (its
    // characters' rectangles and metrics, and its kerning). Null draws nothing.
    void setAtlas(std::shared_ptr<const AtlasResult> result, const FontDescription& description);
    void setText(const std::u32string& text);

    int zoom() const { return zoom_; }
    // 100 to 1000 percent; the left edge in view stays where it was on the line.
    void setZoom(int percent);

    bool showCells() const { return showCells_; }
    void setShowCells(bool show);

    // Whether a distance-field atlas is rendered at the zoom (the default) or drawn as stored.
    void setFieldRendered(bool rendered);

    // The laid-out line and the characters of the text the atlas lacks.
    const LaidOutLine& line() const { return line_; }

    // Where the line's start (the pen's first position, on the line's top) lies in the
    // viewport, in viewport pixels, at the current zoom and scroll positions.
    QPoint lineOrigin() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void layOut();
    void updateScrollRanges();
    double scale() const { return zoom_ / 100.0; }
    // The line's content at the zoom, margins included, in viewport pixels.
    QSize contentSize() const;

    std::shared_ptr<const AtlasResult> result_;
    LineLayout layout_;
    std::u32string text_;
    LaidOutLine line_;
    // Every rectangle drawn and the line's box (0..end x 0..lineHeight), in atlas pixels.
    QRect bounds_;
    int zoom_ = 100;
    bool showCells_ = false;
    bool fieldRendered_ = true;
};

}  // namespace vemro
