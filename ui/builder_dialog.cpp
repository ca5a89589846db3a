#include "ui/builder_dialog.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>

#include "ui/elided_label.h"
#include "ui/field_binder.h"
#include "ui/file_prompts.h"
#include "ui/list_controls.h"
#include "ui/preview_view.h"
#include "ui/recent_files.h"
#include "ui/sample_text_validator.h"
#include "ui/shortcut_priority.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

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

}  // namespace

BuilderDialog::BuilderDialog(FontRenderer& renderer, FilePrompts& prompts, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::BuilderDialog>()), prompts_(prompts) {
    ui_->setupUi(this);

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
    setUpProgress();
    offerButton_ = new QPushButton(this);
    offerButton_->setObjectName(QStringLiteral("fallbackOfferButton"));
    offerButton_->hide();
    statusBar()->addPermanentWidget(offerButton_);
    connect(offerButton_, &QPushButton::clicked, this, [this] {
        session_->takeFallbackOffer();
        refresh();
    });
    connect(ui_->fallbacksButton, &QToolButton::clicked, this, [this] { editFallbacks(); });

    ui_->loadMessageLabel->setStyleSheet(
        QStringLiteral("QLabel { background: #fff5cc; color: #3d3000; border: 1px solid #d9b84a; "
                       "border-radius: 3px; padding: 4px; }"));
    ui_->loadMessageLabel->hide();
    ui_->actionRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    ui_->actionZoomIn->setShortcuts(
        {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    ui_->actionZoomOut->setShortcuts(QKeySequence::ZoomOut);
    recent_ = new RecentFiles(
        ui_->menuOpenRecent, [this](const QString& path) { fileOpenRecent(path); }, this);
    setUpView();

    // The session tells of every finished rebuild; the window looks at it in its own thread.
    session_ = std::make_unique<EditingSession>(renderer, [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (session_->takeFinishedRebuild()) {
                    refresh();
                }
            },
            Qt::QueuedConnection);
    });
    binder_ = std::make_unique<FieldBinder>(*this, *session_, prompts_, [this] { refresh(); });
    lists_ = std::make_unique<ListControls>(*ui_, this);
    lists_->setUpFaces(renderer.faceNames());
    ui_->sampleTextEdit->setValidator(new SampleTextValidator(ui_->sampleTextEdit));
    setAcceptDrops(true);
    connectLists();
    connectCommands();
    // Every command's shortcut works whichever control has the focus.
    ShortcutPriority::install(this);
    refresh();
    ui_->zoomSlider->setFocus();

    // Start at the size the layout asks for (a 450 pixel wide view), not at the share of the
    // screen Qt gives a window by default; only a screen too small for it makes it smaller.
    // The hints the layouts keep from before every control was set up are dropped first.
    for (QLayout* layout : findChildren<QLayout*>()) {
        layout->invalidate();
    }
    QSize startSize = sizeHint();
    if (const QScreen* display = screen()) {
        startSize = startSize.boundedTo(display->availableGeometry().size());
    }
    resize(startSize);
}

BuilderDialog::~BuilderDialog() {
    // First the session, so that no news of a rebuild comes in while the window is torn down.
    session_.reset();
    // The controls go on reporting while the widgets are torn down (a spin that loses the focus
    // ends its editing); nothing of the window may act on that any more.
    for (QWidget* control : findChildren<QWidget*>()) {
        control->removeEventFilter(this);
        control->disconnect(this);
    }
}

QString BuilderDialog::projectPath() const {
    return QFile::decodeName(QByteArray::fromStdString(session_->projectPath()));
}

