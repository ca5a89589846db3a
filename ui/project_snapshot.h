#pragma once

#include <memory>
#include <vector>

#include "engine/project/project.h"

namespace vemro {

// A project as the undo history keeps it: its settings, and its glyphs as a plain list that
// snapshots share while the glyphs stay the same. A hundred steps of setting changes to a
// project of thirty thousand characters thus hold one copy of its glyphs, not two hundred.
class ProjectSnapshot {
public:
    // Shares the glyphs of like when they are the project's.
    explicit ProjectSnapshot(const Project& project, const ProjectSnapshot* like = nullptr);

    Project project() const;

    friend bool operator==(const ProjectSnapshot& left, const ProjectSnapshot& right);

private:
    Project settings_;  // without glyphs
    std::shared_ptr<const std::vector<Glyph>> glyphs_;
};

}  // namespace vemro
