#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vemro {

// The glyphs a font's legacy `kern` table names, first and second alike: only these glyphs can be
// kerned by the table. Both layouts are read: the OpenType one (version 0, 16-bit header fields)
// and Apple's (version 1.0, 32-bit ones). Format 0 subtables list their pairs, format 2 ones
// their glyphs in two class tables; a subtable of another format (Apple's state tables) could
// kern any glyph, and `anyGlyph` then says so. A table that is cut short counts up to where it
// ends.
struct KernTableGlyphs {
    std::vector<std::uint16_t> glyphs;  // unsorted, with repeats
    bool anyGlyph = false;
};

KernTableGlyphs kernTableGlyphs(const std::uint8_t* table, std::size_t size);

}  // namespace vemro
