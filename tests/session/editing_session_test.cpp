// The editing session's changes and rebuilds, without a window: every control's row and every
// command as an undo step that brings back the document and its atlas, runs of edits with one
// merge key as one step, the saved state by revision, and rebuilds: what a border change spares,
// a font that cannot be made named in the status line, and a burst of changes that ends showing
// the latest project.

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "engine/atlas/atlas_builder.h"
#include "tests/session/session_test_helpers.h"

namespace vemro {
namespace {

using testing::codesOf;
using testing::FakeFontRenderer;
using testing::otherValue;
using testing::row;

struct State {
    Document document;
    std::shared_ptr<const AtlasResult> result;
};

TEST(EditingSession, StartsWithTheStartupProjectUnchangedAndItsAtlas) {
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    EXPECT_EQ(session.document(), Document{startupProject("Alpha Sans")});
    EXPECT_FALSE(session.hasUnsavedChanges());
    EXPECT_FALSE(session.canUndo() || session.canRedo());
    EXPECT_TRUE(session.projectPath().empty());
    EXPECT_EQ(session.waitForResult()->textureSize, (AtlasSize{256, 256}));
}

TEST(EditingSession, UndoAndRedoEveryKindOfChange) {
    FakeFontRenderer renderer;
    renderer.fontFiles["/fonts/Gamma.ttf"] = "Gamma Mono";
    EditingSession session(renderer, {});
    std::vector<std::function<void()>> changes;
    for (std::size_t i = 0; i < documentFields().size(); ++i) {
        changes.push_back([&session, i] {
            session.setField(i, otherValue(documentFields()[i], session.document()));
            session.endRun();
        });
    }
    changes.push_back([&] { ASSERT_TRUE(session.addTypedText(u"Hello")); });
    changes.push_back([&] { session.setCharacterBorder(1, false, 5); });
    changes.push_back([&] { session.setCharacterBorders(2, 3, 4); });
    changes.push_back([&] { session.addFullCharset(); });
    changes.push_back([&] { session.removeCharacter(0); });
    changes.push_back([&] { session.chooseInstalledFace("Beta Serif"); });
    changes.push_back([&] { session.useFontFile("/fonts/Gamma.ttf", {0, "Gamma Mono", ""}); });
    changes.push_back([&] { session.newProject(); });

    std::vector<State> states = {{session.document(), session.waitForResult()}};
    for (const auto& change : changes) {
        change();
        ASSERT_NE(session.document(), states.back().document) << "change " << states.size();
        states.push_back({session.document(), session.waitForResult()});
    }
    // Back to the start one step at a time, and forward again: each step brings back the
    // document and the atlas it had.
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(session.canUndo());
        session.undo();
        ASSERT_EQ(session.document(), states[i - 1].document) << "undo to " << i - 1;
        ASSERT_EQ(*session.waitForResult(), *states[i - 1].result);
    }
    EXPECT_FALSE(session.canUndo());
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(session.canRedo());
        session.redo();
        ASSERT_EQ(session.document(), states[i].document) << "redo to " << i;
        ASSERT_EQ(*session.waitForResult(), *states[i].result);
    }
    EXPECT_FALSE(session.canRedo());
    EXPECT_EQ(session.undoLabel(), "New");
}

