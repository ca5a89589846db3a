#include "ui/builder_dialog.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <utility>

#include "engine/font_renderer.h"
#include "engine/windows1252.h"
#include "files/exporter.h"
#include "files/project_file.h"
#include "files/project_opener.h"
#include "ui/add_characters_dialog.h"
#include "ui/file_prompts.h"
#include "ui/preview_geometry.h"
#include "ui/project_controls.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

constexpr int kZoomTickInterval = 50;
constexpr int kZoomPageStep = 50;

// The spins whose consecutive edits make one undo step.
enum SpinControl {
    kSizeSpin,
    kBorderLeftSpin,
    kBorderTopSpin,
    kBorderRightSpin,
    kBorderBottomSpin,
    kCharBorderLeftSpin,
    kCharBorderRightSpin,
};

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A message from the engine or the file functions as a sentence: capital first letter, full
// stop.
QString sentence(const std::string& message) {
    QString text = QString::fromStdString(message);
    if (!text.isEmpty()) {
        text[0] = text[0].toUpper();
        if (!text.endsWith(QLatin1Char('.'))) {
            text.append(QLatin1Char('.'));
        }
    }
    return text;
}

std::optional<QString> droppedProject(const QMimeData* mime) {
    if (mime == nullptr || !mime->hasUrls()) {
        return std::nullopt;
    }
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) {
        return std::nullopt;
    }
    QString path = urls.front().toLocalFile();
    if (!path.endsWith(QStringLiteral(".fnt"), Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    return path;
}

// The number attached to the selected entry, or nothing when none is selected.
std::optional<std::int32_t> selectedData(const QComboBox* combo) {
    bool ok = false;
    const int value = combo->currentData().toInt(&ok);
    return ok ? std::optional<std::int32_t>(value) : std::nullopt;
}

// Adds the character of a code point the code page holds; others are skipped.
void addWindows1252Character(GlyphList& glyphs, char32_t codePoint) {
    if (const std::optional<std::uint8_t> code = unicodeToWindows1252(codePoint)) {
        glyphs.addCharacter(windows1252ToUnicode(*code));
    }
}

}  // namespace

