// File > Export Font as the session runs it, without a window: the same files as the headless
// command, the format picked stored once everything is written (one undo step), exports refused
// over project files with a name proposed in their place, the questions about cut characters
// and files replaced, and what a failed export says.

#include "session/export_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "files/cli/command_line.h"
#include "files/export/exporter.h"
#include "tests/session/session_test_helpers.h"

namespace vemro {
namespace {

using testing::FakeFontRenderer;
using testing::row;
using testing::writeFile;

// Where the export lists the format with that command-line name.
std::size_t offerOf(const char* name) {
    const std::vector<const Exporter*>& exporters = registeredExporters();
    return static_cast<std::size_t>(
        std::find(exporters.begin(), exporters.end(), findExporter(name)) - exporters.begin());
}

// Exports through the session, saying yes to every question.
Status exportTo(EditingSession& session, const std::string& path, std::size_t offer) {
    ExportRun run(session);
    const Status chosen = run.choose(path, offer);
    return chosen ? run.write() : chosen;
}

int runHeadless(const std::vector<std::string>& args) {
    FakeFontRenderer headless;
    std::ostringstream out;
    std::ostringstream err;
    return runCommandLine(args, headless, out, err).value_or(-1);
}

TEST(ExportRun, WritesWhatTheCommandLineWritesAndStoresThePickedFormat) {
    TestFolder folder;
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    ASSERT_TRUE(session.addTypedText(u"Привет, κόσμε! こんにちは"));
    session.setCharacterBorder(3, false, 3);
    // Two pages of 8-bit PNG images.
    session.setField(row("sizeSpin"), 30);
    session.setField(row("widthGroup"), 128);
    session.setField(row("heightGroup"), 128);
    session.setField(row("multiplePagesCheck"), 1);
    session.setField(row("pageImageCombo"), static_cast<std::int32_t>(PageImage::Png8));
    ASSERT_EQ(session.waitForResult()->pages.size(), 2u);
    const std::string project = folder.path("game.fnt");
    ASSERT_TRUE(session.save(project));

    // The .tfd format is stored; a name with another extension gives .tga and .tfd beside it.
    ExportRun run(session);
    EXPECT_EQ(run.storedOffer(), offerOf("tfd"));
    EXPECT_EQ(run.offers()[run.storedOffer()].extension, "tga");
    EXPECT_EQ(run.proposedPath(folder.root().string()), folder.path("game.tga"));
    ASSERT_TRUE(run.choose(folder.path("window.png"), offerOf("tfd")));
    ASSERT_TRUE(run.write());
    EXPECT_EQ(session.note(), "Exported window.tga, window.tfd, window_1.tga and window_1.tfd.");
    ASSERT_EQ(runHeadless({"--export", project, folder.path("cli.tga")}), 0);
    for (const char* file : {".tga", ".tfd", "_1.tga", "_1.tfd"}) {
        const std::vector<std::uint8_t> written =
            readBytes(folder.path(std::string("window") + file));
        EXPECT_FALSE(written.empty());
        EXPECT_EQ(written, readBytes(folder.path(std::string("cli") + file))) << file;
    }
    EXPECT_FALSE(session.hasUnsavedChanges());

    // BMFont text picked: the same files as the command line writes with that format, and the
    // format stored as a step of its own, which the next export's dialog starts at. Picked in
    // place of .tfd it trims cells to the ink, which .tfd could not: one page holds them.
    ASSERT_TRUE(exportTo(session, folder.path("window.fnt"), offerOf("bmfont-text")));
    EXPECT_EQ(session.document().exportSettings.format, DescriptorFormat::BmfontText);
    EXPECT_EQ(session.undoLabel(), "Export format");
    EXPECT_EQ(session.note(), "Exported window_0.png and window.fnt.");
    ASSERT_TRUE(session.save(project));
    ASSERT_EQ(runHeadless({"--export", project, folder.path("cli.fnt")}), 0);
    EXPECT_FALSE(readBytes(folder.path("window_0.png")).empty());
    EXPECT_EQ(readBytes(folder.path("window_0.png")), readBytes(folder.path("cli_0.png")));
    EXPECT_EQ(ExportRun(session).storedOffer(), offerOf("bmfont-text"));
    session.undo();
    EXPECT_EQ(session.document().exportSettings.format, DescriptorFormat::Tfd);
}

TEST(ExportRun, NeverWritesOverAProjectAndProposesAnotherName) {
    TestFolder folder;
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    session.addFullCharset();
    session.setField(row("exportFormatCombo"), static_cast<std::int32_t>(DescriptorFormat::Json));
    session.setField(row("exportFormatCombo"),
                     static_cast<std::int32_t>(DescriptorFormat::BmfontText));
    const std::string project = folder.path("game.fnt");
    const std::string other = folder.path("other.fnt");
    ASSERT_TRUE(session.save(other));
    ASSERT_TRUE(session.save(project));
    const std::vector<std::uint8_t> saved = readBytes(project);

    // The dialog proposes the project's name, which a descriptor may not take.
    ExportRun run(session);
    EXPECT_EQ(run.proposedPath(folder.root().string()), folder.path("game-export.fnt"));
    EXPECT_EQ(run.nameFor(folder.path("game.fnt"), offerOf("tfd")), folder.path("game.fnt"));
    EXPECT_EQ(run.nameFor(other, offerOf("bmfont-xml")), folder.path("other-export.fnt"));
    // Over the project's own file, chosen as it is or without its extension, or over another
    // project, the export is refused before any question and writes nothing.
    for (const std::string& chosen : {project, folder.path("game"), other}) {
        ExportRun refused(session);
        const Status status = refused.choose(chosen, offerOf("bmfont-text"));
        ASSERT_FALSE(status);
        EXPECT_NE(status.message().find(chosen == other ? "it is a Vemro Font builder project"
                                                        : "it is the project's own file; choose "
                                                          "another name for the export."),
                  std::string::npos)
            << status.message();
    }
    EXPECT_EQ(readBytes(project), saved);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"game.fnt", "other.fnt"}));
    EXPECT_FALSE(session.hasUnsavedChanges());
}

