#include "engine/project/glyph_list.h"

#include <algorithm>

namespace vemro {

GlyphList::GlyphList(std::initializer_list<Glyph> glyphs) {
    for (const Glyph& glyph : glyphs) {
        append(glyph);
    }
}

bool GlyphList::addCharacter(char32_t code) {
    if (contains(code)) {
        return false;
    }
    append(Glyph{code});
    return true;
}

void GlyphList::append(const Glyph& glyph) {
    glyphs_.push_back(glyph);
    ++counts_[glyph.code];
}

std::size_t GlyphList::removeCharacter(char32_t code) {
    if (counts_.erase(code) == 0) {
        return 0;
    }
    return std::erase_if(glyphs_, [code](const Glyph& glyph) { return glyph.code == code; });
}

void GlyphList::clearGlyphs() {
    glyphs_.clear();
    glyphs_.shrink_to_fit();
    counts_.clear();
}

Glyph* GlyphList::glyphAt(std::size_t index) {
    return index < glyphs_.size() ? &glyphs_[index] : nullptr;
}

const Glyph* GlyphList::glyphAt(std::size_t index) const {
    return index < glyphs_.size() ? &glyphs_[index] : nullptr;
}

bool GlyphList::contains(char32_t code) const {
    return counts_.contains(code);
}

}  // namespace vemro
