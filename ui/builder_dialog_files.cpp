// The main window's file commands: New, Open, Save, Export with the questions they ask, the
// unsaved-changes question, the message about values a file asks for, and dropped files.

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
#include <algorithm>

#include "session/export_run.h"
#include "session/session_text.h"
#include "ui/builder_dialog.h"
#include "ui/file_prompts.h"
#include "ui/list_controls.h"
#include "ui/recent_files.h"
#include "ui_builder_dialog.h"

namespace vemro {

namespace {

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString shownPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::optional<QString> droppedProject(const QMimeData* mime) {
    if (mime == nullptr || !mime->hasUrls() || mime->urls().size() != 1 ||
        !mime->urls().front().isLocalFile()) {
        return std::nullopt;
    }
    QString path = mime->urls().front().toLocalFile();
    if (!path.endsWith(QStringLiteral(".fnt"), Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    return path;
}

}  // namespace

QString BuilderDialog::startFolder() const {
    const QString path = projectPath();
    return path.isEmpty() ? recent_->lastFolder() : QFileInfo(path).absolutePath();
}

void BuilderDialog::fileNew() {
    if (!confirmDiscardChanges()) {
        return;
    }
    lists_->clearCharacterSelection();
    session_->newProject();
    showLoadMessage({}, {});
    refresh();
}

bool BuilderDialog::fileSave() {
    return projectPath().isEmpty() ? fileSaveAs() : saveTo(projectPath());
}

bool BuilderDialog::fileSaveAs() {
    const QString proposed = projectPath().isEmpty() ? recent_->lastFolder() : projectPath();
    const std::optional<QString> path = prompts_.askSaveProjectPath(this, proposed);
    return path && saveTo(*path);
}

bool BuilderDialog::saveTo(const QString& path) {
    if (!succeeded(session_->save(localPath(path)), tr("Could not save the font project"))) {
        return false;
    }
    recent_->add(projectPath());
    refresh();
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
    const Result<std::vector<std::string>> opened = session_->open(localPath(path));
    if (!succeeded(opened ? Status::success() : Status::failure(opened.message()),
                   tr("Could not open the font project"))) {
        return false;
    }
    // Nothing chosen in the work before stays selected.
    lists_->clearCharacterSelection();
    showLoadMessage(path, opened.value());
    recent_->add(projectPath());
    refresh();
    return true;
}

void BuilderDialog::showLoadMessage(const QString& path, const std::vector<std::string>& warnings) {
    QLabel* label = ui_->loadMessageLabel;
    if (warnings.empty()) {
        label->clear();
        label->hide();
        return;
    }
    QStringList lines;
    lines.append(tr("%1 asks for values that are not on offer here:")
                     .arg(QFileInfo(path).fileName().toHtmlEscaped()));
    for (const std::string& warning : warnings) {
        lines.append(QStringLiteral("&bull; ") +
                     QString::fromStdString(sentence(warning)).toHtmlEscaped());
    }
    label->setTextFormat(Qt::RichText);
    label->setText(lines.join(QStringLiteral("<br>")));
    label->show();
}

void BuilderDialog::fileExport() {
    waitForResult();
    ExportRun run(*session_);
    const QString title = tr("Export Font");
    if (run.offers().empty()) {
        return;
    }
    if (const std::optional<std::string> cut = run.cutQuestion();
        cut && !prompts_.confirm(this, title, QString::fromStdString(*cut), tr("Export"))) {
        return;
    }
    QList<ExportFormat> formats;
    for (const ExportOffer& offer : run.offers()) {
        formats.append(
            {QString::fromStdString(offer.caption), QString::fromStdString(offer.extension)});
    }
    const std::optional<ExportChoice> choice = prompts_.askExportPath(
        this, formats, static_cast<qsizetype>(run.storedOffer()),
        shownPath(run.proposedPath(localPath(startFolder()))),
        [&run](const QString& path, qsizetype format) {
            return shownPath(run.nameFor(localPath(path), static_cast<std::size_t>(format)));
        });
    if (!choice) {
        return;
    }
    recent_->rememberFolderOf(choice->path);
    const QString failed = tr("Could not export the font");
    if (!succeeded(run.choose(localPath(choice->path),
                              static_cast<std::size_t>(std::max<qsizetype>(choice->format, 0))),
                   failed)) {
        return;
    }
    if (const std::optional<std::string> replace = run.replaceQuestion();
        replace &&
        !prompts_.confirm(this, title, QString::fromStdString(*replace), tr("Replace"))) {
        return;
    }
    succeeded(run.write(), failed);
    refresh();
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
    QTimer::singleShot(0, this, [this, file = *path] { fileOpenRecent(file); });
}

}  // namespace vemro
