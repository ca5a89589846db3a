// The main window's preview controls: the zoom slider and box, the zoom commands, Show
// Rectangles, the page selector and the texture size the shown atlas uses.

#include <QSignalBlocker>

#include "ui/builder_dialog.h"
#include "ui/preview_geometry.h"
#include "ui/preview_view.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

constexpr int kZoomTickInterval = 50;
constexpr int kZoomPageStep = 50;

}  // namespace

void BuilderDialog::setUpView() {
    // Zoom slider and box: 100 to 1000 percent, a tick every 50.
    ui_->zoomSlider->setRange(preview_geometry::kMinZoom, preview_geometry::kMaxZoom);
    ui_->zoomSlider->setValue(preview_geometry::kMinZoom);
    ui_->zoomSlider->setTickInterval(kZoomTickInterval);
    ui_->zoomSlider->setSingleStep(1);
    ui_->zoomSlider->setPageStep(kZoomPageStep);
    ui_->zoomSpin->setRange(preview_geometry::kMinZoom, preview_geometry::kMaxZoom);
    ui_->preview->setScrollBars(ui_->horizontalScrollBar, ui_->verticalScrollBar);
    applyZoom(preview_geometry::kMinZoom);
    showTextureOfResult();
}

void BuilderDialog::applyZoom(int percent) {
    ui_->preview->setZoom(percent);
    showZoom();
}

void BuilderDialog::showZoom() {
    const int zoom = ui_->preview->zoom();
    const QSignalBlocker blockSlider(ui_->zoomSlider);
    const QSignalBlocker blockBox(ui_->zoomSpin);
    ui_->zoomSlider->setValue(zoom);
    ui_->zoomSpin->setValue(zoom);
}

void BuilderDialog::zoomStep(int direction) {
    applyZoom(preview_geometry::nextZoomStep(ui_->preview->zoom(), direction));
}

void BuilderDialog::applyShowRectangles() {
    ui_->preview->setShowRectangles(ui_->showRectanglesCheck->isChecked());
}

void BuilderDialog::applyPage(int page) {
    ui_->preview->setPage(page - 1);
}

void BuilderDialog::showTextureOfResult() {
    const AtlasSize size = result_->textureSize;
    ui_->usedSizeLabel->setText(tr("Used: %1 x %2").arg(size.width).arg(size.height));

    // The preview keeps its page while the atlas has it, else shows the last one.
    const int pages = ui_->preview->pageCount();
    const QSignalBlocker blocker(ui_->pageSpin);
    ui_->pageSpin->setRange(1, pages);
    ui_->pageSpin->setSuffix(tr(" of %1").arg(pages));
    ui_->pageSpin->setValue(ui_->preview->page() + 1);
    ui_->pageSpin->setEnabled(pages > 1);
}

}  // namespace vemro
