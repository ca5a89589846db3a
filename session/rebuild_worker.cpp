#include "session/rebuild_worker.h"

#include <utility>

#include "engine/atlas/atlas_builder.h"

namespace vemro {

RebuildWorker::RebuildWorker(FontRenderer& renderer, std::function<void()> finished)
    : finished_(std::move(finished)), thread_([this, &renderer] { run(renderer); }) {}

RebuildWorker::~RebuildWorker() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.reset();
    }
    wake_.notify_all();
    thread_.join();
}

std::uint64_t RebuildWorker::request(Project project) {
    std::uint64_t generation = 0;
    {
        const std::lock_guard lock(mutex_);
        generation = ++lastGeneration_;
        waiting_ = std::move(project);
        waitingGeneration_ = generation;
        // The rebuild in progress is of an older project: nobody waits for it any more.
        if (control_ != nullptr) {
            control_->cancel();
        }
    }
    wake_.notify_one();
    return generation;
}

void RebuildWorker::cancel() {
    {
        const std::lock_guard lock(mutex_);
        if (control_ != nullptr) {
            control_->cancel();
        }
        waiting_.reset();
        cancelledThrough_ = lastGeneration_;
    }
    done_.notify_all();
}

std::optional<RebuildWorker::Running> RebuildWorker::running() const {
    const std::lock_guard lock(mutex_);
    if (control_ == nullptr) {
        return std::nullopt;
    }
    return Running{control_->progress(), std::chrono::steady_clock::now() - started_};
}

RebuildWorker::Finished RebuildWorker::waitFor(std::uint64_t generation,
                                               std::optional<std::chrono::milliseconds> timeout) {
    std::unique_lock lock(mutex_);
    const auto settled = [this, generation] {
        return latest_.generation >= generation ||
               (cancelledThrough_ >= generation && lastGeneration_ <= cancelledThrough_);
    };
    if (timeout) {
        if (!done_.wait_for(lock, *timeout, settled)) {
            return {};
        }
    } else {
        done_.wait(lock, settled);
    }
    return latest_.generation >= generation ? latest_ : Finished{};
}

bool RebuildWorker::isBusy() const {
    const std::lock_guard lock(mutex_);
    return running_ || waiting_.has_value();
}

RebuildWorker::Finished RebuildWorker::latest() const {
    const std::lock_guard lock(mutex_);
    return latest_;
}

void RebuildWorker::run(FontRenderer& renderer) {
    AtlasBuilder builder(renderer);
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || waiting_.has_value(); });
        if (stopping_) {
            return;
        }
        const Project project = std::move(*waiting_);
        const std::uint64_t generation = waitingGeneration_;
        waiting_.reset();
        RebuildControl control;
        running_ = true;
        control_ = &control;
        started_ = std::chrono::steady_clock::now();
        lock.unlock();
        std::shared_ptr<const AtlasResult> result = builder.rebuild(project, &control);
        lock.lock();
        running_ = false;
        control_ = nullptr;
        if (result == nullptr) {
            // Cancelled: a newer request is waiting, or cancel() was called.
            continue;
        }
        latest_ = Finished{generation, std::move(result)};
        lock.unlock();
        done_.notify_all();
        finished_();
        lock.lock();
    }
}

}  // namespace vemro
