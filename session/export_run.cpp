#include "session/export_run.h"

#include <algorithm>
#include <filesystem>

#include "engine/atlas/atlas_builder.h"
#include "files/export/exporter.h"
#include "files/export/leftover_pages.h"
#include "session/editing_session.h"
#include "session/session_text.h"

namespace vemro {

namespace {

namespace fs = std::filesystem;

std::string absolutePath(const std::string& path) {
    return fs::absolute(path).lexically_normal().string();
}

}  // namespace

ExportRun::ExportRun(EditingSession& session)
    : session_(session),
      shown_(session.waitForResult()),
      atlas_(shown_),
      document_(session.document()),
      exporters_(registeredExporters()) {
    for (const Exporter* exporter : exporters_) {
        std::string extension = exporter->fileExtension();
        if (!extension.empty() && extension.front() == '.') {
            extension.erase(0, 1);
        }
        if (exporter == &exporterFor(document_.exportSettings.format)) {
            stored_ = offers_.size();
        }
        offers_.push_back({exporter->displayName(), extension});
    }
}

std::optional<std::string> ExportRun::cutQuestion() const {
    const std::size_t outside = atlas_->glyphsOutsideTexture;
    if (outside == 0) {
        return std::nullopt;
    }
    const std::string texture = std::to_string(atlas_->textureSize.width) + " x " +
                                std::to_string(atlas_->textureSize.height) + " texture";
    return (outside == 1 ? "1 character lies" : std::to_string(outside) + " characters lie") +
           " outside the " + texture + " and will be cut: export anyway?";
}

std::string ExportRun::proposedPath(const std::string& folder) const {
    const std::string& project = session_.projectPath();
    if (project.empty() || offers_.empty()) {
        return folder;
    }
    const std::string name = fs::path(project).stem().string() + "." + offers_[stored_].extension;
    return nameFor((fs::path(folder) / name).string(), stored_);
}

std::string ExportRun::nameFor(const std::string& path, std::size_t offer) const {
    if (!exportTargetProblem(
            exporters_[offer]->outputFiles(path, document_.exportSettings, *atlas_),
            session_.projectPath())) {
        return path;
    }
    const fs::path file(path);
    return (file.parent_path() / (file.stem().string() + "-export." + offers_[offer].extension))
        .string();
}

Status ExportRun::choose(const std::string& path, std::size_t offer) {
    path_ = path;
    exporter_ = exporters_[std::min(offer, exporters_.size() - 1)];
    // The export writes with the format picked, which becomes the document's once it succeeds.
    // Whether cells are trimmed to the ink depends on the format: one that trims where the
    // document's does not (or the other way) is written from an atlas made for it.
    Document chosen = document_;
    chooseExportFormat(chosen, exporter_->format());
    settings_ = chosen.exportSettings;
    if (const Project project = atlasProjectOf(chosen); project == atlasProjectOf(document_)) {
        atlas_ = shown_;
    } else {
        AtlasBuilder builder(session_.renderer());
        atlas_ = builder.rebuild(project);
    }
    targets_ = exporter_->outputFiles(path, settings_, *atlas_);
    // Refused before any question about replacing: no file of this export may be a project.
    if (const std::optional<std::string> problem =
            exportTargetProblem(targets_, session_.projectPath())) {
        return Status::failure(sentence(*problem));
    }
    // Pages of an earlier export with more pages stay; the user hears of them. Not sentence():
    // the message starts with a file name, whose case stays.
    leftovers_ = leftoverPagesMessage(leftoverPages(path, settings_, targets_));
    if (!leftovers_.empty()) {
        leftovers_ += '.';
    }
    return Status::success();
}

std::optional<std::string> ExportRun::replaceQuestion() const {
    std::vector<std::string> existing;
    std::vector<std::string> folders;
    for (const std::string& target : targets_) {
        if (fs::exists(target)) {
            const fs::path file(absolutePath(target));
            existing.push_back(file.string());
            if (std::find(folders.begin(), folders.end(), file.parent_path().string()) ==
                folders.end()) {
                folders.push_back(file.parent_path().string());
            }
        }
    }
    if (existing.empty()) {
        return std::nullopt;
    }
    // Names alone when they share a folder, which the question then names once.
    if (folders.size() == 1) {
        for (std::string& path : existing) {
            path = fileNameOf(path);
        }
    }
    std::string question = existing.size() == 1 ? existing.front() + " already exists"
                                                : joinNames(existing) + " already exist";
    if (folders.size() == 1) {
        question += " in " + folders.front();
    }
    question += existing.size() == 1 ? ". Replace it?" : ". Replace them?";
    if (!leftovers_.empty()) {
        question += "\n\n" + leftovers_;
    }
    return question;
}

Status ExportRun::write() {
    const ExportReport report =
        exporter_->write(path_, document_.project, settings_, *atlas_, session_.projectPath());
    if (report.ok() && settings_.format != session_.document().exportSettings.format) {
        const DescriptorFormat format = settings_.format;
        session_.edit("Export format",
                      [format](Document& document) { chooseExportFormat(document, format); });
    }
    std::vector<std::string> written;
    for (const std::string& path : report.written) {
        written.push_back(fileNameOf(path));
    }
    if (!written.empty()) {
        session_.setNote("Exported " + joinNames(written) + "." +
                         (leftovers_.empty() ? "" : " " + leftovers_));
    }
    std::string failures;
    for (const std::string& failure : report.failures) {
        failures += (failures.empty() ? "" : "\n") + sentence(failure);
    }
    return report.ok() ? Status::success() : Status::failure(failures);
}

}  // namespace vemro
