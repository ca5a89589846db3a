// Opening and saving projects with the extension: old files and seeds unchanged byte for byte,
// and font files that move with the project or have gone away.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace std::string_literals;

#include "files/project/project_opener.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kFaces = {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono",
                                         "Droid Sans Fallback"};

// Opening a file and saving it again in the same folder, as File > Open and File > Save do.
struct Resaved {
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> warnings;
    std::string faceName;
};

Resaved openAndSave(const TestFolder& folder, const std::vector<std::uint8_t>& original) {
    writeBytes(folder.path("original.fnt"), original);
    const Result<OpenedProject> opened =
        openProject(folder.path("original.fnt"), kFaces, startupProject("DejaVu Sans"));
    EXPECT_TRUE(opened.ok()) << opened.message();
    // The engine takes the values as they come; opening brings them into their ranges.
    EXPECT_TRUE(!opened.ok() || withinRanges(opened->document.project));
    if (!opened.ok() || !saveProject(folder.path("saved.fnt"), opened->document).ok()) {
        return {};
    }
    return {readBytes(folder.path("saved.fnt")), opened->warnings,
            opened->document.project.font.faceName};
}

TEST(ProjectExtensionOpen, OldFilesAndSeedsSaveByteForByteAsTheyWere) {
    // By hand: 64 x 32, borders 1 2 3 4, 12 points, Bold, non-antialiased, 2x2, italic,
    // "DejaVu Serif", records A (5, 0), the euro byte (0, -1), the undefined byte 0x81, A.
    const std::string handMade =
        "\x40\0\0\0\x20\0\0\0\1\0\0\0\2\0\0\0\3\0\0\0\4\0\0\0\x0C\0\0\0\xBC\2\0\0\3\0\0\0\2\0\0\0"
        "\1\0\0\0\x0C\0\0\0DejaVu Serif\0\4\0\0\0A\5\0\0\0\0\0\0\0\x80\0\0\0\0\xFF\xFF\xFF\xFF"
        "\x81\0\0\0\0\0\0\0\0A\5\0\0\0\0\0\0\0"s;
    TestFolder folder;
    const std::vector<std::uint8_t> bytes(handMade.begin(), handMade.end());
    EXPECT_EQ(openAndSave(folder, bytes).bytes, bytes);

    // Every seed of the fuzz corpus. One whose values all match what is on offer comes back
    // whole; from one with unmatched values only those change, never the characters.
    std::size_t seeds = 0;
    std::size_t whole = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(VEMRO_SOURCE_DIR) / "fuzz/corpus")) {
        const std::vector<std::uint8_t> original = readBytes(entry.path().string());
        const Resaved resaved = openAndSave(folder, original);
        ASSERT_GE(resaved.bytes.size(), 53u) << entry.path();
        // The glyph count follows the face name, whose length is the header's last field.
        const auto tail = [](const std::vector<std::uint8_t>& b) {
            return std::vector<std::uint8_t>(b.begin() + 48 + b[44] + 1, b.end());
        };
        EXPECT_EQ(tail(resaved.bytes), tail(original)) << entry.path();
        ++seeds;
        if (resaved.warnings.empty() &&
            resaved.faceName ==
                std::string(original.begin() + 48, original.begin() + 48 + original[44])) {
            EXPECT_EQ(resaved.bytes, original) << entry.path();
            ++whole;
        }
    }
    EXPECT_GE(seeds, 11u);
    EXPECT_GT(whole, seeds / 2);
}

// Saved in folder A with the font in A/fonts, both copied to B: the project opens with the font
// in B. A font elsewhere is stored absolute.
TEST(ProjectExtensionOpen, AFontBeneathTheProjectFolderMovesWithIt) {
    TestFolder folder;
    const fs::path a = folder.root() / "A";
    const fs::path b = folder.root() / "B";
    fs::create_directories(a / "fonts");
    writeBytes((a / "fonts/Game Sans.ttf").string(), {1, 2, 3});
    Project project = startupProject("DejaVu Sans");
    project.font.faceName = "Game Sans";
    project.font.fontFaceIndex = 1;
    project.glyphs.addCharacter(U'\u30B2');
    const std::pair<fs::path, std::string> stores[] = {
        {a / "sub/../fonts/Game Sans.ttf", "fonts/Game Sans.ttf"},
        {folder.root() / "A-fonts/x.ttf", (folder.root() / "A-fonts/x.ttf").string()},
        {a / "fonts/Game Sans.ttf", "fonts/Game Sans.ttf"},
    };
    for (const auto& [font, stored] : stores) {
        project.font.fontFile = font.string();
        ASSERT_TRUE(saveProject((a / "game.fnt").string(), Document{project}).ok());
        EXPECT_EQ(readProjectFile((a / "game.fnt").string())->extension->project.font.fontFile, stored);
    }

    fs::copy(a, b, fs::copy_options::recursive);
    fs::remove_all(a);
    const Result<OpenedProject> opened =
        openProject((b / "game.fnt").string(), kFaces, startupProject("DejaVu Serif"));
    ASSERT_TRUE(opened.ok()) << opened.message();
    EXPECT_TRUE(opened->warnings.empty());
    project.font.fontFile = (b / "fonts/Game Sans.ttf").string();
    EXPECT_EQ(opened->document.project, project);
}

// A stored font file that has gone away: a warning names it, the face falls back, and saving
// stores the same path again.
TEST(ProjectExtensionOpen, AMissingFontFileIsNamedAndKeptThroughSave) {
    TestFolder folder;
    ProjectFile file;
    file.faceName = "DejaVu Sans";
    file.extension.emplace().project.glyphs = {{U'\u3053', 0, 0}};
    file.extension->project.font.fontFile = "fonts/Gone.ttf";
    file.extension->project.font.fontFaceIndex = 2;
    const std::vector<std::uint8_t> original = encodeProjectFile(file);
    const Resaved resaved = openAndSave(folder, original);
    EXPECT_EQ(resaved.warnings,
              std::vector<std::string>{"the stored font file \"" + folder.path("fonts/Gone.ttf") +
                                       "\" cannot be opened (No such file or directory); using "
                                       "\"DejaVu Sans\""});
    EXPECT_EQ(resaved.bytes, original);

    // A family that is not installed falls back to the current face; the path stays.
    file.faceName = "Gone Sans";
    const Result<OpenedProject> opened = [&] {
        writeBytes(folder.path("gone.fnt"), encodeProjectFile(file));
        return openProject(folder.path("gone.fnt"), kFaces, startupProject("DejaVu Serif"));
    }();
    ASSERT_TRUE(opened.ok()) << opened.message();
    EXPECT_EQ(opened->document.project.font.faceName, "DejaVu Serif");
    EXPECT_EQ(projectFileFor(opened->document, folder.path("again.fnt")).extension, file.extension);
}

}  // namespace
}  // namespace vemro
