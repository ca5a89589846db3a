#pragma once

#include <cstdint>

namespace vemro::field {

// The channels of a multi-channel field an edge counts for, as bits: red 1, green 2, blue 4.
// Every edge of a coloured shape has at least two channels, so that two edges of different
// colours that meet at a corner share exactly one.
enum class EdgeColour : std::uint8_t {
    black = 0,
    red = 1,
    green = 2,
    yellow = 3,
    blue = 4,
    magenta = 5,
    cyan = 6,
    white = 7,
};

constexpr bool hasChannel(EdgeColour colour, int channel) {
    return (static_cast<unsigned>(colour) >> channel & 1U) != 0;
}

}  // namespace vemro::field
