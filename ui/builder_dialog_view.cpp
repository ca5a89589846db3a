// The main window's preview controls: the zoom slider and box, the zoom commands, Show
// Rectangles, the page selector, the choice of a distance field stored or rendered, the texture
// size the shown atlas uses, and the sample line.

#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>
#include <QStringList>

#include "files/export/font_description.h"
#include "session/session_text.h"
#include "ui/builder_dialog.h"
#include "ui/preview_geometry.h"
#include "ui/preview_view.h"
#include "ui/sample_text_view.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

constexpr int kZoomTickInterval = 50;
constexpr int kZoomPageStep = 50;
// How many of the sample's characters the atlas lacks the note beside "Show cells" shows.
constexpr std::size_t kSampleMissingShown = 8;

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
    // "Rendered" (the first entry) or "Stored", for the preview and the sample line alike.
    connect(ui_->fieldViewCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        ui_->preview->setFieldRendered(index == 0);
        ui_->sampleView->setFieldRendered(index == 0);
    });
    connect(ui_->zoomSlider, &QSlider::valueChanged, this, [this](int zoom) { applyZoom(zoom); });
    connect(ui_->zoomSpin, &QSpinBox::valueChanged, this, [this](int zoom) { applyZoom(zoom); });
    connect(ui_->preview, &PreviewView::zoomChanged, this, [this] { showZoom(); });
    for (const auto& [action, direction] :
         {std::pair{ui_->actionZoomIn, 1}, std::pair{ui_->actionZoomOut, -1}}) {
        connect(action, &QAction::triggered, this, [this, direction] {
            applyZoom(preview_geometry::nextZoomStep(ui_->preview->zoom(), direction));
        });
    }
    connect(ui_->actionZoomReset, &QAction::triggered, this,
            [this] { applyZoom(preview_geometry::kMinZoom); });
    connect(ui_->showRectanglesCheck, &QCheckBox::clicked, this,
            [this] { ui_->preview->setShowRectangles(ui_->showRectanglesCheck->isChecked()); });
    connect(ui_->showCellsCheck, &QCheckBox::clicked, this,
            [this](bool show) { ui_->sampleView->setShowCells(show); });
    // The page the page selector was set to, counted from 1.
    connect(ui_->pageSpin, &QSpinBox::valueChanged, this,
            [this](int page) { ui_->preview->setPage(page - 1); });
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
    ui_->sampleView->setZoom(zoom);
}

void BuilderDialog::showResult() {
    shown_ = session_->shownResult();
    ui_->preview->setResult(shown_);
    showTextureOfResult();
    // The sample line draws with the same characters, metrics and kerning as a descriptor
    // export writes; the page files are not needed to draw.
    ui_->sampleView->setAtlas(shown_, describeFont(session_->project(), *shown_, {}));
}

void BuilderDialog::showTextureOfResult() {
    const AtlasSize size = shown_->textureSize;
    ui_->usedSizeLabel->setText(tr("Used: %1 x %2").arg(size.width).arg(size.height));

    // The preview keeps its page while the atlas has it, else shows the last one.
    const int pages = ui_->preview->pageCount();
    const QSignalBlocker blocker(ui_->pageSpin);
    ui_->pageSpin->setRange(1, pages);
    ui_->pageSpin->setSuffix(tr(" of %1").arg(pages));
    ui_->pageSpin->setValue(ui_->preview->page() + 1);
    ui_->pageSpin->setEnabled(pages > 1);
    ui_->fieldViewCombo->setEnabled(shown_->encoding.isField());
}

void BuilderDialog::showSampleText() {
    const QList<uint> codes = QString::fromStdString(session_->document().sampleText).toUcs4();
    ui_->sampleView->setText(std::u32string(codes.begin(), codes.end()));
    const std::vector<char32_t>& missing = ui_->sampleView->line().missing;
    // With no characters at all the preview says how to add them.
    if (missing.empty() || session_->project().glyphs.empty()) {
        ui_->sampleMissingLabel->clear();
        return;
    }
    QStringList shown;
    for (std::size_t i = 0; i < std::min(missing.size(), kSampleMissingShown); ++i) {
        shown.append(missing[i] == U' ' ? tr("space")
                                        : QString::fromStdString(shownCharacter(missing[i])));
    }
    if (missing.size() > kSampleMissingShown) {
        shown.append(QStringLiteral("..."));
    }
    ui_->sampleMissingLabel->setText(tr("Not in the atlas: %1").arg(shown.join(QLatin1Char(' '))));
}

}  // namespace vemro
