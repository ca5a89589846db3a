#include "ui/builder_dialog.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <array>
#include <optional>

#include "engine/font_renderer.h"
#include "engine/windows1252.h"
#include "files/atlas_export.h"
#include "files/project_file.h"
#include "files/project_loader.h"
#include "ui/add_characters_dialog.h"
#include "ui/file_prompts.h"
#include "ui/preview_geometry.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

// Texture side for each radio button of the "Width" and "Height" groups, by button id.
constexpr std::array<std::int32_t, 4> kTextureSides = {64, 128, 256, 512};
constexpr int kDefaultSideIndex = 2;

constexpr int kZoomTickInterval = 50;
constexpr int kZoomPageStep = 50;

// The text of a "Character" entry: the character the code stands for in Windows-1252; code 0
// gives an empty text.
QString characterText(std::uint8_t code) {
    if (code == 0) {
        return {};
    }
    const char32_t codePoint = windows1252ToUnicode(code);
    return QString::fromUcs4(&codePoint, 1);
}

// The number attached to the selected entry, or fallback when nothing is selected.
std::int32_t selectedData(const QComboBox* combo, std::int32_t fallback) {
    bool ok = false;
    const int value = combo->currentData().toInt(&ok);
    return ok ? value : fallback;
}

// Selects the first entry carrying value; with none the selection stays.
void selectData(QComboBox* combo, std::int32_t value) {
    const int index = combo->findData(value);
    if (index >= 0) {
        combo->setCurrentIndex(index);
    }
}

// Checks the button whose caption is side; a side the group does not offer checks none.
void selectSide(QButtonGroup* group, std::int32_t side) {
    for (std::size_t i = 0; i < kTextureSides.size(); ++i) {
        if (kTextureSides[i] == side) {
            group->button(static_cast<int>(i))->setChecked(true);
            return;
        }
    }
    if (QAbstractButton* checked = group->checkedButton()) {
        group->setExclusive(false);
        checked->setChecked(false);
        group->setExclusive(true);
    }
}

void setUpSpin(QSpinBox* spin, int minimum, int maximum, int value) {
    spin->setRange(minimum, maximum);
    spin->setValue(value);
}

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A message from the file functions as a sentence: capital first letter, full stop.
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

}  // namespace

BuilderDialog::BuilderDialog(FontRenderer& renderer, FilePrompts& prompts, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::BuilderDialog>()),
      renderer_(renderer),
      prompts_(prompts),
      atlas_(renderer) {
    ui_->setupUi(this);

    widthButtons_ = new QButtonGroup(this);
    heightButtons_ = new QButtonGroup(this);
    const std::array<QAbstractButton*, 4> widths = {ui_->width64Radio, ui_->width128Radio,
                                                    ui_->width256Radio, ui_->width512Radio};
    const std::array<QAbstractButton*, 4> heights = {ui_->height64Radio, ui_->height128Radio,
                                                     ui_->height256Radio, ui_->height512Radio};
    for (int i = 0; i < 4; ++i) {
        widthButtons_->addButton(widths[i], i);
        heightButtons_->addButton(heights[i], i);
    }

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

    outsideLabel_ = new QLabel(this);
    outsideLabel_->setObjectName(QStringLiteral("outsideLabel"));
    statusBar()->addWidget(outsideLabel_, 1);
    statusBar()->setSizeGripEnabled(true);

    ui_->loadMessageLabel->setStyleSheet(
        QStringLiteral("QLabel { background: #fff5cc; color: #3d3000; border: 1px solid #d9b84a; "
                       "border-radius: 3px; padding: 4px; }"));
    ui_->loadMessageLabel->hide();

    setAcceptDrops(true);
    atlas_.setRebuildListener([this] { onAtlasRebuilt(); });

    connectRoutes();
    initialise();

    // Start at the size the layout asks for (a 450 pixel wide view), not at the share of the
    // screen Qt gives a window by default; only a screen too small for it makes it smaller.
    QSize startSize = sizeHint();
    if (const QScreen* display = screen()) {
        startSize = startSize.boundedTo(display->availableGeometry().size());
    }
    resize(startSize);
}

