#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/atlas/atlas_result.h"
#include "engine/core/result.h"
#include "engine/font/font_renderer.h"
#include "files/project/document.h"
#include "session/character_set_choice.h"
#include "session/document_fields.h"
#include "session/document_history.h"
#include "session/rebuild_worker.h"

namespace vemro {

// One piece of work on a document, as the window edits it, without the window. It holds the
// document; changes it only through edit(), each change an undo step (or part of the open run of
// changes with the same merge key); knows whether it is saved by comparing revisions; rebuilds
// the project's atlas on a thread of its own; and runs the commands of the menus, which return
// what went wrong as a message and leave a note of what they did for the status line. It never
// asks the user anything: the window asks first, with what the session offers for the question.
class EditingSession {
public:
    using MergeKey = DocumentHistory::MergeKey;

    // rebuilt is called on the rebuild thread after every rebuild, with nothing locked: it must
    // only hand the news to the thread that owns the session, which then calls
    // takeFinishedRebuild; it may be empty. The renderer must outlive the session. Starts with the
    // start-up project of the renderer's default face, its atlas asked for, unchanged.
    EditingSession(FontRenderer& renderer, std::function<void()> rebuilt);
    ~EditingSession();

    EditingSession(const EditingSession&) = delete;
    EditingSession& operator=(const EditingSession&) = delete;

    FontRenderer& renderer() const { return renderer_; }
    const Document& document() const { return document_; }
    const Project& project() const { return document_.project; }

    // The one way to change the document: change applied to a copy, which becomes the document,
    // as one undo step or part of the open run with the same key; its project is rebuilt when it
    // changed. A change that changes nothing only rebuilds. Every change clears the note.
    void edit(const std::string& label, const std::function<void(Document&)>& change,
              std::optional<MergeKey> key = std::nullopt);
    // The value a control of the binding table (its row) was set to, as that row's change.
    void setField(std::size_t field, const FieldValue& value);
    // A border of the glyph at index; a run of them is one step per glyph and side.
    void setCharacterBorder(std::size_t glyph, bool left, std::int32_t value);
    // Both borders of the glyph at index as one step ("Character border").
    void setCharacterBorders(std::size_t glyph, std::int32_t left, std::int32_t right);
    // An installed face, which drops a font file ("Font"). A weight the face does not offer
    // becomes the nearest it does (offeredWeight), in the same step; so with a font file.
    void chooseInstalledFace(const std::string& face);
    // The next change starts a step of its own.
    void endRun() { history_.endRun(); }

    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    std::string undoLabel() const { return history_.undoLabel(); }
    std::string redoLabel() const { return history_.redoLabel(); }
    void undo();
    void redo();

    // The document's revision, and whether it differs from the one last saved, opened or
    // started with (undo back to that state is saved again).
    std::uint64_t revision() const { return history_.revision(); }
    bool hasUnsavedChanges() const { return revision() != savedRevision_; }

    // The atlas shown; never null. While a rebuild runs, or after one was cancelled, it is the
    // atlas of an earlier project.
    const std::shared_ptr<const AtlasResult>& shownResult() const { return result_; }
    bool isRebuilding() const { return !cancelled_ && shownGeneration_ != requestedGeneration_; }
    // Whether the rebuild of the current project was cancelled and nothing rebuilt it since.
    bool rebuildCancelled() const { return cancelled_ && shownGeneration_ != requestedGeneration_; }
    // Waits until the atlas of the current project is there (rebuilding it again after a
    // cancelled rebuild), and shows it; with a timeout, at most that long (isRebuilding then
    // says whether it came).
    const std::shared_ptr<const AtlasResult>& waitForResult(
        std::optional<std::chrono::milliseconds> timeout = std::nullopt);
    // Shows the newest atlas when it is the current project's; true when it was not shown yet.
    bool takeFinishedRebuild();
    // Stops the rebuild of the current project; the atlas shown stays until the next change.
    void cancelRebuild();

    // How far the rebuild of the current project has got: "Distance fields: 12,400 of 44,810"
    // ("Glyphs: ..." for coverage and colour), the counts, and how long it has run. Nothing while
    // no rebuild of it runs.
    struct RebuildProgress {
        std::string text;
        std::size_t done = 0;
        std::size_t total = 0;
        std::chrono::steady_clock::duration elapsed{};
    };
    std::optional<RebuildProgress> rebuildProgress() const;