void BuilderDialog::connectCommands() {
    const std::pair<QAction*, void (BuilderDialog::*)()> commands[] = {
        {ui_->actionNew, &BuilderDialog::fileNew},
        {ui_->actionOpen, &BuilderDialog::fileOpen},
        {ui_->actionExportFont, &BuilderDialog::fileExport},
        {ui_->actionUseFontFile, &BuilderDialog::useFontFile},
        {ui_->actionAddCharacters, &BuilderDialog::addCharacters},
        {ui_->actionAddCharacterSet, &BuilderDialog::addCharacterSet},
        {ui_->actionAddCharactersFromFile, &BuilderDialog::addCharactersFromFile},
        {ui_->actionRemoveCharacters, &BuilderDialog::removeCharacters},
    };
    for (const auto& [action, command] : commands) {
        connect(action, &QAction::triggered, this, [this, command] { (this->*command)(); });
    }
    connect(ui_->actionSave, &QAction::triggered, this, [this] { fileSave(); });
    connect(ui_->actionSaveAs, &QAction::triggered, this, [this] { fileSaveAs(); });
    connect(ui_->actionExit, &QAction::triggered, this, &QWidget::close);
    // The commands that need no question.
    const std::pair<QAction*, void (*)(BuilderDialog&)> direct[] = {
        {ui_->actionUndo, [](BuilderDialog& window) { window.session_->undo(); }},
        {ui_->actionRedo, [](BuilderDialog& window) { window.session_->redo(); }},
        {ui_->actionAddTorvynCharset,
         [](BuilderDialog& window) { window.session_->addFullCharset(); }},
        {ui_->actionRemoveCharacter,
         [](BuilderDialog& window) {
             const int index = window.ui_->characterCombo->currentIndex();
             if (index >= 0) {
                 window.session_->removeCharacter(static_cast<std::size_t>(index));
             }
         }},
        {ui_->actionRemoveMissingCharacters,
         [](BuilderDialog& window) {
             if (window.waitForResult() != nullptr) {
                 window.session_->removeMissingCharacters();
             }
         }},
    };
    for (const auto& [action, command] : direct) {
        connect(action, &QAction::triggered, this, [this, command] {
            command(*this);
            refresh();
        });
    }
}

void BuilderDialog::refresh() {
    const Document& document = session_->document();
    const Project& project = document.project;
    binder_->show(document);
    lists_->showFace(project.font);
    lists_->showCharacterList(project.glyphs);
    ui_->sizePixelsLabel->setText(
        QStringLiteral("= %1 px").arg(pixelHeightFor(project.font.size, 1)));
    ui_->effectsNoteLabel->setVisible(project.effects.distanceField != DistanceField::None);
    // Named as the menu names the commands.
    const QString menu = plainCaption(ui_->menuTools->title());
    ui_->preview->setHint(project.glyphs.empty()
                              ? tr("Add characters with %1 > %2 or %1 > %3")
                                    .arg(menu, plainCaption(ui_->actionAddCharacters->text()),
                                         plainCaption(ui_->actionAddTorvynCharset->text()))
                              : QString());
    if (session_->shownResult() != shown_) {
        showResult();
    }
    showSampleText();
    statusLabel_->setText(QString::fromStdString(session_->statusLine()));
    showProgress();
    const std::string& offer = session_->fallbackOffer();
    offerButton_->setVisible(!offer.empty() && !session_->isRebuilding());
    offerButton_->setText(tr("Take Them from %1").arg(QString::fromStdString(offer)));
    ui_->fallbacksButton->setText(project.fallbacks.empty()
                                      ? tr("Fallbacks...")
                                      : tr("Fallbacks (%1)...").arg(project.fallbacks.size()));
    ui_->actionUndo->setEnabled(session_->canUndo());
    ui_->actionRedo->setEnabled(session_->canRedo());
    // The title: the project's file name (or "Untitled") and a "*" while there are unsaved
    // changes.
    const QString path = projectPath();
    setWindowTitle(tr("%1[*] - Vemro Font builder")
                       .arg(path.isEmpty() ? tr("Untitled") : QFileInfo(path).fileName()));
    setWindowFilePath(path);
    setWindowModified(session_->hasUnsavedChanges());
}

bool BuilderDialog::succeeded(const Status& status, const QString& title) {
    if (!status) {
        prompts_.showError(this, title, QString::fromStdString(status.message()));
    }
    return status.ok();
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
