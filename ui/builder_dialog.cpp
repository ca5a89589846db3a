#include "ui/builder_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <utility>

#include "engine/font/font_renderer.h"
#include "engine/text/unicode_text.h"
#include "ui/elided_label.h"
#include "ui/preview_geometry.h"
#include "ui/preview_view.h"
#include "ui/project_controls.h"
#include "ui/rebuild_worker.h"
#include "ui/recent_files.h"
#include "ui/sentence.h"
#include "ui/shortcut_priority.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

// How long a change waits for its atlas before the window goes back to the user: a rebuild
// this short shows as if it were made on the spot.
constexpr std::chrono::milliseconds kQuickRebuild{30};

// The spins whose consecutive edits make one undo step.
enum SpinControl {
    kSizeSpin,
    kBorderLeftSpin,
    kBorderTopSpin,
    kBorderRightSpin,
    kBorderBottomSpin,
    kCharBorderLeftSpin,
    kCharBorderRightSpin,
    kSpacingSpin,
    kSampleTextEdit,
};

// A menu or command caption without its mnemonic marks ("&File" gives "File").
QString plainCaption(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    if (text.endsWith(QStringLiteral("..."))) {
        text.chop(3);
    }
    return text;
}

// The number attached to the selected entry, or nothing when none is selected.
std::optional<std::int32_t> selectedData(const QComboBox* combo) {
    bool ok = false;
    const int value = combo->currentData().toInt(&ok);
    return ok ? std::optional<std::int32_t>(value) : std::nullopt;
}

}  // namespace

