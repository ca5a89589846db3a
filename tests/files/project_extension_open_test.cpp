// Opening and saving projects with the extension: the character list as the glyph list, old
// files unchanged byte for byte, and font files that move with the project or have gone away.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/windows1252.h"
#include "files/project_opener.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kFaces = {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono",
                                         "Droid Sans Fallback"};

std::vector<Glyph> glyphsOf(const Project& project) {
    return std::vector<Glyph>(project.glyphs.begin(), project.glyphs.end());
}

ProjectFile japaneseFile() {
    ProjectFile file;
    file.faceName = "DejaVu Sans";
    ProjectExtension& extension = file.extension.emplace();
    extension.characters = {{U'\u3053', 2, 1}, {U'A', 0, 3},          {U'\u0081', 0, 0},
                            {U'\u3053', 0, 0}, {U'\U0001F600', 0, 0}, {U'\u20AC', -4, 4}};
    file.glyphs = windows1252Records(extension.characters);
    return file;
}

TEST(ProjectExtensionOpen, TheCharacterListIsTheGlyphListAndStoresBackAsItWas) {
    const ProjectFile file = japaneseFile();
    ASSERT_EQ(file.glyphs, (std::vector<ProjectGlyph>{{'A', 0, 3}, {0x81, 0, 0}, {0x80, -4, 4}}));
    const OpenedProject opened = applyProjectFile(file, kFaces, startupProject("DejaVu Serif"));
    EXPECT_TRUE(opened.warnings.empty());
    const std::vector<Glyph> expected = {{U'\u3053', 2, 1},     {U'A', 0, 3},
                                         {U'\u0081', 0, 0},     {U'\u3053', 0, 0},
                                         {U'\U0001F600', 0, 0}, {U'\u20AC', -4, 4}};
    EXPECT_EQ(glyphsOf(opened.project), expected);
    EXPECT_TRUE(opened.project.font.fontFile.empty());
    EXPECT_EQ(projectFileFor(opened.project), file);
}

// Only a character without a Windows-1252 byte, or a font file, calls for the extension.
TEST(ProjectExtensionOpen, ProjectFileForAddsTheExtensionOnlyWhenItIsNeeded) {
    Project project = startupProject("DejaVu Sans");
    for (int code = 0; code < 256; ++code) {
        project.glyphs.append({windows1252ToUnicode(static_cast<std::uint8_t>(code)), 1, 2});
    }
    EXPECT_FALSE(projectFileFor(project).extension.has_value());
    EXPECT_EQ(projectFileFor(project).glyphs.size(), 256u);

    Project withFont = project;
    withFont.font.fontFile = "/fonts/a.ttf";
    withFont.font.fontFaceIndex = 3;
    const ProjectFile fontFile = projectFileFor(withFont);
    ASSERT_TRUE(fontFile.extension.has_value());
    EXPECT_EQ(fontFile.extension->fontFile, "/fonts/a.ttf");
    EXPECT_EQ(fontFile.extension->fontFaceIndex, 3);
    EXPECT_EQ(fontFile.extension->characters.size(), 256u);
    EXPECT_EQ(fontFile.glyphs, projectFileFor(project).glyphs);

    Project withCyrillic = project;
    withCyrillic.glyphs.append({U'\u0416', 0, 0});
    const ProjectFile cyrillic = projectFileFor(withCyrillic);
    ASSERT_TRUE(cyrillic.extension.has_value());
    EXPECT_EQ(cyrillic.extension->characters.back(), (ProjectCharacter{U'\u0416', 0, 0}));
    EXPECT_EQ(cyrillic.glyphs, projectFileFor(project).glyphs);
}

// A project file made byte by byte: 64 x 32, borders 1 2 3 4, 12 points, Bold, non-antialiased,
// 2x2, italic, face "DejaVu Serif", records A, the euro byte, the undefined byte 0x81, A again.
std::vector<std::uint8_t> handMadeFile() {
    std::vector<std::uint8_t> bytes;
    const auto u32 = [&bytes](std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    };
    for (const std::uint32_t field : {64u, 32u, 1u, 2u, 3u, 4u, 12u, 700u, 3u, 2u, 1u, 12u}) {
        u32(field);
    }
    const std::string name = "DejaVu Serif";
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
    u32(4);
    for (const std::uint8_t code :
         {std::uint8_t{'A'}, std::uint8_t{0x80}, std::uint8_t{0x81}, std::uint8_t{'A'}}) {
        bytes.push_back(code);
        u32(code == 'A' ? 5 : 0);
        u32(code == 0x80 ? 0xFFFFFFFF : 0);
    }
    return bytes;
}

// Opening a file and saving it again, in the same folder, as File > Open and File > Save do.
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
    if (!opened.ok()) {
        return {};
    }
    EXPECT_TRUE(saveProject(folder.path("saved.fnt"), opened->project).ok());
    return {readBytes(folder.path("saved.fnt")), opened->warnings, opened->project.font.faceName};
}

