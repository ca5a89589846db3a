#include "ui/project_change_command.h"

#include <utility>

namespace vemro {

namespace {

constexpr int kSpinEditId = 1;

std::uint64_t nextSerial() {
    static std::uint64_t serial = 0;
    return ++serial;
}

}  // namespace

ProjectChangeCommand::ProjectChangeCommand(const QString& text, ProjectSnapshot before,
                                           ProjectSnapshot after, Restore restore,
                                           std::optional<MergeKey> mergeKey,
                                           std::uint64_t continues)
    : QUndoCommand(text),
      before_(std::move(before)),
      after_(std::move(after)),
      restore_(std::move(restore)),
      mergeKey_(mergeKey),
      serial_(nextSerial()),
      continues_(continues) {}

void ProjectChangeCommand::undo() {
    restore_(before_.document());
}

void ProjectChangeCommand::redo() {
    if (!pushed_) {
        pushed_ = true;
        return;
    }
    restore_(after_.document());
}

int ProjectChangeCommand::id() const {
    return mergeKey_ ? kSpinEditId : -1;
}

bool ProjectChangeCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const ProjectChangeCommand*>(other);
    if (next->continues_ != serial_ || next->mergeKey_ != mergeKey_) {
        return false;
    }
    after_ = next->after_;
    setObsolete(after_ == before_);
    return true;
}

}  // namespace vemro
