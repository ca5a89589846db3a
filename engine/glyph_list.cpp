#include "engine/glyph_list.h"

#include <algorithm>

namespace vemro {

bool GlyphList::addCharacter(std::uint8_t code) {
    if (contains(code)) {
        return false;
    }
    Glyph glyph;
    glyph.code = code;
    glyphs_.push_back(glyph);
    return true;
}

void GlyphList::append(const Glyph& glyph) {
    glyphs_.push_back(glyph);
}

void GlyphList::clearGlyphs() {
    glyphs_.clear();
    glyphs_.shrink_to_fit();
}

Glyph* GlyphList::glyphAt(std::size_t index) {
    return index < glyphs_.size() ? &glyphs_[index] : nullptr;
}

const Glyph* GlyphList::glyphAt(std::size_t index) const {
    return index < glyphs_.size() ? &glyphs_[index] : nullptr;
}

bool GlyphList::contains(std::uint8_t code) const {
    return std::any_of(glyphs_.begin(), glyphs_.end(),
                       [code](const Glyph& glyph) { return glyph.code == code; });
}

}  // namespace vemro
