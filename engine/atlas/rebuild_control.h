#pragma once

#include <atomic>
#include <cstddef>
#include <string>

namespace vemro {

// How whoever asked for a rebuild follows it and stops it, from any thread while the rebuild runs
// on another. The rebuild states how many characters it has to draw and counts them as they are
// drawn; it looks at the cancellation between characters, so that it stops within one
// character's work of it.
class RebuildControl {
public:
    struct Progress {
        std::size_t done = 0;
        std::size_t total = 0;
        // Whether the characters are drawn as distance fields.
        bool fields = false;
    };

    // Asks the rebuild to stop; it then gives no atlas.
    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

    Progress progress() const {
        return {done_.load(std::memory_order_relaxed), total_.load(std::memory_order_relaxed),
                fields_.load(std::memory_order_relaxed)};
    }

    // For the rebuild: the characters it has to draw, and one more of them drawn.
    void start(std::size_t total, bool fields) {
        fields_.store(fields, std::memory_order_relaxed);
        done_.store(0, std::memory_order_relaxed);
        total_.store(total, std::memory_order_relaxed);
    }
    void advance() { done_.fetch_add(1, std::memory_order_relaxed); }

private:
    std::atomic<bool> cancelled_{false};
    std::atomic<std::size_t> done_{0};
    std::atomic<std::size_t> total_{0};
    std::atomic<bool> fields_{false};
};

// The progress as a line for the user: "Distance fields: 12,400 of 44,810", or "Glyphs: ..." for
// coverage and colour.
std::string progressText(const RebuildControl::Progress& progress);

}  // namespace vemro
