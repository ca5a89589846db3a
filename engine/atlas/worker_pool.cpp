#include "engine/atlas/worker_pool.h"

#include <algorithm>

namespace vemro {

WorkerPool& WorkerPool::shared() {
    static WorkerPool pool;
    return pool;
}

int WorkerPool::coreCount() {
    return std::max(static_cast<int>(std::thread::hardware_concurrency()), 1);
}

WorkerPool::~WorkerPool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& helper : helpers_) {
        helper.join();
    }
}

void WorkerPool::run(std::size_t count, int workers,
                     const std::function<void(int worker, std::size_t index)>& task) {
    std::unique_lock running(running_, std::defer_lock);
    if (workers <= 1 || count < 2 || !running.try_lock()) {
        for (std::size_t index = 0; index < count; ++index) {
            task(0, index);
        }
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        while (static_cast<int>(helpers_.size()) < workers - 1) {
            const int worker = static_cast<int>(helpers_.size()) + 1;
            helpers_.emplace_back([this, worker] { helperLoop(worker); });
        }
        task_ = &task;
        count_ = count;
        workers_ = workers;
        next_.store(0, std::memory_order_relaxed);
        open_ = true;
        ++generation_;
    }
    wake_.notify_all();
    work(0);
    // Every index is taken; what is left is the helpers still busy with theirs.
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return helpersInside_ == 0; });
    open_ = false;
    task_ = nullptr;
}

void WorkerPool::helperLoop(int worker) {
    std::uint64_t seen = 0;
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
        if (stopping_) {
            return;
        }
        seen = generation_;
        if (!open_ || worker >= workers_) {
            continue;
        }
        ++helpersInside_;
        lock.unlock();
        work(worker);
        lock.lock();
        if (--helpersInside_ == 0) {
            done_.notify_all();
        }
    }
}

void WorkerPool::work(int worker) {
    // task_ and count_ do not change while any worker of the run is busy.
    const std::function<void(int, std::size_t)>& task = *task_;
    const std::size_t count = count_;
    for (;;) {
        const std::size_t index = next_.fetch_add(1, std::memory_order_relaxed);
        if (index >= count) {
            return;
        }
        task(worker, index);
    }
}

}  // namespace vemro
