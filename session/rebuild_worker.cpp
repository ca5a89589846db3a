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
    }
    wake_.notify_one();
    return generation;
}

RebuildWorker::Finished RebuildWorker::waitFor(std::uint64_t generation,
                                               std::optional<std::chrono::milliseconds> timeout) {
    std::unique_lock lock(mutex_);
    const auto there = [this, generation] { return latest_.generation >= generation; };
    if (timeout) {
        if (!done_.wait_for(lock, *timeout, there)) {
            return {};
        }
    } else {
        done_.wait(lock, there);
    }
    return latest_;
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
        running_ = true;
        lock.unlock();
        std::shared_ptr<const AtlasResult> result = builder.rebuild(project);
        lock.lock();
        running_ = false;
        latest_ = Finished{generation, std::move(result)};
        lock.unlock();
        done_.notify_all();
        finished_();
        lock.lock();
    }
}

}  // namespace vemro
