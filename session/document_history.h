#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "files/project/document.h"
#include "session/document_snapshot.h"

namespace vemro {

// The changes made to a document, for undo and redo: each step the document before and after
// it, its label ("Size", "Add characters") and the revisions of both. A revision is a number the
// document gets with every change and gets back when undo or redo return to it, so that two
// states with the same revision are the same document.
//
// Consecutive changes with the same merge key (the typing and arrow keys in one spin) are one
// step until the run is ended; a run that comes back to where it began leaves no step at all.
class DocumentHistory {
public:
    // Which control made a change, and for a character border which character.
    struct MergeKey {
        int control = 0;
        int glyph = -1;

        friend bool operator==(const MergeKey&, const MergeKey&) = default;
    };

    // Steps kept; older ones are forgotten. Each holds the settings of two documents; their
    // glyphs are shared with the neighbouring steps while they stay the same.
    static constexpr std::size_t kLimit = 100;

    // The revision of the current document.
    std::uint64_t revision() const { return revision_; }

    // Records the change from before, the current document, to after, which differ. With a key,
    // the change joins the open run of changes with that key, or opens one. The steps undone
    // before are forgotten.
    void record(const std::string& label, const Document& before, const Document& after,
                std::optional<MergeKey> key = std::nullopt);

    // The next change starts a step of its own.
    void endRun() { run_.reset(); }

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // The label of the step undo or redo would take; empty when there is none.
    std::string undoLabel() const;
    std::string redoLabel() const;

    // Takes back the last step done (which there must be) and returns the document as it was
    // before it; redo does the next step undone again and returns the document after it. Either
    // ends the open run.
    Document undo();
    Document redo();

    // Forgets every step; the current document gets a revision of its own.
    void clear();

private:
    struct Step {
        std::string label;
        DocumentSnapshot before;
        DocumentSnapshot after;
        std::uint64_t beforeRevision = 0;
        std::uint64_t afterRevision = 0;
    };

    std::deque<Step> steps_;
    std::size_t done_ = 0;  // the steps that are done; those after them are undone
    // The key of the open run, whose step is the last one done.
    std::optional<MergeKey> run_;
    // The document after the last change recorded, whose glyphs the next change may share.
    std::optional<DocumentSnapshot> last_;
    std::uint64_t revision_ = 0;
    std::uint64_t lastRevision_ = 0;
};

}  // namespace vemro
