#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

#include "files/project/document.h"
#include "ui/project_change_command.h"

class QAction;
class QUndoStack;

namespace vemro {

// The changes made to the project's document, for Edit > Undo and Redo. The window makes each
// change itself and records it here; undoing or redoing hands the document as it was to restore.
// Consecutive edits with the same merge key are one step until the run is ended.
class ProjectHistory : public QObject {
    Q_OBJECT

public:
    using MergeKey = ProjectChangeCommand::MergeKey;

    // undo and redo are enabled while there is something to undo or redo, and trigger it.
    ProjectHistory(QAction* undo, QAction* redo, ProjectChangeCommand::Restore restore,
                   QObject* parent = nullptr);

    // Records the change from before to after (which differ). With a key, the change joins the
    // open run of edits with that key, and opens one when there is none.
    void record(const QString& text, const Document& before, const Document& after,
                std::optional<MergeKey> key = std::nullopt);

    // The next edit starts a step of its own.
    void endRun() { openRun_.reset(); }

    // Forgets every step.
    void clear();

private:
    struct OpenRun {
        MergeKey key;
        std::uint64_t command = 0;
    };

    QUndoStack* stack_;
    ProjectChangeCommand::Restore restore_;
    std::optional<OpenRun> openRun_;
    // The document after the last change recorded, whose glyphs the next change may share.
    std::optional<ProjectSnapshot> last_;
};

}  // namespace vemro
