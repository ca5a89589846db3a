#pragma once

#include <QUndoCommand>
#include <cstdint>
#include <functional>
#include <optional>

#include "files/project/document.h"
#include "ui/project_snapshot.h"

namespace vemro {

// One undoable change of the project, held as the document before and after it. Undo and redo
// hand the document to restore; the first redo, which QUndoStack runs when the command is
// pushed, does nothing, because the window made the change already.
//
// Edits of one spin may run together into one step: a command made with a merge key and the
// serial of the command it continues joins that command when pushed right after it, and a run
// that ends where it began leaves no step at all.
class ProjectChangeCommand : public QUndoCommand {
public:
    using Restore = std::function<void(const Document&)>;

    // Which control made an edit, and for a character border which character.
    struct MergeKey {
        int control = 0;
        int glyph = -1;

        friend bool operator==(const MergeKey&, const MergeKey&) = default;
    };

    ProjectChangeCommand(const QString& text, ProjectSnapshot before, ProjectSnapshot after,
                         Restore restore, std::optional<MergeKey> mergeKey = std::nullopt,
                         std::uint64_t continues = 0);

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

    // Unique among the commands of a run of the program; never 0.
    std::uint64_t serial() const { return serial_; }
    const std::optional<MergeKey>& mergeKey() const { return mergeKey_; }

private:
    ProjectSnapshot before_;
    ProjectSnapshot after_;
    Restore restore_;
    std::optional<MergeKey> mergeKey_;
    std::uint64_t serial_;
    std::uint64_t continues_;
    bool pushed_ = false;
};

}  // namespace vemro
