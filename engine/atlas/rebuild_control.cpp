#include "engine/atlas/rebuild_control.h"

#include <algorithm>

namespace vemro {

namespace {

// "44,810".
std::string grouped(std::size_t number) {
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, 1, ',');
    }
    return digits;
}

}  // namespace

std::string progressText(const RebuildControl::Progress& progress) {
    return std::string(progress.fields ? "Distance fields: " : "Glyphs: ") +
           grouped(std::min(progress.done, progress.total)) + " of " + grouped(progress.total);
}

}  // namespace vemro
