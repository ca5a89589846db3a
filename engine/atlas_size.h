#pragma once

#include <cstdint>

namespace vemro {

// The texture's size in pixels. The window offers 64, 128, 256 and 512 for each side; project
// files may bring any side from 1 to kMaxSide.
struct AtlasSize {
    static constexpr std::int32_t kMaxSide = 512;

    std::int32_t width = 256;
    std::int32_t height = 256;

    static constexpr bool isValidSide(std::int32_t side) { return side >= 1 && side <= kMaxSide; }

    friend bool operator==(const AtlasSize&, const AtlasSize&) = default;
};

}  // namespace vemro
