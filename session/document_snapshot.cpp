#include "session/document_snapshot.h"

#include <algorithm>

namespace vemro {

namespace {

bool sameGlyphs(const GlyphList& list, const std::vector<Glyph>& glyphs) {
    return list.size() == glyphs.size() && std::equal(list.begin(), list.end(), glyphs.begin());
}

}  // namespace

DocumentSnapshot::DocumentSnapshot(const Document& document, const DocumentSnapshot* like) {
    // Every field of the document but its glyphs, which are not copied into a list of their own.
    const Project& project = document.project;
    Project& settings = settings_.project;
    settings.textureSize = project.textureSize;
    settings.fontBorders = project.fontBorders;
    settings.font = project.font;
    settings.packing = project.packing;
    settings.kerning = project.kerning;
    settings.effects = project.effects;
    settings_.exportSettings = document.exportSettings;
    settings_.sampleText = document.sampleText;
    if (like != nullptr && sameGlyphs(project.glyphs, *like->glyphs_)) {
        glyphs_ = like->glyphs_;
    } else {
        glyphs_ = std::make_shared<const std::vector<Glyph>>(project.glyphs.begin(),
                                                             project.glyphs.end());
    }
}

Document DocumentSnapshot::document() const {
    Document document = settings_;
    for (const Glyph& glyph : *glyphs_) {
        document.project.glyphs.append(glyph);
    }
    return document;
}

bool operator==(const DocumentSnapshot& left, const DocumentSnapshot& right) {
    return left.settings_ == right.settings_ &&
           (left.glyphs_ == right.glyphs_ || *left.glyphs_ == *right.glyphs_);
}

}  // namespace vemro
