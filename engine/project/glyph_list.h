#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <unordered_map>
#include <vector>

#include "engine/project/glyph.h"

namespace vemro {

// The characters of the atlas in insertion order. The order decides packing, the order of the
// character list in the window and the order of records in project and description files; it is
// never re-sorted. Looking a character up costs the same however long the list is.
class GlyphList {
public:
    GlyphList() = default;
    // The glyphs as they are, duplicates included.
    GlyphList(std::initializer_list<Glyph> glyphs);

    // Appends a glyph for code unless one with that code exists. Returns true when it appended.
    bool addCharacter(char32_t code);

    // Appends the glyph as it is, duplicates included (project files may repeat a code).
    void append(const Glyph& glyph);

    // Removes every glyph with the code; returns how many were removed.
    std::size_t removeCharacter(char32_t code);

    void clearGlyphs();

    // The glyph at index, or nullptr when index designates no glyph.
    Glyph* glyphAt(std::size_t index);
    const Glyph* glyphAt(std::size_t index) const;

    bool contains(char32_t code) const;
    std::size_t size() const { return glyphs_.size(); }
    bool empty() const { return glyphs_.empty(); }

    const Glyph& operator[](std::size_t index) const { return glyphs_[index]; }

    // Glyphs may be changed in place through glyphAt; the code of a glyph is changed only by
    // removing and adding, so the lookup stays right.
    std::vector<Glyph>::const_iterator begin() const { return glyphs_.begin(); }
    std::vector<Glyph>::const_iterator end() const { return glyphs_.end(); }

    friend bool operator==(const GlyphList& left, const GlyphList& right) {
        return left.glyphs_ == right.glyphs_;
    }

private:
    std::vector<Glyph> glyphs_;
    std::unordered_map<char32_t, std::uint32_t> counts_;  // glyphs per code
};

}  // namespace vemro