BuilderDialog::~BuilderDialog() {
    atlas_.setRebuildListener({});
}

void BuilderDialog::connectRoutes() {
    // Texture size: every click, also on the button that is already checked, rebuilds.
    connect(widthButtons_, &QButtonGroup::idClicked, this, [this] { applyTextureSize(); });
    connect(heightButtons_, &QButtonGroup::idClicked, this, [this] { applyTextureSize(); });

    // Font: combo boxes on the user's choice only, never on a selection set from code.
    for (QComboBox* combo :
         {ui_->nameCombo, ui_->qualityCombo, ui_->factorCombo, ui_->weightCombo}) {
        connect(combo, &QComboBox::activated, this, [this] { applyFontSettings(); });
    }
    connect(ui_->italicCheck, &QCheckBox::clicked, this, [this] { applyFontSettings(); });
    // Spins: every change of the text, typed or set from code (then nested in the caller).
    for (QSpinBox* spin : {ui_->sizeSpin, ui_->borderLeftSpin, ui_->borderRightSpin,
                           ui_->borderTopSpin, ui_->borderBottomSpin}) {
        connect(spin, &QSpinBox::textChanged, this, [this] { applyFontSettings(); });
    }

    // Character.
    connect(ui_->characterCombo, &QComboBox::activated, this, [this] { showCharacterBorders(); });
    for (QSpinBox* spin : {ui_->charBorderLeftSpin, ui_->charBorderRightSpin}) {
        connect(spin, &QSpinBox::textChanged, this, [this] { applyCharacterBorders(); });
    }

    // Preview.
    connect(ui_->zoomSlider, &QSlider::valueChanged, this, [this] { applyZoom(); });
    connect(ui_->showRectanglesCheck, &QCheckBox::clicked, this, [this] { applyShowRectangles(); });

    // Menu commands.
    connect(ui_->actionNew, &QAction::triggered, this, [this] { newAtlas(); });
    connect(ui_->actionOpen, &QAction::triggered, this, [this] { openProject(); });
    connect(ui_->actionSave, &QAction::triggered, this, [this] { saveProject(); });
    connect(ui_->actionExportFont, &QAction::triggered, this, [this] { exportFont(); });
    connect(ui_->actionExit, &QAction::triggered, this, &QWidget::close);
    connect(ui_->actionAddCharacters, &QAction::triggered, this, [this] { addCharacters(); });
    connect(ui_->actionAddTorvynCharset, &QAction::triggered, this, [this] { addFullCharset(); });
}

