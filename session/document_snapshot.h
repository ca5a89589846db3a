#pragma once

#include <memory>
#include <vector>

#include "files/project/document.h"

namespace vemro {

// A document as the undo history keeps it: its settings, and its project's glyphs as a plain list
// that snapshots share while the glyphs stay the same. A hundred steps of setting changes to a
// project of thirty thousand characters thus hold one copy of its glyphs, not two hundred.
class DocumentSnapshot {
public:
    // Shares the glyphs of like when they are the document's.
    explicit DocumentSnapshot(const Document& document, const DocumentSnapshot* like = nullptr);

    Document document() const;

    friend bool operator==(const DocumentSnapshot& left, const DocumentSnapshot& right);

private:
    Document settings_;  // without glyphs
    std::shared_ptr<const std::vector<Glyph>> glyphs_;
};

}  // namespace vemro
