#include "ui/project_history.h"

#include <QAction>
#include <QUndoStack>
#include <utility>

namespace vemro {

namespace {

// Steps kept. Each holds the settings of two projects; their glyphs are shared with the
// neighbouring steps while they stay the same.
constexpr int kUndoLimit = 100;

}  // namespace

ProjectHistory::ProjectHistory(QAction* undo, QAction* redo, ProjectChangeCommand::Restore restore,
                               QObject* parent)
    : QObject(parent), stack_(new QUndoStack(this)), restore_(std::move(restore)) {
    stack_->setUndoLimit(kUndoLimit);
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(undo, &QAction::triggered, stack_, &QUndoStack::undo);
    connect(redo, &QAction::triggered, stack_, &QUndoStack::redo);
    connect(stack_, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(stack_, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
}

void ProjectHistory::record(const QString& text, const Document& before, const Document& after,
                            std::optional<MergeKey> key) {
    const std::uint64_t continues =
        key && openRun_ && openRun_->key == *key ? openRun_->command : 0;
    ProjectSnapshot start(before, last_ ? &*last_ : nullptr);
    ProjectSnapshot end(after, &start);
    last_ = end;
    auto* command = new ProjectChangeCommand(
        text, std::move(start), std::move(end),
        [this](const Document& document) {
            openRun_.reset();
            restore_(document);
        },
        key, continues);
    const std::uint64_t serial = command->serial();
    // Runs the command's first redo, which does nothing, and may merge the command into the
    // step it continues (deleting it) or drop that step when the run came back to its start.
    stack_->push(command);

    openRun_.reset();
    const int top = stack_->index() - 1;
    const auto* last =
        top >= 0 ? static_cast<const ProjectChangeCommand*>(stack_->command(top)) : nullptr;
    if (key && last != nullptr && last->mergeKey() == key &&
        (last->serial() == serial || last->serial() == continues)) {
        openRun_ = OpenRun{*key, last->serial()};
    }
}

void ProjectHistory::clear() {
    openRun_.reset();
    last_.reset();
    stack_->clear();
}

}  // namespace vemro
