#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/atlas/atlas_result.h"
#include "engine/core/result.h"
#include "files/project/document.h"

namespace vemro {

class EditingSession;
class Exporter;

// One format File > Export Font offers: its caption and the extension of the file the user
// picks for it, without the dot ("tga").
struct ExportOffer {
    std::string caption;
    std::string extension;
};

// File > Export Font of the session's current atlas, in the steps between which the window asks
// its questions: whether to cut characters that lie outside the texture, which path and format
// (the dialog starting at the document's stored format, never proposing a name an export may not
// write: "NAME-export.fnt" where "NAME.fnt" is the project), and whether to replace the files
// that exist. An export is refused, writing nothing, when a file it would write is the project's
// own or another project file. The format picked is stored in the document (one undo step) once
// every file is written; the session's note says what was written. A format that trims cells to
// the ink where the stored one does not (or the other way) is written from an atlas made for it.
class ExportRun {
public:
    // Waits for the atlas of the session's current project: the files hold it.
    explicit ExportRun(EditingSession& session);

    // "125 characters lie outside the 256 x 256 texture and will be cut: export anyway?", or
    // nothing when every character is inside.
    std::optional<std::string> cutQuestion() const;

    const std::vector<ExportOffer>& offers() const { return offers_; }
    // The offer of the document's stored format.
    std::size_t storedOffer() const { return stored_; }
    // The path the dialog starts at: the project's name with the format's extension in folder,
    // or folder alone for a project without a file.
    std::string proposedPath(const std::string& folder) const;
    // The name proposed for path once the user picks the offer: path itself, or
    // "NAME-export.ext" when an export there would write over a project.
    std::string nameFor(const std::string& path, std::size_t offer) const;

    // Takes the path and offer the user picked; refused, saying why, when a file it would write
    // is a project.
    Status choose(const std::string& path, std::size_t offer);
    // After choose: whether to replace the files that exist ("font.tga and font.tfd already
    // exist in /work. Replace them?", followed by the pages an earlier export left), or nothing
    // when none does.
    std::optional<std::string> replaceQuestion() const;
    // After choose: writes every file; names those that could not be written. Stores the format
    // and notes what was written.
    Status write();

private:
    EditingSession& session_;
    // The session's atlas, and the one the export writes: the same unless the format picked
    // trims cells where the document's format does not, or the other way.
    std::shared_ptr<const AtlasResult> shown_;
    std::shared_ptr<const AtlasResult> atlas_;
    Document document_;
    std::vector<const Exporter*> exporters_;
    std::vector<ExportOffer> offers_;
    std::size_t stored_ = 0;
    // What choose took: the path, the format, the files to write, the earlier export's pages.
    std::string path_;
    const Exporter* exporter_ = nullptr;
    ExportSettings settings_;
    std::vector<std::string> targets_;
    std::string leftovers_;
};

}  // namespace vemro