void BuilderDialog::initialise() {
    // Zoom slider: 100 to 1000 percent, a tick every 50.
    ui_->zoomSlider->setRange(preview_geometry::kMinZoom, preview_geometry::kMaxZoom);
    ui_->zoomSlider->setValue(preview_geometry::kMinZoom);
    ui_->zoomSlider->setTickInterval(kZoomTickInterval);
    ui_->zoomSlider->setSingleStep(1);
    ui_->zoomSlider->setPageStep(kZoomPageStep);

    // The preview takes the view's place and shows the atlas surface.
    ui_->preview->setScrollBars(ui_->horizontalScrollBar, ui_->verticalScrollBar);
    ui_->preview->setSource(&atlas_.atlasSurface(), &atlas_.glyphs());
    applyZoom();

    widthButtons_->button(kDefaultSideIndex)->setChecked(true);
    heightButtons_->button(kDefaultSideIndex)->setChecked(true);
    atlas_.setFontBorders(FontBorders{});

    // Faces in the renderer's sorted order; the first one is selected.
    QStringList faces;
    for (const std::string& face : renderer_.faceNames()) {
        faces.append(QString::fromStdString(face));
    }
    ui_->nameCombo->addItems(faces);
    ui_->nameCombo->setCurrentIndex(0);
    // The open list is wide enough for the longest name, however narrow the box.
    ui_->nameCombo->view()->setMinimumWidth(ui_->nameCombo->view()->sizeHintForColumn(0) + 24);

    ui_->factorCombo->addItem(QStringLiteral("(none)"), 1);
    ui_->factorCombo->addItem(QStringLiteral("2x2"), 2);
    ui_->factorCombo->addItem(QStringLiteral("3x3"), 3);
    ui_->factorCombo->addItem(QStringLiteral("4x4"), 4);
    ui_->factorCombo->setCurrentIndex(0);

    ui_->qualityCombo->addItem(QStringLiteral("Antialiased"), FontSettings::kQualityAntialiased);
    ui_->qualityCombo->addItem(QStringLiteral("non-Antialiased"),
                               FontSettings::kQualityNonAntialiased);
    ui_->qualityCombo->setCurrentIndex(0);

    ui_->weightCombo->addItem(QStringLiteral("Normal"), FontSettings::kWeightNormal);
    ui_->weightCombo->addItem(QStringLiteral("Medium"), FontSettings::kWeightMedium);
    ui_->weightCombo->addItem(QStringLiteral("Bold"), FontSettings::kWeightBold);
    ui_->weightCombo->setCurrentIndex(0);

    // The spins report their new text at once; the handlers recreate the font or find no
    // character selected, and do not rebuild yet.
    setUpSpin(ui_->sizeSpin, FontSettings::kMinSize, FontSettings::kMaxSize, 11);
    setUpSpin(ui_->borderLeftSpin, FontBorders::kMin, FontBorders::kMax, 0);
    setUpSpin(ui_->borderRightSpin, FontBorders::kMin, FontBorders::kMax, 0);
    setUpSpin(ui_->borderBottomSpin, FontBorders::kMin, FontBorders::kMax, 0);
    setUpSpin(ui_->borderTopSpin, FontBorders::kMin, FontBorders::kMax, 0);
    setUpSpin(ui_->charBorderLeftSpin, FontBorders::kMin, FontBorders::kMax, 0);
    setUpSpin(ui_->charBorderRightSpin, FontBorders::kMin, FontBorders::kMax, 0);

    atlas_.recreateFont(fontSettings());
    // The one rebuild of start-up.
    applyTextureSize();
    initialised_ = true;

    ui_->zoomSlider->setFocus();
    markSaved();
}

FontSettings BuilderDialog::fontSettings() const {
    FontSettings settings;
    settings.faceName = ui_->nameCombo->currentText().toStdString();
    settings.size = ui_->sizeSpin->value();
    settings.weight = selectedData(ui_->weightCombo, FontSettings::kWeightNormal);
    settings.quality = selectedData(ui_->qualityCombo, FontSettings::kQualityAntialiased);
    settings.factor = selectedData(ui_->factorCombo, FontSettings::kMinFactor);
    settings.italic = ui_->italicCheck->isChecked();
    return settings;
}

std::int32_t BuilderDialog::factor() const {
    return selectedData(ui_->factorCombo, FontSettings::kMinFactor);
}

void BuilderDialog::applyTextureSize() {
    AtlasSize size = atlas_.textureSize();
    const int widthIndex = widthButtons_->checkedId();
    const int heightIndex = heightButtons_->checkedId();
    if (widthIndex >= 0 && widthIndex < static_cast<int>(kTextureSides.size())) {
        size.width = kTextureSides[static_cast<std::size_t>(widthIndex)];
    }
    if (heightIndex >= 0 && heightIndex < static_cast<int>(kTextureSides.size())) {
        size.height = kTextureSides[static_cast<std::size_t>(heightIndex)];
    }
    atlas_.setTextureSize(size);
    rebuild();
}