BuilderDialog::BuilderDialog(FontRenderer& renderer, FilePrompts& prompts, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::BuilderDialog>()),
      renderer_(renderer),
      prompts_(prompts),
      builder_(renderer),
      project_(startupProject(renderer.defaultFaceName())) {
    ui_->setupUi(this);
    controls_ = std::make_unique<ProjectControls>(*ui_, this);

    // The fields of the "Font" and "Character" groups start at the same x.
    int labelWidth = 0;
    for (const QGroupBox* group : {ui_->fontGroup, ui_->characterGroup}) {
        for (const QLabel* label : group->findChildren<QLabel*>()) {
            labelWidth = std::max(labelWidth, label->sizeHint().width());
        }
    }
    ui_->fontLayout->setColumnMinimumWidth(0, labelWidth);
    ui_->characterLayout->setColumnMinimumWidth(0, labelWidth);
    // The "Italic" caption stands left of its box like the other captions; clicking it
    // clicks the box.
    ui_->italicLabel->installEventFilter(this);

    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    statusBar()->addWidget(statusLabel_, 1);
    statusBar()->setSizeGripEnabled(true);

    ui_->loadMessageLabel->setStyleSheet(
        QStringLiteral("QLabel { background: #fff5cc; color: #3d3000; border: 1px solid #d9b84a; "
                       "border-radius: 3px; padding: 4px; }"));
    ui_->loadMessageLabel->hide();

    history_ = new ProjectHistory(
        ui_->actionUndo, ui_->actionRedo,
        [this](const Project& project) { restoreProject(project); }, this);
    ui_->actionRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});

    // Zoom slider: 100 to 1000 percent, a tick every 50.
    ui_->zoomSlider->setRange(preview_geometry::kMinZoom, preview_geometry::kMaxZoom);
    ui_->zoomSlider->setValue(preview_geometry::kMinZoom);
    ui_->zoomSlider->setTickInterval(kZoomTickInterval);
    ui_->zoomSlider->setSingleStep(1);
    ui_->zoomSlider->setPageStep(kZoomPageStep);
    ui_->preview->setScrollBars(ui_->horizontalScrollBar, ui_->verticalScrollBar);
    applyZoom();

    controls_->setUp(renderer_.faceNames());
    controls_->show(project_);
    setAcceptDrops(true);
    connectRoutes();
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
    connect(ui_->nameCombo, &QComboBox::activated, this, [this] {
        const std::string face = ui_->nameCombo->currentText().toStdString();
        editProject(tr("Font"), [&face](Project& project) { project.font.faceName = face; });
    });
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

    // Character.
    connect(ui_->characterCombo, &QComboBox::activated, this, [this] { selectCharacter(); });
    for (QSpinBox* spin : {ui_->charBorderLeftSpin, ui_->charBorderRightSpin}) {
        const bool left = spin == ui_->charBorderLeftSpin;
        connect(spin, &QSpinBox::textChanged, this,
                [this, spin, left] { applyCharacterBorder(spin, left); });
        connect(spin, &QAbstractSpinBox::editingFinished, this, [this] { history_->endRun(); });
        spin->installEventFilter(this);
    }

    // Preview.
    connect(ui_->zoomSlider, &QSlider::valueChanged, this, [this] { applyZoom(); });
    connect(ui_->showRectanglesCheck, &QCheckBox::clicked, this, [this] { applyShowRectangles(); });

    // Menu commands.
    connect(ui_->actionNew, &QAction::triggered, this, [this] { fileNew(); });
    connect(ui_->actionOpen, &QAction::triggered, this, [this] { fileOpen(); });
    connect(ui_->actionSave, &QAction::triggered, this, [this] { fileSave(); });
    connect(ui_->actionExportFont, &QAction::triggered, this, [this] { fileExport(); });
    connect(ui_->actionExit, &QAction::triggered, this, &QWidget::close);
    connect(ui_->actionAddCharacters, &QAction::triggered, this, [this] { toolsAddCharacters(); });
    connect(ui_->actionAddTorvynCharset, &QAction::triggered, this,
            [this] { toolsAddFullCharset(); });
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
    spin->installEventFilter(this);
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
    if (index < 0 || project_.glyphs.glyphAt(static_cast<std::size_t>(index)) == nullptr) {
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
    const Glyph* glyph = project_.glyphs.glyphAt(static_cast<std::size_t>(index));
    if (index < 0 || glyph == nullptr) {
        return;
    }
    controls_->showCharacterBorders(*glyph);
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

void BuilderDialog::applyZoom() {
    const int zoom = ui_->zoomSlider->value();
    ui_->zoomLabel->setText(QString::asprintf("%d%%", zoom));
    ui_->preview->setZoom(zoom);
}

void BuilderDialog::applyShowRectangles() {
    ui_->preview->setShowRectangles(ui_->showRectanglesCheck->isChecked());
}

void BuilderDialog::editProject(const QString& text, const std::function<void(Project&)>& edit,
                                std::optional<MergeKey> key) {
    Project next = project_;
    edit(next);
    if (next == project_) {
        rebuild();
        return;
    }
    Project before = std::exchange(project_, std::move(next));
    rebuild();
    history_->record(text, before, project_, key);
}

void BuilderDialog::restoreProject(const Project& project) {
    project_ = project;
    controls_->show(project_);
    rebuild();
}

void BuilderDialog::rebuild() {
    result_ = builder_.rebuild(project_);
    ui_->preview->setResult(result_);
    controls_->showCharacterList(project_.glyphs);
    updateStatus();
}

void BuilderDialog::updateStatus() {
    QStringList parts;
    if (!result_->fontProblem.empty()) {
        parts.append(sentence(result_->fontProblem));
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
    statusLabel_->setText(parts.join(QLatin1Char(' ')));
}

void BuilderDialog::fileNew() {
    if (!confirmDiscardChanges()) {
        return;
    }
    editProject(tr("New"), [](Project& project) { project.glyphs.clearGlyphs(); });
    clearLoadMessage();
    markSaved();
}

void BuilderDialog::toolsAddFullCharset() {
    editProject(tr("Add Torvyn Charset"), [](Project& project) {
        for (int code = 32; code <= 255; ++code) {
            project.glyphs.addCharacter(windows1252ToUnicode(static_cast<std::uint8_t>(code)));
        }
    });
}

void BuilderDialog::toolsAddCharacters() {
    AddCharactersDialog dialog(this);
    dialog.exec();
    // The typed text counts however the dialog was closed.
    const QList<uint> typed = dialog.characters().toUcs4();
    editProject(tr("Add characters"), [&typed](Project& project) {
        for (const uint codePoint : typed) {
            addWindows1252Character(project.glyphs, static_cast<char32_t>(codePoint));
        }
    });
}

bool BuilderDialog::fileSave() {
    const std::optional<QString> path = prompts_.askSaveProjectPath(this);
    if (!path) {
        return false;
    }
    const Status status = saveProject(localPath(*path), project_);
    if (!status) {
        prompts_.showError(this, tr("Could not save the font project"), sentence(status.message()));
        return false;
    }
    markSaved();
    return true;
}

void BuilderDialog::fileOpen() {
    if (!confirmDiscardChanges()) {
        return;
    }
    if (const std::optional<QString> path = prompts_.askOpenProjectPath(this)) {
        openProjectFile(*path);
    }
}

bool BuilderDialog::openProjectFile(const QString& path) {
    const QString title = tr("Could not open the font project");
    // A value the file stores that matches nothing on offer keeps the current choice.
    Result<OpenedProject> opened = openProject(localPath(path), renderer_.faceNames(), project_);
    if (!opened) {
        prompts_.showError(this, title, sentence(opened.message()));
        return false;
    }
    const AtlasSize size = opened->project.textureSize;
    if (!AtlasSize::isValidSide(size.width) || !AtlasSize::isValidSide(size.height)) {
        prompts_.showError(this, title,
                           tr("%1 asks for a %2 x %3 texture; each side must be 1 to %4 pixels.")
                               .arg(QFileInfo(path).fileName())
                               .arg(size.width)
                               .arg(size.height)
                               .arg(AtlasSize::kMaxSide));
        return false;
    }

    // Another file is another piece of work: what was done before cannot be taken back into it.
    history_->clear();
    restoreProject(opened->project);
    showLoadMessage(path, opened->warnings);
    markSaved();
    return true;
}

void BuilderDialog::showLoadMessage(const QString& path, const std::vector<std::string>& warnings) {
    if (warnings.empty()) {
        clearLoadMessage();
        return;
    }
    QStringList lines;
    lines.append(tr("%1 asks for values that are not on offer here:")
                     .arg(QFileInfo(path).fileName().toHtmlEscaped()));
    for (const std::string& warning : warnings) {
        lines.append(QStringLiteral("&bull; ") + sentence(warning).toHtmlEscaped());
    }
    ui_->loadMessageLabel->setTextFormat(Qt::RichText);
    ui_->loadMessageLabel->setText(lines.join(QStringLiteral("<br>")));
    ui_->loadMessageLabel->show();
}

void BuilderDialog::clearLoadMessage() {
    ui_->loadMessageLabel->clear();
    ui_->loadMessageLabel->hide();
}

void BuilderDialog::fileExport() {
    const std::vector<const Exporter*>& exporters = registeredExporters();
    QList<ExportFormat> formats;
    for (const Exporter* exporter : exporters) {
        QString extension = QString::fromStdString(exporter->fileExtension());
        if (extension.startsWith(QLatin1Char('.'))) {
            extension.remove(0, 1);
        }
        formats.append({QString::fromStdString(exporter->displayName()), extension});
    }
    if (formats.isEmpty()) {
        return;
    }
    const std::optional<ExportChoice> choice = prompts_.askExportPath(this, formats);
    if (!choice) {
        return;
    }
    const qsizetype format = std::clamp<qsizetype>(choice->format, 0, formats.size() - 1);
    const Exporter& exporter = *exporters[static_cast<std::size_t>(format)];
    const ExportReport report = exporter.write(localPath(choice->path), project_, *result_);
    if (!report.ok()) {
        QStringList messages;
        for (const std::string& failure : report.failures) {
            messages.append(sentence(failure));
        }
        prompts_.showError(this, tr("Could not export the font"), messages.join(QLatin1Char('\n')));
    }
}

bool BuilderDialog::confirmDiscardChanges() {
    if (!hasUnsavedChanges()) {
        return true;
    }
    switch (prompts_.askSaveChanges(this)) {
        case FilePrompts::UnsavedChanges::Save:
            return fileSave();
        case FilePrompts::UnsavedChanges::Discard:
            return true;
        case FilePrompts::UnsavedChanges::Cancel:
            break;
    }
    return false;
}

std::vector<std::uint8_t> BuilderDialog::projectBytes() const {
    return encodeProjectFile(projectFileFor(project_));
}

bool BuilderDialog::hasUnsavedChanges() const {
    return projectBytes() != savedProject_;
}

void BuilderDialog::markSaved() {
    savedProject_ = projectBytes();
}

bool BuilderDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->italicLabel && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        ui_->italicCheck->isEnabled()) {
        ui_->italicCheck->click();
        return true;
    }
    // A spin would take Undo and Redo for the text in its box; they belong to the project.
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QSpinBox*>(watched) != nullptr) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QAction* action : {ui_->actionUndo, ui_->actionRedo}) {
            if (action->shortcuts().contains(pressed)) {
                event->ignore();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void BuilderDialog::closeEvent(QCloseEvent* event) {
    if (confirmDiscardChanges()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void BuilderDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (droppedProject(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void BuilderDialog::dropEvent(QDropEvent* event) {
    const std::optional<QString> path = droppedProject(event->mimeData());
    if (!path) {
        return;
    }
    event->acceptProposedAction();
    // Questions and messages come after the drop has finished, not inside it.
    QTimer::singleShot(0, this, [this, file = *path] { openDroppedProject(file); });
}

void BuilderDialog::openDroppedProject(const QString& path) {
    if (confirmDiscardChanges()) {
        openProjectFile(path);
    }
}

}  // namespace vemro
