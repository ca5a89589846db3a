#pragma once

#include <cstdint>

namespace vemro {

// Padding in atlas pixels applied to every glyph cell. The window edits each in 0..16.
struct FontBorders {
    static constexpr std::int32_t kMin = 0;
    static constexpr std::int32_t kMax = 16;

    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const FontBorders&, const FontBorders&) = default;
};

}  // namespace vemro