void BuilderDialog::applyFontSettings() {
    atlas_.setFontBorders(FontBorders{.left = ui_->borderLeftSpin->value(),
                                      .top = ui_->borderTopSpin->value(),
                                      .right = ui_->borderRightSpin->value(),
                                      .bottom = ui_->borderBottomSpin->value()});
    atlas_.recreateFont(fontSettings());
    if (initialised_) {
        rebuild();
    }
}

void BuilderDialog::applyCharacterBorders() {
    const int index = ui_->characterCombo->currentIndex();
    if (index < 0) {
        return;
    }
    if (!atlas_.setCharacterBorders(static_cast<std::size_t>(index),
                                    ui_->charBorderLeftSpin->value(),
                                    ui_->charBorderRightSpin->value())) {
        return;
    }
    if (initialised_) {
        rebuild();
    }
}

void BuilderDialog::showCharacterBorders() {
    const int index = ui_->characterCombo->currentIndex();
    if (index < 0) {
        return;
    }
    const Glyph* glyph = atlas_.glyphs().glyphAt(static_cast<std::size_t>(index));
    if (glyph == nullptr) {
        return;
    }
    QSpinBox* left = ui_->charBorderLeftSpin;
    QSpinBox* right = ui_->charBorderRightSpin;
    const QString leftBefore = left->text();
    const QString rightBefore = right->text();
    {
        // Both spins take the glyph's values before anything acts on them, so the glyph never
        // receives a border of the character shown before.
        const QSignalBlocker blockLeft(left);
        const QSignalBlocker blockRight(right);
        left->setValue(glyph->charBorderLeft);
        right->setValue(glyph->charBorderRight);
    }
    // A value outside the spin's range comes back as the spin shows it.
    if (left->text() != leftBefore || right->text() != rightBefore) {
        applyCharacterBorders();
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

void BuilderDialog::rebuild() {
    atlas_.rebuildAtlas(factor());
}

void BuilderDialog::onAtlasRebuilt() {
    ++rebuildCount_;
    refillCharacterList();
    updateOutsideStatus();
    ui_->preview->update();
}

void BuilderDialog::refillCharacterList() {
    QComboBox* combo = ui_->characterCombo;
    const QSignalBlocker blocker(combo);
    const int selected = combo->currentIndex();
    QStringList texts;
    for (const Glyph& glyph : atlas_.glyphs()) {
        texts.append(characterText(glyph.code));
    }
    combo->clear();
    combo->addItems(texts);
    combo->setCurrentIndex(selected < combo->count() ? selected : -1);
}

void BuilderDialog::updateOutsideStatus() {
    const std::size_t outside = atlas_.glyphsOutsideTexture();
    if (outside == 0) {
        outsideLabel_->clear();
        return;
    }
    const AtlasSize size = atlas_.textureSize();
    const QString texture = QStringLiteral("%1 x %2").arg(size.width).arg(size.height);
    outsideLabel_->setText(
        outside == 1 ? tr("1 glyph lies partly or wholly outside the %1 texture.").arg(texture)
                     : tr("%1 glyphs lie partly or wholly outside the %2 texture.")
                           .arg(outside)
                           .arg(texture));
}

void BuilderDialog::newAtlas() {
    if (!confirmDiscardChanges()) {
        return;
    }
    atlas_.newAtlas();
    rebuild();
    clearLoadMessage();
    markSaved();
}

void BuilderDialog::addFullCharset() {
    atlas_.addFullCharset();
    rebuild();
}

void BuilderDialog::addCharacters() {
    AddCharactersDialog dialog(this);
    dialog.exec();
    // The typed text counts however the dialog was closed.
    for (const char32_t codePoint : dialog.characters().toUcs4()) {
        if (const std::optional<std::uint8_t> code = unicodeToWindows1252(codePoint)) {
            atlas_.glyphs().addCharacter(*code);
        }
    }
    rebuild();
}

bool BuilderDialog::saveProject() {
    const std::optional<QString> path = prompts_.askSaveProjectPath(this);
    if (!path) {
        return false;
    }
    const ProjectFile project = makeProjectFile(atlas_, fontSettings());
    const Status status = writeProjectFile(localPath(*path), project);
    if (!status) {
        prompts_.showError(this, tr("Could not save the font project"), sentence(status.message()));
        return false;
    }
    savedProject_ = encodeProjectFile(project);
    return true;
}

void BuilderDialog::openProject() {
    if (!confirmDiscardChanges()) {
        return;
    }
    if (const std::optional<QString> path = prompts_.askOpenProjectPath(this)) {
        openProjectFile(*path);
    }
}

bool BuilderDialog::openProjectFile(const QString& path) {
    const QString title = tr("Could not open the font project");
    const Result<ProjectFile> file = readProjectFile(localPath(path));
    if (!file) {
        prompts_.showError(this, title, sentence(file.message()));
        return false;
    }
    LoadedProject loaded = loadProject(file.value(), renderer_.faceNames(), fontSettings());
    if (!AtlasSize::isValidSide(loaded.textureSize.width) ||
        !AtlasSize::isValidSide(loaded.textureSize.height)) {
        prompts_.showError(this, title,
                           tr("%1 asks for a %2 x %3 texture; each side must be 1 to %4 pixels.")
                               .arg(QFileInfo(path).fileName())
                               .arg(loaded.textureSize.width)
                               .arg(loaded.textureSize.height)
                               .arg(AtlasSize::kMaxSide));
        return false;
    }

    atlas_.setTextureSize(loaded.textureSize);
    atlas_.glyphs() = loaded.glyphs;
    showLoadedSettings(loaded);
    // Reads the borders back from their spins, recreates the font and rebuilds once.
    applyFontSettings();
    showLoadMessage(path, loaded.warnings);
    markSaved();
    return true;
}

void BuilderDialog::showLoadedSettings(const LoadedProject& loaded) {
    // The controls take the loaded values silently; the one rebuild follows when they all
    // show the project.
    const QSignalBlocker blockSize(ui_->sizeSpin);
    const QSignalBlocker blockLeft(ui_->borderLeftSpin);
    const QSignalBlocker blockTop(ui_->borderTopSpin);
    const QSignalBlocker blockRight(ui_->borderRightSpin);
    const QSignalBlocker blockBottom(ui_->borderBottomSpin);
    ui_->borderLeftSpin->setValue(loaded.fontBorders.left);
    ui_->borderTopSpin->setValue(loaded.fontBorders.top);
    ui_->borderRightSpin->setValue(loaded.fontBorders.right);
    ui_->borderBottomSpin->setValue(loaded.fontBorders.bottom);
    ui_->sizeSpin->setValue(loaded.settings.size);
    selectData(ui_->weightCombo, loaded.settings.weight);
    selectData(ui_->qualityCombo, loaded.settings.quality);
    selectData(ui_->factorCombo, loaded.settings.factor);
    const int face = ui_->nameCombo->findText(QString::fromStdString(loaded.settings.faceName),
                                              Qt::MatchFixedString);
    if (face >= 0) {
        ui_->nameCombo->setCurrentIndex(face);
    }
    ui_->italicCheck->setChecked(loaded.settings.italic);
    selectSide(widthButtons_, loaded.textureSize.width);
    selectSide(heightButtons_, loaded.textureSize.height);
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

void BuilderDialog::exportFont() {
    const std::optional<QString> path = prompts_.askExportPath(this);
    if (!path) {
        return;
    }
    const std::vector<std::string> failures = vemro::exportAtlas(localPath(*path), atlas_);
    if (!failures.empty()) {
        QStringList messages;
        for (const std::string& failure : failures) {
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
            return saveProject();
        case FilePrompts::UnsavedChanges::Discard:
            return true;
        case FilePrompts::UnsavedChanges::Cancel:
            break;
    }
    return false;
}

std::vector<std::uint8_t> BuilderDialog::projectBytes() const {
    return encodeProjectFile(makeProjectFile(atlas_, fontSettings()));
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
