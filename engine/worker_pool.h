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
// helper threads that the pool starts on its first run and keeps, waiting, until it goes.
class WorkerPool {
public:
    // threads: how many threads a run may use, the caller's included; 0 means one per core.
    explicit WorkerPool(int threads);
    ~WorkerPool();

    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // How many threads a run may use, at least 1.
    int threads() const { return threads_; }

    // Calls task(worker, index) once for each index in [0, count) and returns when every call
    // has returned. Each of the first `workers` threads (at most threads()) takes the next index
    // whenever it is free, so which worker runs an index varies from run to run; worker 0 is the
    // calling thread, which never waits for a helper that has not started on the run yet (on a
    // busy machine it may do all the work itself). Tasks must not throw.
    void run(std::size_t count, int workers,
             const std::function<void(int worker, std::size_t index)>& task);

private:
    void helperLoop(int worker);
    void work(int worker);

    int threads_;
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
