#include "ui/export_command.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <algorithm>
#include <vector>

#include "engine/atlas/atlas_result.h"
#include "files/export/exporter.h"
#include "files/export/leftover_pages.h"
#include "files/project/document.h"
#include "ui/file_prompts.h"
#include "ui/sentence.h"

namespace vemro {

namespace {

QString title() {
    return QObject::tr("Export Font");
}

// Whether to go on although characters lie outside the texture.
bool confirmCut(QWidget* parent, FilePrompts& prompts, const AtlasResult& result) {
    const std::size_t outside = result.glyphsOutsideTexture;
    if (outside == 0) {
        return true;
    }
    const QString texture =
        QStringLiteral("%1 x %2").arg(result.textureSize.width).arg(result.textureSize.height);
    const QString question =
        outside == 1 ? QObject::tr(
                           "1 character lies outside the %1 texture and will be cut: export "
                           "anyway?")
                           .arg(texture)
                     : QObject::tr(
                           "%1 characters lie outside the %2 texture and will be cut: export "
                           "anyway?")
                           .arg(outside)
                           .arg(texture);
    return prompts.confirm(parent, title(), question, QObject::tr("Export"));
}

// Whether to replace the files among paths that exist already; true when none does. The question
// ends with `leftovers`, the sentence naming pages of an earlier export, when there is one.
bool confirmReplace(QWidget* parent, FilePrompts& prompts, const std::vector<std::string>& paths,
                    const QString& leftovers) {
    QStringList existing;
    QStringList folders;
    for (const std::string& path : paths) {
        const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(path)));
        if (file.exists()) {
            existing.append(file.absoluteFilePath());
            folders.append(file.absolutePath());
        }
    }
    if (existing.isEmpty()) {
        return true;
    }
    folders.removeDuplicates();
    // Names alone when they share a folder, which the question then names once.
    QStringList names;
    for (const QString& path : existing) {
        names.append(folders.size() == 1 ? QFileInfo(path).fileName()
                                         : QDir::toNativeSeparators(path));
    }
    QString question = existing.size() == 1 ? QObject::tr("%1 already exists").arg(names.front())
                                            : QObject::tr("%1 already exist").arg(joinNames(names));
    if (folders.size() == 1) {
        question += QObject::tr(" in %1").arg(QDir::toNativeSeparators(folders.front()));
    }
    question +=
        existing.size() == 1 ? QObject::tr(". Replace it?") : QObject::tr(". Replace them?");
    if (!leftovers.isEmpty()) {
        question += QStringLiteral("\n\n") + leftovers;
    }
    return prompts.confirm(parent, title(), question, QObject::tr("Replace"));
}

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The name an export proposes for path: path itself, or "NAME-export" with the format's
// extension when an export to path would write over the project's own file or another project
// (a BMFont descriptor and the project file both end in ".fnt").
QString proposedPath(const QString& path, const Exporter& exporter, const QString& extension,
                     const ExportSettings& settings, const AtlasResult& result,
                     const QString& projectPath) {
    if (!exportTargetProblem(exporter.outputFiles(localPath(path), settings, result),
                             localPath(projectPath))) {
        return path;
    }
    const QFileInfo file(path);
    return file.dir().filePath(file.completeBaseName() + QStringLiteral("-export.") + extension);
}

}  // namespace

QString joinNames(const QStringList& names) {
    if (names.size() <= 1) {
        return names.value(0);
    }
    return QObject::tr("%1 and %2")
        .arg(names.mid(0, names.size() - 1).join(QStringLiteral(", ")), names.back());
}

ExportOutcome runExport(QWidget* parent, FilePrompts& prompts, const Document& document,
                        const AtlasResult& result, const ExportPlace& place,
                        const std::function<void(DescriptorFormat)>& chooseFormat) {
    ExportOutcome outcome;
    const std::vector<const Exporter*>& exporters = registeredExporters();
    QList<ExportFormat> formats;
    qsizetype stored = 0;
    for (const Exporter* exporter : exporters) {
        QString extension = QString::fromStdString(exporter->fileExtension());
        if (extension.startsWith(QLatin1Char('.'))) {
            extension.remove(0, 1);
        }
        if (exporter == &exporterFor(document.exportSettings.format)) {
            stored = formats.size();
        }
        formats.append({QString::fromStdString(exporter->displayName()), extension});
    }
    if (formats.isEmpty() || !confirmCut(parent, prompts, result)) {
        return outcome;
    }
    // The dialog starts at the project's name with the format's extension in the folder, or the
    // folder alone for a project without a name.
    const auto nameCheck = [&](const QString& path, qsizetype format) {
        return proposedPath(path, *exporters[static_cast<std::size_t>(format)],
                            formats[format].extension, document.exportSettings, result,
                            place.projectPath);
    };
    const QString proposed = place.baseName.isEmpty()
                                 ? place.folder
                                 : nameCheck(QDir(place.folder)
                                                 .filePath(place.baseName + QLatin1Char('.') +
                                                           formats[stored].extension),
                                             stored);
    const std::optional<ExportChoice> choice =
        prompts.askExportPath(parent, formats, stored, proposed, nameCheck);
    if (!choice) {
        return outcome;
    }
    outcome.chosenPath = choice->path;
    const qsizetype format = std::clamp<qsizetype>(choice->format, 0, formats.size() - 1);
    const Exporter& exporter = *exporters[static_cast<std::size_t>(format)];
    // The export writes with the format picked, which becomes the project's once it succeeds.
    ExportSettings chosenSettings = document.exportSettings;
    chosenSettings.format = exporter.format();
    const std::string chosen = localPath(choice->path);
    const std::vector<std::string> targets = exporter.outputFiles(chosen, chosenSettings, result);
    const std::string projectPath = localPath(place.projectPath);
    // Refused before any question about replacing: no file of this export may be a project.
    if (const std::optional<std::string> problem = exportTargetProblem(targets, projectPath)) {
        prompts.showError(parent, QObject::tr("Could not export the font"), sentence(*problem));
        return outcome;
    }
    // Pages of an earlier export with more pages stay; the user hears of them.
    const std::string leftovers =
        leftoverPagesMessage(leftoverPages(chosen, chosenSettings, targets));
    if (!leftovers.empty()) {
        // Not sentence(): it starts with a file name, whose case stays.
        outcome.leftovers = QString::fromStdString(leftovers) + QLatin1Char('.');
    }
    if (!confirmReplace(parent, prompts, targets, outcome.leftovers)) {
        return outcome;
    }
    const ExportReport report =
        exporter.write(chosen, document.project, chosenSettings, result, projectPath);
    for (const std::string& path : report.written) {
        outcome.written.append(
            QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName());
    }
    if (report.ok()) {
        chooseFormat(exporter.format());
    }
    if (!report.ok()) {
        QStringList messages;
        for (const std::string& failure : report.failures) {
            messages.append(sentence(failure));
        }
        prompts.showError(parent, QObject::tr("Could not export the font"),
                          messages.join(QLatin1Char('\n')));
    }
    return outcome;
}

}  // namespace vemro
