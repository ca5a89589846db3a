#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace vemro {

// FreeType's distance-field renderer takes its spread from a property of the whole library, so
// glyphs of different spreads cannot be drawn at the same time. The gate lets any number of
// threads draw with one spread at once; a thread that wants another spread waits until they are
// done, and the property is set only while no thread draws.
class SpreadGate {
public:
    // Runs `draw` while the library's spread is `spread`, calling `setSpread` first when it is
    // not (with no other thread inside the gate).
    void run(std::int32_t spread, const std::function<void(std::int32_t)>& setSpread,
             const std::function<void()>& draw);

private:
    std::mutex mutex_;
    std::condition_variable idle_;
    std::int32_t spread_ = 0;  // the library's spread; 0 until first set
    int inside_ = 0;           // threads drawing with spread_
};

}  // namespace vemro