TEST(ExportRun, AsksAboutCutCharactersAndEveryFileItReplaces) {
    TestFolder folder;
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    session.addFullCharset();
    session.setField(row("heightGroup"), 64);
    const std::size_t outside = session.waitForResult()->glyphsOutsideTexture;
    ASSERT_GT(outside, 1u);
    EXPECT_EQ(ExportRun(session).cutQuestion(),
              std::to_string(outside) +
                  " characters lie outside the 256 x 64 texture and will be cut: export anyway?");

    // Both files exist: one question names both in their folder; then the pages an earlier
    // export of more pages left.
    session.setField(row("heightGroup"), 512);
    const std::string image = folder.path("font.tga");
    writeFile(image, "old");
    writeFile(folder.path("font.tfd"), "old");
    ExportRun run(session);
    EXPECT_FALSE(run.cutQuestion());
    ASSERT_TRUE(run.choose(image, offerOf("tfd")));
    EXPECT_EQ(run.replaceQuestion(), "font.tga and font.tfd already exist in " +
                                         folder.root().string() + ". Replace them?");
    writeFile(folder.path("font_1.tga"), "old");
    writeFile(folder.path("font_1.tfd"), "old");
    ASSERT_TRUE(run.choose(image, offerOf("tfd")));
    EXPECT_EQ(run.replaceQuestion(),
              "font.tga and font.tfd already exist in " + folder.root().string() +
                  ". Replace them?\n\nfont_1.tga and font_1.tfd from an earlier export are still "
                  "there.");
    ASSERT_TRUE(run.write());
    EXPECT_EQ(readBytes(image).size(), 18u + 4u * 256u * 512u);
    // First in the status line; it goes with the next change.
    EXPECT_EQ(session.statusLine().rfind("Exported font.tga and font.tfd. font_1.tga and "
                                         "font_1.tfd from an earlier export are still there. ",
                                         0),
              0u)
        << session.statusLine();
    session.setField(row("widthGroup"), 512);
    EXPECT_EQ(session.statusLine().find("Exported"), std::string::npos);
}

TEST(ExportRun, AFailedExportNamesEveryFileAndStoresNoFormat) {
    TestFolder folder;
    FakeFontRenderer renderer;
    EditingSession session(renderer, {});
    session.addFullCharset();
    const Status failed =
        exportTo(session, folder.path("no/such/folder/atlas.fnt"), offerOf("bmfont-xml"));
    ASSERT_FALSE(failed);
    EXPECT_NE(failed.message().find("atlas.fnt"), std::string::npos) << failed.message();
    EXPECT_NE(failed.message().find("atlas_0.png"), std::string::npos) << failed.message();
    EXPECT_EQ(session.document().exportSettings.format, DescriptorFormat::Tfd);
    EXPECT_EQ(session.note(), "");
    EXPECT_EQ(session.undoLabel(), "Add Torvyn Charset");
}

}  // namespace
}  // namespace vemro
