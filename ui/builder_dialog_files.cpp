// The main window's file commands: the project's file and title, New, Open, Save, Export, the
// unsaved-changes question, and dropped files.

#include "ui/builder_dialog.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include "files/project/project_file.h"
#include "files/project/project_opener.h"
#include "ui/export_command.h"
#include "ui/file_prompts.h"
#include "ui/project_controls.h"
#include "ui/recent_files.h"
#include "ui/sentence.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
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

void BuilderDialog::updateTitle() {
    const QString name =
        projectPath_.isEmpty() ? tr("Untitled") : QFileInfo(projectPath_).fileName();
    setWindowTitle(tr("%1[*] - Vemro Font builder").arg(name));
    setWindowFilePath(projectPath_);
    setWindowModified(hasUnsavedChanges());
}

QString BuilderDialog::startFolder() const {
    return projectPath_.isEmpty() ? recent_->lastFolder() : QFileInfo(projectPath_).absolutePath();
}

void BuilderDialog::fileNew() {
    if (!confirmDiscardChanges()) {
        return;
    }
    controls_->clearCharacterSelection();
    editProject(tr("New"), [](Project& project) { project.glyphs.clearGlyphs(); });
    clearLoadMessage();
    projectPath_.clear();
    markSaved();
}

bool BuilderDialog::fileSave() {
    return projectPath_.isEmpty() ? fileSaveAs() : saveTo(projectPath_);
}

bool BuilderDialog::fileSaveAs() {
    const QString proposed = projectPath_.isEmpty() ? recent_->lastFolder() : projectPath_;
    const std::optional<QString> path = prompts_.askSaveProjectPath(this, proposed);
    return path && saveTo(*path);
}

bool BuilderDialog::saveTo(const QString& path) {
    const Status status = saveProject(localPath(path), document_);
    if (!status) {
        prompts_.showError(this, tr("Could not save the font project"), sentence(status.message()));
        return false;
    }
    projectPath_ = QFileInfo(path).absoluteFilePath();
    recent_->add(projectPath_);
    markSaved();
    return true;
}

void BuilderDialog::fileOpen() {
    if (!confirmDiscardChanges()) {
        return;
    }
    if (const std::optional<QString> path = prompts_.askOpenProjectPath(this, startFolder())) {
        openProjectFile(*path);
    }
}

void BuilderDialog::fileOpenRecent(const QString& path) {
    if (confirmDiscardChanges()) {
        openProjectFile(path);
    }
}

bool BuilderDialog::openProjectFile(const QString& path) {
    const QString title = tr("Could not open the font project");
    // A value the file stores that matches nothing on offer keeps the current choice.
    Result<OpenedProject> opened =
        openProject(localPath(path), renderer_.faceNames(), document_.project);
    if (!opened) {
        prompts_.showError(this, title, sentence(opened.message()));
        return false;
    }
    const AtlasSize size = opened->document.project.textureSize;
    if (!AtlasSize::isValidSide(size.width) || !AtlasSize::isValidSide(size.height)) {
        prompts_.showError(this, title,
                           tr("%1 asks for a %2 x %3 texture; each side must be 1 to %4 pixels.")
                               .arg(QFileInfo(path).fileName())
                               .arg(size.width)
                               .arg(size.height)
                               .arg(AtlasSize::kMaxSide));
        return false;
    }

    // Another file is another piece of work: what was done before cannot be taken back into it,
    // and nothing chosen in it stays selected.
    history_->clear();
    controls_->clearCharacterSelection();
    restoreDocument(opened->document);
    showLoadMessage(path, opened->warnings);
    projectPath_ = QFileInfo(path).absoluteFilePath();
    recent_->add(projectPath_);
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
    const ExportPlace place{startFolder(), QFileInfo(projectPath_).completeBaseName(),
                            projectPath_};
    // The files hold the atlas of the project as it is now; choosing the format keeps it.
    const std::shared_ptr<const AtlasResult> atlas = waitForResult();
    const ExportOutcome outcome =
        runExport(this, prompts_, document_, *atlas, place,
                  [this](DescriptorFormat format) { chooseExportFormat(format); });
    if (!outcome.chosenPath.isEmpty()) {
        recent_->rememberFolderOf(outcome.chosenPath);
    }
    if (!outcome.written.isEmpty()) {
        note_ = tr("Exported %1.").arg(joinNames(outcome.written));
        if (!outcome.leftovers.isEmpty()) {
            note_ += QLatin1Char(' ') + outcome.leftovers;
        }
        updateStatus();
    }
}

void BuilderDialog::chooseExportFormat(DescriptorFormat format) {
    if (format == document_.exportSettings.format) {
        return;
    }
    editDocument(tr("Export format"),
                 [format](Document& document) { document.exportSettings.format = format; });
    controls_->showExportSettings(document_.exportSettings);
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
    return encodeProjectFile(projectFileFor(document_));
}

bool BuilderDialog::hasUnsavedChanges() const {
    return projectBytes() != savedProject_;
}

void BuilderDialog::markSaved() {
    savedProject_ = projectBytes();
    updateTitle();
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
