#include "session/editing_session.h"

#include <chrono>
#include <utility>

#include "session/session_text.h"
#include "session/weight_choices.h"

namespace vemro {

namespace {

// How long a change waits for its atlas before the window goes back to the user: a rebuild
// this short shows as if it were made on the spot.
constexpr std::chrono::milliseconds kQuickRebuild{30};

// How many of the characters the face lacks the status line shows.
constexpr std::size_t kMissingShown = 8;

// The merge keys of the character borders, apart from the rows of the binding table.
constexpr int kCharacterBorderLeft = 1000;
constexpr int kCharacterBorderRight = 1001;

// "7 characters are not in DejaVu Sans: ア イ ...", or empty when the face has them all.
std::string missingCharactersNote(const AtlasResult& result) {
    // Without a face every character would count; the font problem says that already.
    if (result.fontName.empty()) {
        return {};
    }
    const std::vector<char32_t> missing = charactersMissingFromFont(result);
    if (missing.empty()) {
        return {};
    }
    std::string shown;
    for (std::size_t i = 0; i < std::min(missing.size(), kMissingShown); ++i) {
        if (i > 0) {
            shown += ' ';
        }
        shown += shownCharacter(missing[i]);
    }
    if (missing.size() > kMissingShown) {
        shown += " ...";
    }
    return missing.size() == 1 ? "1 character is not in " + result.fontName + ": " + shown
                               : countText(missing.size()) + " characters are not in " +
                                     result.fontName + ": " + shown;
}

}  // namespace

EditingSession::EditingSession(FontRenderer& renderer, std::function<void()> rebuilt)
    : renderer_(renderer),
      document_{startupProject(renderer.defaultFaceName())},
      result_(std::make_shared<const AtlasResult>()),
      worker_(std::make_unique<RebuildWorker>(renderer, [rebuilt = std::move(rebuilt)] {
          if (rebuilt) {
              rebuilt();
          }
      })) {
    rebuild();
    markSaved();
}

EditingSession::~EditingSession() = default;

void EditingSession::edit(const std::string& label, const std::function<void(Document&)>& change,
                          std::optional<MergeKey> key) {
    note_.clear();
    Document next = document_;
    change(next);
    if (next == document_) {
        rebuild();
        return;
    }
    // A change the atlas does not depend on (the sample text, most export settings) keeps it.
    const bool sameAtlas = atlasProjectOf(next) == atlasProjectOf(document_);
    Document before = std::exchange(document_, std::move(next));
    history_.record(label, before, document_, key);
    if (!sameAtlas) {
        rebuild();
    }
}

void EditingSession::setField(std::size_t field, const FieldValue& value) {
    const DocumentField& row = documentFields()[field];
    edit(
        row.label, [&row, &value](Document& document) { row.write(document, value); },
        row.mergesRuns() ? std::optional<MergeKey>(MergeKey{static_cast<int>(field)})
                         : std::nullopt);
}

void EditingSession::setCharacterBorder(std::size_t glyph, bool left, std::int32_t value) {
    if (document_.project.glyphs.glyphAt(glyph) == nullptr) {
        return;
    }
    edit(
        "Character border",
        [glyph, left, value](Document& document) {
            Glyph& changed = *document.project.glyphs.glyphAt(glyph);
            (left ? changed.charBorderLeft : changed.charBorderRight) = value;
        },
        MergeKey{left ? kCharacterBorderLeft : kCharacterBorderRight, static_cast<int>(glyph)});
}

void EditingSession::setCharacterBorders(std::size_t glyph, std::int32_t left, std::int32_t right) {
    edit("Character border", [glyph, left, right](Document& document) {
        Glyph& changed = *document.project.glyphs.glyphAt(glyph);
        changed.charBorderLeft = left;
        changed.charBorderRight = right;
    });
}

void EditingSession::chooseInstalledFace(const std::string& face) {
    edit("Font", [this, &face](Document& document) {
        FontSettings& font = document.project.font;
        font.faceName = face;
        font.fontFile.clear();
        font.fontFaceIndex = 0;
        keepOfferedWeight(document);
    });
}

void EditingSession::keepOfferedWeight(Document& document) const {
    FontSettings& font = document.project.font;
    font.weight = offeredWeight(font.weight, renderer_.weightsOf(fontRequestFor(document.project)));
}

void EditingSession::undo() {
    if (canUndo()) {
        restore(history_.undo());
    }
}

void EditingSession::redo() {
    if (canRedo()) {
        restore(history_.redo());
    }
}

void EditingSession::restore(const Document& document) {
    note_.clear();
    const bool sameAtlas = atlasProjectOf(document) == atlasProjectOf(document_);
    document_ = document;
    if (!sameAtlas) {
        rebuild();
    }
}

void EditingSession::rebuild() {
    // Behind a rebuild that is still running this one cannot be quick: no use waiting for it.
    const bool mayBeQuick = !worker_->isBusy();
    cancelled_ = false;
    requestedGeneration_ = worker_->request(atlasProjectOf(document_));
    if (mayBeQuick) {
        RebuildWorker::Finished finished = worker_->waitFor(requestedGeneration_, kQuickRebuild);
        if (finished.result != nullptr) {
            show(std::move(finished));
        }
    }
}

bool EditingSession::takeFinishedRebuild() {
    // News of an earlier project's atlas is dropped: only the current project's is shown.
    RebuildWorker::Finished finished = worker_->latest();
    if (finished.generation != requestedGeneration_ || finished.generation == shownGeneration_) {
        return false;
    }
    show(std::move(finished));
    return true;
}

const std::shared_ptr<const AtlasResult>& EditingSession::waitForResult(
    std::optional<std::chrono::milliseconds> timeout) {
    if (rebuildCancelled()) {
        rebuild();
    }
    if (isRebuilding()) {
        if (RebuildWorker::Finished finished = worker_->waitFor(requestedGeneration_, timeout);
            finished.result != nullptr) {
            show(std::move(finished));
        }
    }
    return result_;
}

void EditingSession::cancelRebuild() {
    if (!isRebuilding()) {
        return;
    }
    worker_->cancel();
    // A rebuild that finished before it heard of the cancel is shown all the same.
    if (!takeFinishedRebuild()) {
        cancelled_ = true;
    }
}

std::optional<EditingSession::RebuildProgress> EditingSession::rebuildProgress() const {
    if (!isRebuilding()) {
        return std::nullopt;
    }
    const std::optional<RebuildWorker::Running> running = worker_->running();
    if (!running) {
        return std::nullopt;
    }
    const RebuildControl::Progress& progress = running->progress;
    RebuildProgress shown;
    shown.done = std::min(progress.done, progress.total);
    shown.total = progress.total;
    shown.elapsed = running->elapsed;
    shown.text = progressText(progress);
    return shown;
}

void EditingSession::show(RebuildWorker::Finished finished) {
    result_ = std::move(finished.result);
    shownGeneration_ = finished.generation;
    missingNote_ = missingCharactersNote(*result_);
    const std::vector<char32_t> missing =
        result_->fontName.empty() ? std::vector<char32_t>{} : charactersMissingFromFont(*result_);
    if (missing != offeredFor_) {
        offeredFor_ = missing;
        fallbackOffer_ =
            missing.empty() ? std::string() : renderer_.typefaceCovering(missing).value_or("");
    }
    if (!fallbackOffer_.empty()) {
        missingNote_ = (missing.size() == 1 ? std::string("1 character is")
                                            : countText(missing.size()) + " characters are") +
                       " not in " + result_->fontName +
                       (document_.project.fallbacks.empty() ? "" : " or its fallbacks") +
                       ": take them from " + fallbackOffer_;
    }
}

void EditingSession::takeFallbackOffer() {
    if (fallbackOffer_.empty()) {
        return;
    }
    const std::string face = fallbackOffer_;
    edit("Take Characters from " + face,
         [&](Document& document) { document.project.fallbacks.push_back(FallbackFace{face}); });
}

void EditingSession::setFallbacks(const std::vector<FallbackFace>& fallbacks) {
    if (fallbacks != document_.project.fallbacks) {
        edit("Change Fallback Faces",
             [&](Document& document) { document.project.fallbacks = fallbacks; });
    }
}

std::string EditingSession::statusLine() const {
    std::vector<std::string> parts;
    if (!note_.empty()) {
        parts.push_back(note_);
    }
    if (isRebuilding()) {
        // What the shown atlas says no longer holds; the new one follows.
        const std::size_t count = document_.project.glyphs.size();
        parts.push_back(count == 1 ? "Rebuilding 1 character..."
                                   : "Rebuilding " + countText(count) + " characters...");
    } else if (rebuildCancelled()) {
        parts.push_back(
            "Rebuild cancelled: the atlas shown is of earlier settings until the next change.");
    } else {
        const AtlasResult& atlas = *result_;
        if (!atlas.fontProblem.empty()) {
            parts.push_back(sentence(atlas.fontProblem));
        }
        if (atlas.pages.size() > 1) {
            parts.push_back(std::to_string(atlas.pages.size()) + " pages.");
        }
        const std::size_t outside = atlas.glyphsOutsideTexture;
        const std::string texture = std::to_string(atlas.textureSize.width) + " x " +
                                    std::to_string(atlas.textureSize.height) + " texture.";
        if (outside == 1) {
            parts.push_back("1 glyph lies partly or wholly outside the " + texture);
        } else if (outside > 1) {
            parts.push_back(std::to_string(outside) + " glyphs lie partly or wholly outside the " +
                            texture);
        }
        if (!missingNote_.empty()) {
            parts.push_back(missingNote_);
        }
    }
    std::string line;
    for (const std::string& part : parts) {
        line += (line.empty() ? "" : " ") + part;
    }
    return line;
}

}  // namespace vemro
