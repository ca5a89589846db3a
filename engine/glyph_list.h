#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/glyph.h"

namespace vemro {

// The characters of the atlas in insertion order. The order decides packing, the order of the
// character list in the window and the order of records in project and description files; it is
// never re-sorted.
class GlyphList {
public:
    // Appends a glyph for code unless one with that code exists. Returns true when it appended.
    bool addCharacter(std::uint8_t code);

    // Appends the glyph as it is, duplicates included (project files may repeat a code).
    void append(const Glyph& glyph);

    void clearGlyphs();

    // The glyph at index, or nullptr when index designates no glyph.
    Glyph* glyphAt(std::size_t index);
    const Glyph* glyphAt(std::size_t index) const;

    bool contains(std::uint8_t code) const;
    std::size_t size() const { return glyphs_.size(); }
    bool empty() const { return glyphs_.empty(); }

    Glyph& operator[](std::size_t index) { return glyphs_[index]; }
    const Glyph& operator[](std::size_t index) const { return glyphs_[index]; }

    std::vector<Glyph>::iterator begin() { return glyphs_.begin(); }
    std::vector<Glyph>::iterator end() { return glyphs_.end(); }
    std::vector<Glyph>::const_iterator begin() const { return glyphs_.begin(); }
    std::vector<Glyph>::const_iterator end() const { return glyphs_.end(); }

    friend bool operator==(const GlyphList&, const GlyphList&) = default;

private:
    std::vector<Glyph> glyphs_;
};

}  // namespace vemro