TEST(ProjectExtensionOpen, OldFilesAndSeedsSaveByteForByteAsTheyWere) {
    TestFolder folder;
    EXPECT_EQ(openAndSave(folder, handMadeFile()).bytes, handMadeFile());

    // Every seed of the fuzz corpus. One whose values all match what is on offer comes back
    // whole; from one with unmatched values only those values change, never the characters.
    std::size_t seeds = 0;
    std::size_t whole = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(VEMRO_SOURCE_DIR) / "fuzz/corpus")) {
        const std::vector<std::uint8_t> original = readBytes(entry.path().string());
        const Result<ProjectFile> file = decodeProjectFile(original, entry.path().string());
        ASSERT_TRUE(file.ok()) << file.message();
        const Resaved resaved = openAndSave(folder, original);
        ++seeds;
        // The glyph count follows the face name; its length is the header's last field.
        const auto countAt = [](const std::vector<std::uint8_t>& bytes) {
            return static_cast<long>(48 + bytes.at(44) + 1);
        };
        ASSERT_GE(resaved.bytes.size(), 53u) << entry.path();
        EXPECT_TRUE(std::equal(original.begin() + countAt(original), original.end(),
                               resaved.bytes.begin() + countAt(resaved.bytes), resaved.bytes.end()))
            << entry.path() << ": the records or the extension changed";
        if (resaved.warnings.empty() && resaved.faceName == file->faceName) {
            EXPECT_EQ(resaved.bytes, original) << entry.path();
            ++whole;
        }
    }
    EXPECT_GE(seeds, 11u);
    EXPECT_GT(whole, seeds / 2);
}

// Saved in folder A with the font in A/fonts, both copied to B: the project opens with the font
// in B.
TEST(ProjectExtensionOpen, AFontBeneathTheProjectFolderMovesWithIt) {
    TestFolder folder;
    const fs::path a = folder.root() / "A";
    const fs::path b = folder.root() / "B";
    fs::create_directories(a / "fonts");
    writeBytes((a / "fonts/Game Sans.ttf").string(), {1, 2, 3});

    Project project = startupProject("DejaVu Sans");
    project.font.faceName = "Game Sans";
    project.font.fontFile = (a / "fonts/Game Sans.ttf").string();
    project.font.fontFaceIndex = 1;
    project.glyphs.addCharacter(U'\u30B2');
    ASSERT_TRUE(saveProject((a / "game.fnt").string(), project).ok());
    const Result<ProjectFile> stored = readProjectFile((a / "game.fnt").string());
    ASSERT_TRUE(stored.ok()) << stored.message();
    EXPECT_EQ(stored->extension->fontFile, "fonts/Game Sans.ttf");

    fs::copy(a, b, fs::copy_options::recursive);
    fs::remove_all(a);
    const Result<OpenedProject> opened =
        openProject((b / "game.fnt").string(), kFaces, startupProject("DejaVu Serif"));
    ASSERT_TRUE(opened.ok()) << opened.message();
    EXPECT_TRUE(opened->warnings.empty()) << opened->warnings.front();
    EXPECT_EQ(opened->project.font.fontFile, (b / "fonts/Game Sans.ttf").string());
    EXPECT_EQ(opened->project.font.fontFaceIndex, 1);
    EXPECT_EQ(opened->project.font.faceName, "Game Sans");
    EXPECT_EQ(glyphsOf(opened->project), glyphsOf(project));
}

TEST(ProjectExtensionOpen, AFontOutsideTheProjectFolderIsStoredAbsolute) {
    TestFolder folder;
    const fs::path projectFolder = folder.root() / "game";
    fs::create_directories(projectFolder / "sub");
    Project project = startupProject("DejaVu Sans");
    const struct {
        fs::path font;
        std::string stored;
    } cases[] = {
        {folder.root() / "shared.ttf", (folder.root() / "shared.ttf").string()},
        {folder.root() / "game-fonts/a.ttf", (folder.root() / "game-fonts/a.ttf").string()},
        {projectFolder / "sub/../b.otf", "b.otf"},
        {projectFolder / "sub/c.ttc", "sub/c.ttc"},
    };
    for (const auto& c : cases) {
        project.font.fontFile = c.font.string();
        ASSERT_TRUE(saveProject((projectFolder / "p.fnt").string(), project).ok());
        const Result<ProjectFile> stored = readProjectFile((projectFolder / "p.fnt").string());
        ASSERT_TRUE(stored.ok()) << stored.message();
        EXPECT_EQ(stored->extension->fontFile, c.stored) << c.font;
    }
}

// A stored font file that has gone away: a warning names it, the face falls back, and saving
// stores the same path again.
TEST(ProjectExtensionOpen, AMissingFontFileIsNamedAndKeptThroughSave) {
    TestFolder folder;
    ProjectFile file = japaneseFile();
    file.extension->fontFile = "fonts/Gone.ttf";
    file.extension->fontFaceIndex = 2;
    const std::vector<std::uint8_t> original = encodeProjectFile(file);
    const Resaved resaved = openAndSave(folder, original);
    EXPECT_EQ(resaved.warnings,
              std::vector<std::string>{"the stored font file \"" + folder.path("fonts/Gone.ttf") +
                                       "\" cannot be opened (No such file or directory); using "
                                       "\"DejaVu Sans\""});
    EXPECT_EQ(resaved.bytes, original);

    // A family name that is not installed falls back to the start-up face; the path stays.
    file.faceName = "Gone Sans";
    file.extension->fontFile = "/nonexistent-vemro-folder/Gone.ttf";
    const Result<OpenedProject> opened = [&] {
        writeBytes(folder.path("gone.fnt"), encodeProjectFile(file));
        return openProject(folder.path("gone.fnt"), kFaces, startupProject("DejaVu Serif"));
    }();
    ASSERT_TRUE(opened.ok()) << opened.message();
    EXPECT_EQ(opened->project.font.faceName, "DejaVu Serif");
    EXPECT_EQ(opened->project.font.fontFile, "/nonexistent-vemro-folder/Gone.ttf");
    ASSERT_TRUE(saveProject(folder.path("again.fnt"), opened->project).ok());
    const Result<ProjectFile> again = readProjectFile(folder.path("again.fnt"));
    ASSERT_TRUE(again.ok()) << again.message();
    EXPECT_EQ(again->extension, file.extension);
}

}  // namespace
}  // namespace vemro
