#include "ui/project_snapshot.h"

#include <algorithm>

namespace vemro {

namespace {

bool sameGlyphs(const GlyphList& list, const std::vector<Glyph>& glyphs) {
    return list.size() == glyphs.size() && std::equal(list.begin(), list.end(), glyphs.begin());
}

}  // namespace

ProjectSnapshot::ProjectSnapshot(const Project& project, const ProjectSnapshot* like) {
    // Every field of the project but its glyphs, which are not copied into a list of their own.
    settings_.textureSize = project.textureSize;
    settings_.fontBorders = project.fontBorders;
    settings_.font = project.font;
    settings_.packing = project.packing;
    settings_.exportSettings = project.exportSettings;
    settings_.sampleText = project.sampleText;
    settings_.effects = project.effects;
    if (like != nullptr && sameGlyphs(project.glyphs, *like->glyphs_)) {
        glyphs_ = like->glyphs_;
    } else {
        glyphs_ = std::make_shared<const std::vector<Glyph>>(project.glyphs.begin(),
                                                             project.glyphs.end());
    }
}

Project ProjectSnapshot::project() const {
    Project project = settings_;
    for (const Glyph& glyph : *glyphs_) {
        project.glyphs.append(glyph);
    }
    return project;
}

bool operator==(const ProjectSnapshot& left, const ProjectSnapshot& right) {
    return left.settings_ == right.settings_ &&
           (left.glyphs_ == right.glyphs_ || *left.glyphs_ == *right.glyphs_);
}

}  // namespace vemro
