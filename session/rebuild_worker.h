#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "engine/atlas/atlas_result.h"
#include "engine/project/project.h"

namespace vemro {

class FontRenderer;

// Rebuilds projects on a thread of its own, so that a long rebuild never holds up the window.
// Every request gets a generation number above all earlier ones. The thread rebuilds one
// request at a time; a request made while it is busy waits, and a newer request replaces the
// waiting one, so a burst of changes costs at most the rebuild in progress and the newest one.
// The atlas builder, and with it every font it makes, lives on that thread only.
class RebuildWorker {
public:
    struct Finished {
        std::uint64_t generation = 0;
        std::shared_ptr<const AtlasResult> result;
    };

    // finished is called on the worker's thread after every rebuild, with nothing locked; it
    // must only hand the news to the thread that wants it. The renderer must outlive the worker.
    RebuildWorker(FontRenderer& renderer, std::function<void()> finished);
    // Finishes the rebuild in progress and drops the waiting one.
    ~RebuildWorker();

    RebuildWorker(const RebuildWorker&) = delete;
    RebuildWorker& operator=(const RebuildWorker&) = delete;

    // Asks for the project's atlas; returns the request's generation.
    std::uint64_t request(Project project);

    // Whether a rebuild runs or waits to run.
    bool isBusy() const;

    // The newest result once it is of the generation or a later one. Waits at most timeout
    // (without one, until it is there); a null result when it is not there by then.
    Finished waitFor(std::uint64_t generation,
                     std::optional<std::chrono::milliseconds> timeout = std::nullopt);

    // The newest result and its generation (0 and null before the first).
    Finished latest() const;

private:
    void run(FontRenderer& renderer);

    std::function<void()> finished_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;  // a request came, or the worker is to stop
    std::condition_variable done_;  // a rebuild finished
    std::optional<Project> waiting_;
    std::uint64_t waitingGeneration_ = 0;
    std::uint64_t lastGeneration_ = 0;
    Finished latest_;
    bool running_ = false;
    bool stopping_ = false;
    std::thread thread_;  // last: it starts once everything above is made
};

}  // namespace vemro