BuilderDialog::BuilderDialog(FontRenderer& renderer, FilePrompts& prompts, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::BuilderDialog>()),
      renderer_(renderer),
      prompts_(prompts),
      document_{startupProject(renderer.defaultFaceName())},
      result_(std::make_shared<const AtlasResult>()) {
    // The worker tells of every finished rebuild; the window looks at it in its own thread.
    worker_ = std::make_unique<RebuildWorker>(renderer_, [this] {
        QMetaObject::invokeMethod(
            this, [this] { takeFinishedRebuild(); }, Qt::QueuedConnection);
    });
    ui_->setupUi(this);
    controls_ = std::make_unique<ProjectControls>(*ui_, this);

    // The fields of the "Font", "Character", "Packing" and "Export" groups start at the same x.
    int labelWidth = 0;
    for (const QGroupBox* group :
         {ui_->fontGroup, ui_->characterGroup, ui_->packingGroup, ui_->exportGroup}) {
        for (const QLabel* label : group->findChildren<QLabel*>()) {
            labelWidth = std::max(labelWidth, label->sizeHint().width());
        }
    }
    ui_->fontLayout->setColumnMinimumWidth(0, labelWidth);
    ui_->characterLayout->setColumnMinimumWidth(0, labelWidth);
    ui_->packingLayout->setColumnMinimumWidth(0, labelWidth);
    ui_->exportLayout->setColumnMinimumWidth(0, labelWidth);
    // The "Italic" caption stands left of its box like the other captions; clicking it
    // clicks the box.
    ui_->italicLabel->installEventFilter(this);

    // The status line takes the window's width and never widens it: a long message is cut,
    // with the whole of it as the tool tip.
    statusLabel_ = new ElidedLabel(this);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    statusBar()->addWidget(statusLabel_, 1);
    statusBar()->setSizeGripEnabled(true);

    ui_->loadMessageLabel->setStyleSheet(
        QStringLiteral("QLabel { background: #fff5cc; color: #3d3000; border: 1px solid #d9b84a; "
                       "border-radius: 3px; padding: 4px; }"));
    ui_->loadMessageLabel->hide();

    history_ = new ProjectHistory(
        ui_->actionUndo, ui_->actionRedo,
        [this](const Document& document) { restoreDocument(document); }, this);
    ui_->actionRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    ui_->actionZoomIn->setShortcuts(
        {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    ui_->actionZoomOut->setShortcuts(QKeySequence::ZoomOut);
    recent_ = new RecentFiles(
        ui_->menuOpenRecent, [this](const QString& path) { fileOpenRecent(path); }, this);

    setUpView();

    controls_->setUp(renderer_.faceNames());
    controls_->show(document_);
    setAcceptDrops(true);
    connectRoutes();
    // Every command's shortcut works whichever control has the focus.
    ShortcutPriority::install(this);
    rebuild();
    ui_->zoomSlider->setFocus();
    markSaved();

    // Start at the size the layout asks for (a 450 pixel wide view), not at the share of the
    // screen Qt gives a window by default; only a screen too small for it makes it smaller.
    QSize startSize = sizeHint();
    if (const QScreen* display = screen()) {
        startSize = startSize.boundedTo(display->availableGeometry().size());
    }
    resize(startSize);
}

BuilderDialog::~BuilderDialog() {
    // First the worker, so that no news of a rebuild comes in while the window is torn down.
    worker_.reset();
    // The controls go on reporting while the widgets are torn down (a spin that loses the focus
    // ends its editing); nothing of the window may act on that any more.
    for (QWidget* control : findChildren<QWidget*>()) {
        control->removeEventFilter(this);
        control->disconnect(this);
    }
}

void BuilderDialog::connectRoutes() {
    // Texture size: every click, also on the button that is already checked, rebuilds.
    connect(controls_->widthButtons(), &QButtonGroup::idClicked, this,
            [this](int id) { applyTextureSide(id, true); });
    connect(controls_->heightButtons(), &QButtonGroup::idClicked, this,
            [this](int id) { applyTextureSide(id, false); });

    // Font: lists on the user's choice only, never on a selection set from code.
    connect(ui_->nameCombo, &QComboBox::activated, this, [this](int index) { chooseFace(index); });
    const auto routeChoice = [this](QComboBox* combo, const QString& text,
                                    void (*store)(FontSettings&, std::int32_t)) {
        connect(combo, &QComboBox::activated, this, [this, combo, text, store] {
            const std::optional<std::int32_t> value = selectedData(combo);
            editProject(text, [&value, store](Project& project) {
                if (value) {
                    store(project.font, *value);
                }
            });
        });
    };
    routeChoice(ui_->qualityCombo, tr("Quality"),
                [](FontSettings& font, std::int32_t value) { font.quality = value; });
    routeChoice(ui_->factorCombo, tr("Anti-aliasing"),
                [](FontSettings& font, std::int32_t value) { font.factor = value; });
    routeChoice(ui_->weightCombo, tr("Weight"),
                [](FontSettings& font, std::int32_t value) { font.weight = value; });
    connect(ui_->italicCheck, &QCheckBox::clicked, this, [this] {
        const bool italic = ui_->italicCheck->isChecked();
        editProject(tr("Italic"), [italic](Project& project) { project.font.italic = italic; });
    });

    // Spins: every change of the text, typed or stepped.
    routeSpin(ui_->sizeSpin, kSizeSpin, tr("Size"),
              [](Project& project, std::int32_t value) { project.font.size = value; });
    routeSpin(ui_->borderLeftSpin, kBorderLeftSpin, tr("Font border"),
              [](Project& project, std::int32_t value) { project.fontBorders.left = value; });
    routeSpin(ui_->borderTopSpin, kBorderTopSpin, tr("Font border"),
              [](Project& project, std::int32_t value) { project.fontBorders.top = value; });
    routeSpin(ui_->borderRightSpin, kBorderRightSpin, tr("Font border"),
              [](Project& project, std::int32_t value) { project.fontBorders.right = value; });
    routeSpin(ui_->borderBottomSpin, kBorderBottomSpin, tr("Font border"),
              [](Project& project, std::int32_t value) { project.fontBorders.bottom = value; });

    // Packing.
    connect(ui_->packerCombo, &QComboBox::activated, this, [this] {
        const std::optional<std::int32_t> value = selectedData(ui_->packerCombo);
        editProject(tr("Packer"), [&value](Project& project) {
            if (value) {
                project.packing.packer = static_cast<PackerKind>(*value);
            }
        });
    });
    routeSpin(ui_->spacingSpin, kSpacingSpin, tr("Spacing"),
              [](Project& project, std::int32_t value) { project.packing.spacing = value; });
    connect(ui_->fitSizeCheck, &QCheckBox::clicked, this, [this] {
        const bool fit = ui_->fitSizeCheck->isChecked();
        editProject(tr("Fit size"), [fit](Project& project) { project.packing.fitSize = fit; });
    });
    connect(ui_->multiplePagesCheck, &QCheckBox::clicked, this, [this] {
        const bool pages = ui_->multiplePagesCheck->isChecked();
        editProject(tr("Several pages"),
                    [pages](Project& project) { project.packing.multiplePages = pages; });
    });

    // Export.
    connect(ui_->exportFormatCombo, &QComboBox::activated, this, [this] {
        if (const std::optional<std::int32_t> value = selectedData(ui_->exportFormatCombo)) {
            chooseExportFormat(static_cast<DescriptorFormat>(*value));
        }
    });
    connect(ui_->pageImageCombo, &QComboBox::activated, this, [this] {
        const std::optional<std::int32_t> value = selectedData(ui_->pageImageCombo);
        editDocument(tr("Page image"), [&value](Document& document) {
            if (value) {
                document.exportSettings.image = static_cast<PageImage>(*value);
            }
        });
    });
    connect(ui_->kerningCheck, &QCheckBox::clicked, this, [this] {
        const bool kerning = ui_->kerningCheck->isChecked();
        editProject(tr("Kerning pairs"),
                    [kerning](Project& project) { project.kerning = kerning; });
    });

    // Sample text: every edit, typed keys in a row as one undo step until the line is left.
    connect(ui_->sampleTextEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        const std::string sample = text.toStdString();
        editDocument(
            tr("Sample text"), [&sample](Document& document) { document.sampleText = sample; },
            MergeKey{kSampleTextEdit});
    });
    connect(ui_->sampleTextEdit, &QLineEdit::editingFinished, this, [this] { history_->endRun(); });
    connect(ui_->showCellsCheck, &QCheckBox::clicked, this,
            [this](bool show) { ui_->sampleView->setShowCells(show); });

    connectEffects();

    // Character.
    connect(ui_->characterCombo, &QComboBox::activated, this, [this] { selectCharacter(); });
    connect(ui_->characterFindEdit, &QLineEdit::textEdited, this, [this] { findCharacter(false); });
    connect(ui_->characterFindEdit, &QLineEdit::returnPressed, this,
            [this] { findCharacter(true); });
    for (QSpinBox* spin : {ui_->charBorderLeftSpin, ui_->charBorderRightSpin}) {
        const bool left = spin == ui_->charBorderLeftSpin;
        connect(spin, &QSpinBox::textChanged, this,
                [this, spin, left] { applyCharacterBorder(spin, left); });
        connect(spin, &QAbstractSpinBox::editingFinished, this, [this] { history_->endRun(); });
    }

    // Preview.
    connect(ui_->zoomSlider, &QSlider::valueChanged, this, [this](int zoom) { applyZoom(zoom); });
    connect(ui_->zoomSpin, &QSpinBox::valueChanged, this, [this](int zoom) { applyZoom(zoom); });
    connect(ui_->preview, &PreviewView::zoomChanged, this, [this] { showZoom(); });
    connect(ui_->actionZoomIn, &QAction::triggered, this, [this] { zoomStep(1); });
    connect(ui_->actionZoomOut, &QAction::triggered, this, [this] { zoomStep(-1); });
    connect(ui_->actionZoomReset, &QAction::triggered, this,
            [this] { applyZoom(preview_geometry::kMinZoom); });
    connect(ui_->showRectanglesCheck, &QCheckBox::clicked, this, [this] { applyShowRectangles(); });
    connect(ui_->pageSpin, &QSpinBox::valueChanged, this, [this](int page) { applyPage(page); });

    // Menu commands.
    connect(ui_->actionNew, &QAction::triggered, this, [this] { fileNew(); });
    connect(ui_->actionOpen, &QAction::triggered, this, [this] { fileOpen(); });
    connect(ui_->actionSave, &QAction::triggered, this, [this] { fileSave(); });
    connect(ui_->actionSaveAs, &QAction::triggered, this, [this] { fileSaveAs(); });
    connect(ui_->actionExportFont, &QAction::triggered, this, [this] { fileExport(); });
    connect(ui_->actionExit, &QAction::triggered, this, &QWidget::close);
    connect(ui_->actionUseFontFile, &QAction::triggered, this, [this] { fileUseFontFile(); });
    const std::pair<QAction*, void (BuilderDialog::*)()> tools[] = {
        {ui_->actionAddCharacters, &BuilderDialog::toolsAddCharacters},
        {ui_->actionAddCharacterSet, &BuilderDialog::toolsAddCharacterSet},
        {ui_->actionAddCharactersFromFile, &BuilderDialog::toolsAddCharactersFromFile},
        {ui_->actionAddTorvynCharset, &BuilderDialog::toolsAddFullCharset},
        {ui_->actionRemoveCharacter, &BuilderDialog::toolsRemoveCharacter},
        {ui_->actionRemoveCharacters, &BuilderDialog::toolsRemoveCharacters},
        {ui_->actionRemoveMissingCharacters, &BuilderDialog::toolsRemoveMissingCharacters},
    };
    for (const auto& [action, command] : tools) {
        connect(action, &QAction::triggered, this, [this, command] { (this->*command)(); });
    }
}

void BuilderDialog::routeSpin(QSpinBox* spin, int control, const QString& text,
                              void (*store)(Project&, std::int32_t)) {
    connect(spin, &QSpinBox::textChanged, this, [this, spin, control, text, store] {
        const std::int32_t value = spin->value();
        editProject(
            text, [value, store](Project& project) { store(project, value); }, MergeKey{control});
    });
    // Leaving the spin or pressing Enter ends its run of edits.
    connect(spin, &QAbstractSpinBox::editingFinished, this, [this] { history_->endRun(); });
}

void BuilderDialog::applyTextureSide(int buttonId, bool width) {
    const std::optional<std::int32_t> side = ProjectControls::sideOfButton(buttonId);
    editProject(tr("Texture size"), [side, width](Project& project) {
        if (side) {
            (width ? project.textureSize.width : project.textureSize.height) = *side;
        }
    });
}

void BuilderDialog::applyCharacterBorder(QSpinBox* spin, bool left) {
    const int index = ui_->characterCombo->currentIndex();
    if (index < 0 || document_.project.glyphs.glyphAt(static_cast<std::size_t>(index)) == nullptr) {
        return;
    }
    const std::int32_t value = spin->value();
    editProject(
        tr("Character border"),
        [index, left, value](Project& project) {
            Glyph& glyph = *project.glyphs.glyphAt(static_cast<std::size_t>(index));
            (left ? glyph.charBorderLeft : glyph.charBorderRight) = value;
        },
        MergeKey{left ? kCharBorderLeftSpin : kCharBorderRightSpin, index});
}

void BuilderDialog::selectCharacter() {
    const int index = ui_->characterCombo->currentIndex();
    const Glyph* glyph = document_.project.glyphs.glyphAt(static_cast<std::size_t>(index));
    controls_->showSelectedCharacter(document_.project.glyphs);
    if (index < 0 || glyph == nullptr) {
        return;
    }
    // A border outside the spins' range is kept as the spins show it.
    const std::int32_t left = ui_->charBorderLeftSpin->value();
    const std::int32_t right = ui_->charBorderRightSpin->value();
    if (left != glyph->charBorderLeft || right != glyph->charBorderRight) {
        editProject(tr("Character border"), [index, left, right](Project& project) {
            Glyph& changed = *project.glyphs.glyphAt(static_cast<std::size_t>(index));
            changed.charBorderLeft = left;
            changed.charBorderRight = right;
        });
    }
}

void BuilderDialog::findCharacter(bool next) {
    const QString query = ui_->characterFindEdit->text();
    const int found = controls_->findCharacter(query, next);
    // A query that names nothing in the list is marked; the selection stays.
    const bool missing = found < 0 && !query.trimmed().isEmpty();
    ui_->characterFindEdit->setStyleSheet(
        missing ? QStringLiteral("QLineEdit { background: #ffd9d9; }") : QString());
    if (found < 0) {
        return;
    }
    {
        const QSignalBlocker blocker(ui_->characterCombo);
        ui_->characterCombo->setCurrentIndex(found);
    }
    selectCharacter();
}

void BuilderDialog::editProject(const QString& text, const std::function<void(Project&)>& edit,
                                std::optional<MergeKey> key) {
    editDocument(
        text, [&edit](Document& document) { edit(document.project); }, key);
}

void BuilderDialog::editDocument(const QString& text, const std::function<void(Document&)>& edit,
                                 std::optional<MergeKey> key) {
    note_.clear();
    Document next = document_;
    edit(next);
    if (next == document_) {
        rebuild();
        return;
    }
    // A change the atlas does not depend on (the sample text, the export format) keeps it.
    const bool sameAtlas = next.project == document_.project;
    Document before = std::exchange(document_, std::move(next));
    if (sameAtlas) {
        updateStatus();
    } else {
        rebuild();
    }
    showSampleText();
    history_->record(text, before, document_, key);
}

void BuilderDialog::restoreDocument(const Document& document) {
    note_.clear();
    const bool sameAtlas = document.project == document_.project;
    document_ = document;
    controls_->show(document_);
    if (sameAtlas) {
        updateStatus();
    } else {
        rebuild();
    }
    showSampleText();
}

void BuilderDialog::rebuild() {
    // Behind a rebuild that is still running this one cannot be quick: no use waiting for it.
    const bool mayBeQuick = !worker_->isBusy();
    requestedGeneration_ = worker_->request(document_.project);
    ui_->preview->setHint(document_.project.glyphs.empty() ? emptyListHint() : QString());
    controls_->showCharacterList(document_.project.glyphs);
    controls_->showPixelHeight(document_.project.font.size);
    const RebuildWorker::Finished finished =
        mayBeQuick ? worker_->waitFor(requestedGeneration_, kQuickRebuild)
                   : RebuildWorker::Finished{};
    if (finished.result != nullptr) {
        showResult(finished.result, finished.generation);
    } else {
        updateStatus();
    }
}

void BuilderDialog::takeFinishedRebuild() {
    // News of an earlier project's atlas is dropped: only the current project's is shown.
    const RebuildWorker::Finished finished = worker_->latest();
    if (finished.generation == requestedGeneration_ && finished.generation != shownGeneration_) {
        showResult(finished.result, finished.generation);
    }
}

const std::shared_ptr<const AtlasResult>& BuilderDialog::waitForResult() {
    if (isRebuilding()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const RebuildWorker::Finished finished = worker_->waitFor(requestedGeneration_);
        QApplication::restoreOverrideCursor();
        showResult(finished.result, finished.generation);
    }
    return result_;
}

void BuilderDialog::showResult(std::shared_ptr<const AtlasResult> result,
                               std::uint64_t generation) {
    result_ = std::move(result);
    shownGeneration_ = generation;
    missingNote_ = missingCharactersNote(*result_);
    ui_->preview->setResult(result_);
    showTextureOfResult();
    showSampleAtlas();
    updateStatus();
}

QString BuilderDialog::emptyListHint() const {
    // Named as the menu names the commands.
    const QString menu = plainCaption(ui_->menuTools->title());
    return tr("Add characters with %1 > %2 or %1 > %3")
        .arg(menu, plainCaption(ui_->actionAddCharacters->text()),
             plainCaption(ui_->actionAddTorvynCharset->text()));
}

void BuilderDialog::updateStatus() {
    QStringList parts;
    if (!note_.isEmpty()) {
        parts.append(note_);
    }
    if (isRebuilding()) {
        // What the shown atlas says no longer holds; the new one follows.
        const std::size_t count = document_.project.glyphs.size();
        parts.append(count == 1 ? tr("Rebuilding 1 character...")
                                : tr("Rebuilding %1 characters...")
                                      .arg(QLocale(QLocale::English).toString(qulonglong{count})));
        statusLabel_->setText(parts.join(QLatin1Char(' ')));
        setWindowModified(hasUnsavedChanges());
        return;
    }
    if (!result_->fontProblem.empty()) {
        parts.append(sentence(result_->fontProblem));
    }
    if (result_->pages.size() > 1) {
        parts.append(tr("%1 pages.").arg(result_->pages.size()));
    }
    const std::size_t outside = result_->glyphsOutsideTexture;
    if (outside > 0) {
        const AtlasSize size = result_->textureSize;
        const QString texture = QStringLiteral("%1 x %2").arg(size.width).arg(size.height);
        parts.append(outside == 1
                         ? tr("1 glyph lies partly or wholly outside the %1 texture.").arg(texture)
                         : tr("%1 glyphs lie partly or wholly outside the %2 texture.")
                               .arg(outside)
                               .arg(texture));
    }
    if (!missingNote_.isEmpty()) {
        parts.append(missingNote_);
    }
    statusLabel_->setText(parts.join(QLatin1Char(' ')));
    setWindowModified(hasUnsavedChanges());
}

bool BuilderDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->italicLabel && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        ui_->italicCheck->isEnabled()) {
        ui_->italicCheck->click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace vemro
