#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vemro {

// Runs a task over a range of indices on several threads: the calling thread (worker 0) and
// helper threads that the pool starts when a run first needs them and keeps, waiting, until it
// goes.
class WorkerPool {
public:
    // The pool the whole program shares, so that its helpers are started once, not for every
    // builder; it goes when the program ends.
    static WorkerPool& shared();

    // One thread per core, at least 1.
    static int coreCount();

    WorkerPool() = default;
    ~WorkerPool();

    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Calls task(worker, index) once for each index in [0, count) and returns when every call
    // has returned. Up to `workers` threads take part, the calling thread as worker 0 and
    // helpers 1 .. workers - 1, each taking the next index whenever it is free, so which worker
    // runs an index varies from run to run. The caller never waits for a helper that has not
    // started on the run yet (on a busy machine it may do all the work itself), and while
    // another thread runs a task on the pool it does all the work itself. Tasks must not throw.
    void run(std::size_t count, int workers,
             const std::function<void(int worker, std::size_t index)>& task);

private:
    void helperLoop(int worker);
    void work(int worker);

    // Held by the thread whose run uses the helpers.
    std::mutex running_;
    std::vector<std::thread> helpers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    // The current run, guarded by mutex_ (read by helpers after they see a new generation).
    std::uint64_t generation_ = 0;
    bool stopping_ = false;
    // Whether helpers may still join the run; the caller closes it when it has finished.
    bool open_ = false;
    const std::function<void(int, std::size_t)>* task_ = nullptr;
    std::size_t count_ = 0;
    int workers_ = 0;
    // Helpers working on the run; the caller waits for them only.
    int helpersInside_ = 0;
    std::atomic<std::size_t> next_{0};
};

}  // namespace vemro
