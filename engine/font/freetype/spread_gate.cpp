#include "engine/font/freetype/spread_gate.h"

namespace vemro {

void SpreadGate::run(std::int32_t spread, const std::function<void(std::int32_t)>& setSpread,
                     const std::function<void()>& draw) {
    {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [&] { return inside_ == 0 || spread_ == spread; });
        if (spread_ != spread) {
            setSpread(spread);
            spread_ = spread;
        }
        ++inside_;
    }
    // Leaves the gate however draw ends.
    struct Leave {
        SpreadGate& gate;
        ~Leave() {
            const std::lock_guard lock(gate.mutex_);
            if (--gate.inside_ == 0) {
                gate.idle_.notify_all();
            }
        }
    } leave{*this};
    draw();
}

}  // namespace vemro
