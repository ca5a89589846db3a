#pragma once

#include <cstdint>

namespace vemro {

// How glyph cells are laid out in the texture.
enum class PackerKind : std::uint8_t {
    Rows = 0,   // left to right in rows, in list order
    Tight = 1,  // by height on a skyline
};

// The packing settings of a project.
struct PackingSettings {
    static constexpr std::int32_t kMinSpacing = 0;
    static constexpr std::int32_t kMaxSpacing = 16;

    PackerKind packer = PackerKind::Rows;
    // Empty pixels between neighbouring cells (not around the texture's edges).
    std::int32_t spacing = 1;
    // Use the smallest power-of-two texture, no larger than the project's texture size, that
    // holds every glyph on one page.
    bool fitSize = false;
    // Glyphs that do not fit start another page of the same size; otherwise they are placed
    // past the texture and counted as outside it.
    bool multiplePages = false;
    // Each cell holds only the rows of its glyph's ink (with the borders and the effects'
    // padding) instead of the whole line, and says where they lie in the line (a y offset of its
    // own). Only for descriptors that carry such offsets.
    bool trimToInk = false;

    friend bool operator==(const PackingSettings&, const PackingSettings&) = default;
};

}  // namespace vemro