    // What the last command did ("Exported ...", "Added 48 characters."), until the next change.
    const std::string& note() const { return note_; }
    void setNote(std::string note) { note_ = std::move(note); }
    // The status line: the note, then what the shown atlas says (its font problem, its pages, the
    // glyphs outside its texture, the characters its face lacks), or that a rebuild runs.
    std::string statusLine() const;

    // The file the document was opened from or last saved to, absolute; empty for a new one.
    const std::string& projectPath() const { return path_; }
    // File > New: the characters go (one undo step); the settings stay; no file; unchanged.
    void newProject();
    // Opens the project file at path, read and checked whole first: when it cannot be used,
    // nothing changes and the message says why. Returns the values the file asks for that are
    // not on offer (the current ones are kept). Starts a history of its own; unchanged.
    Result<std::vector<std::string>> open(const std::string& path);
    // Writes the document to path, which becomes its file; unchanged once written.
    Status save(const std::string& path);

    // The faces of a font file, or why it cannot be used.
    Result<std::vector<FontFileFace>> inspectFontFile(const std::string& path);
    // A face as the question about a collection lists it: "DejaVu Sans Bold".
    static std::string faceCaption(const FontFileFace& face);
    // Draws with the face of the font file (an absolute path) as one step ("Use Font File").
    void useFontFile(const std::string& path, const FontFileFace& face);

    // Tools: adding each character once, after those in the list, as one step. Refused, saying
    // why, past the characters a project file holds. Typed text counts its addable characters; a
    // character set and a file note what they added.
    Status addTypedText(std::u16string_view text);
    Status addCharacterSet(const CharacterSetChoice& choice);
    Status addCharactersFromFile(const std::string& path);
    void addFullCharset();
    // Removing every glyph of the characters as one step.
    void removeCharacter(std::size_t index);
    void removeTypedText(std::u16string_view text);
    void removeMissingCharacters();

    // The installed typeface the system offers for the characters no face of the project has
    // (the renderer's typefaceCovering); empty when there is none or nothing is missing.
    const std::string& fallbackOffer() const { return fallbackOffer_; }
    // Adds the offered typeface as the last fallback face, as one undo step.
    void takeFallbackOffer();
    // Replaces the fallback faces, as one undo step.
    void setFallbacks(const std::vector<FallbackFace>& fallbacks);

private:
    // Adds the characters not in the list yet; returns how many, or why not.
    Result<std::size_t> addCharacters(const std::string& label,
                                      const std::vector<char32_t>& characters);
    // Notes what adding chosen characters did (chosen of them, distinct).
    void noteAdded(std::size_t added, std::size_t chosen, std::size_t lacking,
                   const std::vector<std::string>& blocks);
    void removeCharacters(const std::string& label, const std::vector<char32_t>& characters);
    // Brings the weight to one the document's face offers.
    void keepOfferedWeight(Document& document) const;
    // Undo, redo and Open: the document as it was.
    void restore(const Document& document);
    // Asks for the project's atlas and waits a little for it.
    void rebuild();
    void show(RebuildWorker::Finished finished);
    void markSaved() { savedRevision_ = revision(); }

    FontRenderer& renderer_;
    Document document_;
    DocumentHistory history_;
    std::uint64_t savedRevision_ = 0;
    std::string path_;
    std::string note_;
    // The characters the shown atlas's face lacks, as the status line names them.
    std::string missingNote_;
    // The missing characters the offer was found for, and the offer.
    std::vector<char32_t> offeredFor_;
    std::string fallbackOffer_;
    std::shared_ptr<const AtlasResult> result_;
    // The generation of the last rebuild asked for, and of the atlas shown.
    std::uint64_t requestedGeneration_ = 0;
    std::uint64_t shownGeneration_ = 0;
    // Whether the rebuild asked for last was cancelled.
    bool cancelled_ = false;
    std::unique_ptr<RebuildWorker> worker_;  // last: stopped first
};

}  // namespace vemro