TEST(EditingSession, EditsOfOneControlAreOneStepUntilTheRunEnds) {
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    const Document start = session.document();
    const std::size_t left = row("borderLeftSpin");
    const std::size_t top = row("borderTopSpin");

    // Typing a number, or holding an arrow key, is one step; the end of a run ends the step.
    session.setField(left, 1);
    session.setField(left, 14);
    session.setField(top, 3);
    session.endRun();
    for (std::int32_t value = 4; value <= 8; ++value) {
        session.setField(top, value);
    }
    EXPECT_EQ(session.project().fontBorders, (FontBorders{.left = 14, .top = 8}));
    EXPECT_EQ(session.undoLabel(), "Font border");
    session.undo();
    EXPECT_EQ(session.project().fontBorders, (FontBorders{.left = 14, .top = 3}));
    session.undo();
    session.undo();
    EXPECT_EQ(session.document(), start);
    EXPECT_FALSE(session.canUndo());
    EXPECT_EQ(session.redoLabel(), "Font border");

    // A run that ends where it began leaves no step, and the next edit starts one of its own.
    const std::size_t bottom = row("borderBottomSpin");
    session.setField(bottom, 2);
    session.setField(bottom, 1);
    session.setField(bottom, 0);
    EXPECT_FALSE(session.canUndo());
    EXPECT_FALSE(session.canRedo());
    session.setField(bottom, 1);
    session.undo();
    EXPECT_EQ(session.document(), start);
    EXPECT_FALSE(session.canUndo());
}

TEST(EditingSession, UndoBackToTheSavedStateIsSavedAgain) {
    TestFolder folder;
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    // Changing something and changing it back in one run leaves nothing to save.
    session.setField(row("sizeSpin"), 14);
    EXPECT_TRUE(session.hasUnsavedChanges());
    session.setField(row("sizeSpin"), 11);
    EXPECT_FALSE(session.hasUnsavedChanges());

    session.addFullCharset();
    const std::string saved = folder.path("saved.fnt");
    ASSERT_TRUE(session.save(saved));
    EXPECT_EQ(session.projectPath(), saved);
    session.setField(row("heightGroup"), 512);
    EXPECT_TRUE(session.hasUnsavedChanges());
    session.undo();
    EXPECT_FALSE(session.hasUnsavedChanges());
    session.undo();
    EXPECT_TRUE(session.hasUnsavedChanges());
    session.redo();
    EXPECT_FALSE(session.hasUnsavedChanges());

    // Opening a file starts a history of its own; a file that cannot be opened keeps the old.
    EXPECT_FALSE(session.open(folder.path("missing.fnt")));
    EXPECT_TRUE(session.canUndo());
    ASSERT_TRUE(session.open(saved));
    EXPECT_FALSE(session.canUndo() || session.canRedo());
    EXPECT_FALSE(session.hasUnsavedChanges());
}

TEST(EditingSession, BorderChangesDrawNoCharacter) {
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    session.addFullCharset();
    EXPECT_EQ(session.waitForResult()->glyphsOutsideTexture, 0u);
    const int drawn = renderer.renderCount;

    // Font borders, character borders and the texture size keep the font and its characters.
    session.setField(row("borderLeftSpin"), 3);
    session.setField(row("borderBottomSpin"), 1);
    session.setCharacterBorder(10, true, 7);
    session.setField(row("heightGroup"), 128);
    session.undo();
    EXPECT_EQ(session.waitForResult()->fontBorders, (FontBorders{.left = 3, .bottom = 1}));
    EXPECT_EQ(renderer.renderCount, drawn);

    // A new size is a new font: its characters are drawn.
    session.setField(row("sizeSpin"), 12);
    session.waitForResult();
    EXPECT_GT(renderer.renderCount, drawn);
}

TEST(EditingSession, AFontThatCannotBeMadeIsNamedInTheStatusLine) {
    FakeFontRenderer renderer;
    renderer.failure = "the font \"Gone Sans\" could not be made at 15 pixels: no file holds it";
    EditingSession session(renderer, {});
    // Named before the count of glyphs outside the texture.
    session.setField(row("heightGroup"), 64);
    session.setField(row("borderLeftSpin"), 16);
    session.setField(row("borderTopSpin"), 16);
    session.addFullCharset();
    const std::size_t outside = session.waitForResult()->glyphsOutsideTexture;
    EXPECT_GT(outside, 1u);
    EXPECT_EQ(session.statusLine(),
              "The font \"Gone Sans\" could not be made at 15 pixels: no file holds it. " +
                  std::to_string(outside) +
                  " glyphs lie partly or wholly outside the 256 x 64 texture.");

    // Once a font can be made, the message goes.
    renderer.failure.clear();
    session.setField(row("sizeSpin"), 6);
    EXPECT_TRUE(session.waitForResult()->fontProblem.empty());
    EXPECT_EQ(session.statusLine().find("Gone Sans"), std::string::npos);
}

