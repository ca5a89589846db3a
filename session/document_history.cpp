#include "session/document_history.h"

#include <utility>

namespace vemro {

void DocumentHistory::record(const std::string& label, const Document& before,
                             const Document& after, std::optional<MergeKey> key) {
    DocumentSnapshot start(before, last_ ? &*last_ : nullptr);
    DocumentSnapshot end(after, &start);
    last_ = end;
    const std::uint64_t revision = ++lastRevision_;
    if (key && run_ == key) {
        // The run's step now ends here; back where it began, it is no step at all.
        Step& step = steps_[done_ - 1];
        step.after = std::move(end);
        step.afterRevision = revision;
        revision_ = revision;
        if (step.after == step.before) {
            revision_ = step.beforeRevision;
            steps_.pop_back();
            --done_;
            run_.reset();
        }
        return;
    }
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
    steps_.push_back(Step{label, std::move(start), std::move(end), revision_, revision});
    ++done_;
    revision_ = revision;
    run_ = key;
    if (steps_.size() > kLimit) {
        steps_.pop_front();
        --done_;
    }
}

std::string DocumentHistory::undoLabel() const {
    return canUndo() ? steps_[done_ - 1].label : std::string();
}

std::string DocumentHistory::redoLabel() const {
    return canRedo() ? steps_[done_].label : std::string();
}

Document DocumentHistory::undo() {
    run_.reset();
    const Step& step = steps_[--done_];
    revision_ = step.beforeRevision;
    return step.before.document();
}

Document DocumentHistory::redo() {
    run_.reset();
    const Step& step = steps_[done_++];
    revision_ = step.afterRevision;
    return step.after.document();
}

void DocumentHistory::clear() {
    steps_.clear();
    done_ = 0;
    run_.reset();
    last_.reset();
    revision_ = ++lastRevision_;
}

}  // namespace vemro
