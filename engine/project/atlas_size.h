#pragma once

#include <cstdint>

namespace vemro {

// The texture's size in pixels, the size of every page of an atlas. The window offers the powers
// of two from 64 to 4096 for each side; project files may bring any side from 1 to kMaxSide.
struct AtlasSize {
    static constexpr std::int32_t kMaxSide = 4096;

    std::int32_t width = 256;
    std::int32_t height = 256;

    static constexpr bool isValidSide(std::int32_t side) { return side >= 1 && side <= kMaxSide; }

    friend bool operator==(const AtlasSize&, const AtlasSize&) = default;
};

}  // namespace vemro