// A renderer whose fonts, while the gate is shut, are made only as the test lets them through,
// so that a rebuild takes as long as the test wants.
class GatedRenderer : public FontRenderer {
public:
    const std::vector<std::string>& faceNames() override { return fake_.faceNames(); }
    Result<std::vector<FontFileFace>> inspectFontFile(const std::string& path) override {
        return fake_.inspectFontFile(path);
    }
    Result<std::unique_ptr<Font>> createFont(const FontRequest& request) override {
        std::unique_lock lock(mutex_);
        ++asked_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !shut_ || passes_ > 0; });
        passes_ -= shut_ ? 1 : 0;
        return fake_.createFont(request);
    }
    void shut(bool shut) {
        const std::lock_guard lock(mutex_);
        shut_ = shut;
        changed_.notify_all();
    }

private:
    FakeFontRenderer fake_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool shut_ = false;
    int passes_ = 0;
    int asked_ = 0;
};

TEST(EditingSession, ABurstOfChangesEndsShowingTheLatestProject) {
    GatedRenderer gated;
    std::atomic<int> told = 0;
    EditingSession session(gated, [&told] { ++told; });
    session.addFullCharset();
    session.waitForResult();
    // Three font changes while the first one's font is held back: the session goes on, and
    // says what it is doing.
    gated.shut(true);
    session.setField(row("weightCombo"), FontSettings::kWeightBold);
    session.setField(row("italicCheck"), 1);
    session.setField(row("sizeSpin"), 14);
    EXPECT_TRUE(session.isRebuilding());
    EXPECT_EQ(session.statusLine(), "Rebuilding 224 characters...");
    // The rebuilds of the projects that moved on stop without an atlas: only the latest is shown,
    // and told of.
    const std::shared_ptr<const AtlasResult> before = session.shownResult();
    const int toldBefore = told;
    EXPECT_FALSE(session.takeFinishedRebuild());
    EXPECT_EQ(session.shownResult(), before);
    gated.shut(false);
    while (!session.takeFinishedRebuild()) {
        std::this_thread::yield();
    }
    EXPECT_EQ(told, toldBefore + 1);
    EXPECT_FALSE(session.isRebuilding());
    FakeFontRenderer reference;
    EXPECT_EQ(*session.shownResult(),
              *AtlasBuilder(reference).rebuild(atlasProjectOf(session.document())));
    EXPECT_TRUE(session.project().font.italic && session.project().font.size == 14);
}

// A cancelled rebuild leaves the atlas shown as it was and says so; nothing is rebuilding. The
// atlas of the current project is made again for whoever waits for it.
TEST(EditingSession, ACancelledRebuildKeepsTheLastAtlasUntilItIsAskedFor) {
    GatedRenderer gated;
    EditingSession session(gated, nullptr);
    session.addFullCharset();
    const std::shared_ptr<const AtlasResult> before = session.waitForResult();
    gated.shut(true);
    session.setField(row("sizeSpin"), 30);
    ASSERT_TRUE(session.isRebuilding());
    session.cancelRebuild();
    EXPECT_FALSE(session.isRebuilding());
    EXPECT_TRUE(session.rebuildCancelled());
    EXPECT_EQ(session.shownResult(), before);
    EXPECT_NE(session.statusLine().find("Rebuild cancelled"), std::string::npos);
    gated.shut(false);
    FakeFontRenderer reference;
    EXPECT_EQ(*session.waitForResult(), *AtlasBuilder(reference).rebuild(session.project()));
    EXPECT_FALSE(session.rebuildCancelled());
}

}  // namespace
}  // namespace vemro
