#include "ui/qt_file_prompts.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <algorithm>

namespace vemro {

namespace {

const QStringList kProjectFilters = {QStringLiteral("Font (*.fnt)"), QStringLiteral("All (*.*)")};
const QStringList kFontFileFilters = {
    QStringLiteral("Fonts (*.ttf *.otf *.ttc *.otc *.woff *.woff2)"), QStringLiteral("All (*)")};
const QStringList kTextFilters = {QStringLiteral("Text (*.txt)"), QStringLiteral("All (*)")};

// A file dialog, its first filter selected, showing the proposed folder (and name). A save
// dialog asks before an existing file is replaced (QFileDialog's default) and appends the
// default suffix to a name that has none.
void setUpFileDialog(QFileDialog& dialog, QFileDialog::AcceptMode mode, const QStringList& filters,
                     const QString& defaultSuffix, const QString& proposed) {
    const QFileInfo start(proposed);
    if (!proposed.isEmpty() && start.isDir()) {
        dialog.setDirectory(start.absoluteFilePath());
    } else if (!proposed.isEmpty()) {
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
    }
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.front());
    dialog.setDefaultSuffix(defaultSuffix);
}

// The file the user accepted, or nothing.
std::optional<QString> runFileDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) {
        return std::nullopt;
    }
    return chosen.front();
}

std::optional<QString> runFileDialog(QWidget* parent, const QString& title,
                                     QFileDialog::AcceptMode mode, const QStringList& filters,
                                     const QString& defaultSuffix, const QString& proposed) {
    QFileDialog dialog(parent, title);
    setUpFileDialog(dialog, mode, filters, defaultSuffix, proposed);
    return runFileDialog(dialog);
}

}  // namespace

std::optional<QString> QtFilePrompts::askSaveProjectPath(QWidget* parent, const QString& proposed) {
    return runFileDialog(parent, QObject::tr("Save Font Project As"), QFileDialog::AcceptSave,
                         kProjectFilters, QStringLiteral("fnt"), proposed);
}

std::optional<QString> QtFilePrompts::askOpenProjectPath(QWidget* parent, const QString& proposed) {
    return runFileDialog(parent, QObject::tr("Open Font Project"), QFileDialog::AcceptOpen,
                         kProjectFilters, QStringLiteral("fnt"), proposed);
}

std::optional<ExportChoice> QtFilePrompts::askExportPath(QWidget* parent,
                                                         const QList<ExportFormat>& formats,
                                                         qsizetype selected,
                                                         const QString& proposed,
                                                         const ExportNameCheck& nameCheck) {
    QStringList filters;
    for (const ExportFormat& format : formats) {
        filters.append(QStringLiteral("%1 (*.%2)").arg(format.caption, format.extension));
    }
    const qsizetype first = std::clamp<qsizetype>(selected, 0, formats.size() - 1);
    QFileDialog dialog(parent, QObject::tr("Export Font"));
    setUpFileDialog(dialog, QFileDialog::AcceptSave, filters, formats[first].extension, proposed);
    dialog.selectNameFilter(filters[first]);
    // The window asks once about every file the export replaces, not only the one picked here.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // A name without an extension takes the one of the format chosen last. The dialog gives a
    // name with an extension the new format's; when that name may not be written (the
    // project's own file is a ".fnt" too), the one the window proposes instead takes its place.
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog, &filters, &formats, &nameCheck](const QString& filter) {
            const qsizetype index = filters.indexOf(filter);
            if (index < 0) {
                return;
            }
            dialog.setDefaultSuffix(formats[index].extension);
            const QString path = dialog.selectedFiles().value(0);
            if (path.isEmpty() || QFileInfo(path).isDir()) {
                return;
            }
            const QString checked = nameCheck(path, index);
            if (checked != path) {
                const QFileInfo file(checked);
                dialog.selectFile(file.absolutePath() == dialog.directory().absolutePath()
                                      ? file.fileName()
                                      : checked);
            }
        });
    const std::optional<QString> path = runFileDialog(dialog);
    if (!path) {
        return std::nullopt;
    }
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    return ExportChoice{*path, chosen >= 0 ? chosen : first};
}

std::optional<QString> QtFilePrompts::askFontFilePath(QWidget* parent, const QString& proposed) {
    return runFileDialog(parent, QObject::tr("Use Font File"), QFileDialog::AcceptOpen,
                         kFontFileFilters, QString(), proposed);
}

std::optional<qsizetype> QtFilePrompts::askFontFace(QWidget* parent, const QString& fileName,
                                                    const QStringList& faces) {
    bool ok = false;
    const QString face = QInputDialog::getItem(
        parent, QObject::tr("Use Font File"),
        QObject::tr("%1 holds %2 faces. Which one?").arg(fileName).arg(faces.size()), faces, 0,
        false, &ok);
    if (!ok) {
        return std::nullopt;
    }
    const qsizetype index = faces.indexOf(face);
    return index >= 0 ? std::optional<qsizetype>(index) : std::nullopt;
}

std::optional<QString> QtFilePrompts::askCharacterFilePath(QWidget* parent,
                                                           const QString& proposed) {
    return runFileDialog(parent, QObject::tr("Add Characters from File"), QFileDialog::AcceptOpen,
                         kTextFilters, QString(), proposed);
}

FilePrompts::UnsavedChanges QtFilePrompts::askSaveChanges(QWidget* parent) {
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(QObject::tr("Vemro Font builder"));
    box.setText(QObject::tr("The font project has been changed."));
    box.setInformativeText(QObject::tr("Do you want to save your changes?"));
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
        case QMessageBox::Save:
            return UnsavedChanges::Save;
        case QMessageBox::Discard:
            return UnsavedChanges::Discard;
        default:
            return UnsavedChanges::Cancel;
    }
}

std::optional<QColor> QtFilePrompts::askColour(QWidget* parent, const QString& title,
                                               const QColor& initial, bool withAlpha) {
    const QColor chosen = QColorDialog::getColor(
        initial, parent, title,
        withAlpha ? QColorDialog::ShowAlphaChannel : QColorDialog::ColorDialogOptions{});
    return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
}

bool QtFilePrompts::confirm(QWidget* parent, const QString& title, const QString& question,
                            const QString& acceptText) {
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(title);
    box.setText(question);
    QPushButton* accept = box.addButton(acceptText, QMessageBox::AcceptRole);
    // Enter keeps things as they are, as in the file dialog's own question about replacing.
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    return box.clickedButton() == accept;
}

void QtFilePrompts::showError(QWidget* parent, const QString& title, const QString& message) {
    // The headline goes into the box as well as its title bar, which not every desktop shows.
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(title);
    box.setText(title);
    box.setInformativeText(message);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

}  // namespace vemro
