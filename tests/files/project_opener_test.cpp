#include "files/project/project_opener.h"

#include <gtest/gtest.h>

#include <limits>

#include "engine/text/windows1252.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

const std::vector<std::string> kFaces = {"Alpha Sans", "DejaVu Sans", "Zeta"};

// What the window shows while the user works: every setting away from the start-up choice.
Project windowProject() {
    Project project;
    project.textureSize = {64, 64};
    project.fontBorders = {5, 5, 5, 5};
    project.font.faceName = "Zeta";
    project.font.size = 40;
    project.font.weight = FontSettings::kWeightBold;
    project.font.quality = FontSettings::kQualityNonAntialiased;
    project.font.factor = 3;
    project.font.italic = true;
    project.glyphs.addCharacter(U'q');
    return project;
}

ProjectFile matchingProject() {
    ProjectFile file;
    file.textureWidth = 128;
    file.textureHeight = 512;
    file.borderLeft = 1;
    file.borderTop = 2;
    file.borderRight = 3;
    file.borderBottom = 4;
    file.size = 24;
    file.weight = 600;
    file.quality = 3;
    file.factor = 3;
    file.italic = 1;
    file.faceName = "DejaVu Sans";
    return file;
}

TEST(ApplyProjectFile, MatchingValuesAreTakenWithoutWarnings) {
    ProjectFile file = matchingProject();
    file.glyphs = {{'A', 20, -5}, {0x80, 0, 0}, {'A', 1, 1}, {0xE9, 0, 3}, {0x81, 0, 0}};
    const OpenedProject opened = applyProjectFile(file, kFaces, windowProject());
    EXPECT_TRUE(opened.warnings.empty());
    const Project& project = opened.document.project;
    EXPECT_EQ(project.textureSize, (AtlasSize{128, 512}));
    EXPECT_EQ(project.fontBorders, (FontBorders{1, 2, 3, 4}));
    EXPECT_EQ(project.font.faceName, "DejaVu Sans");
    EXPECT_EQ(project.font.size, 24);
    EXPECT_EQ(project.font.weight, 600);
    EXPECT_EQ(project.font.quality, 3);
    EXPECT_EQ(project.font.factor, 3);
    EXPECT_TRUE(project.font.italic);
    // Records stay as stored, duplicates and character borders beyond the spins included; the
    // bytes become the characters Windows-1252 gives them (0x80 is the euro sign, 0x81 is left
    // undefined and keeps its own value). Nothing of the fallback's list remains.
    const std::vector<Glyph> expected = {
        {U'A', 20, -5}, {U'\u20AC', 0, 0}, {U'A', 1, 1}, {U'\u00E9', 0, 3}, {U'\u0081', 0, 0}};
    EXPECT_EQ(std::vector<Glyph>(project.glyphs.begin(), project.glyphs.end()), expected);
}

TEST(ApplyProjectFile, BordersAndSizePassThroughTheSpins) {
    const struct {
        std::int32_t stored;
        std::int32_t border;
        std::int32_t size;
    } cases[] = {
        {20, 16, 20},   {-3, 0, 5},        {65536 + 5, 5, 5}, {65536 + 50, 16, 50},
        {0x8000, 0, 5}, {0x7FFF, 16, 100}, {0x1FFFF, 0, 5},   {300, 16, 100},
        {16, 16, 16},   {INT32_MIN, 0, 5}, {4, 4, 5},         {100, 16, 100},
    };
    for (const auto& c : cases) {
        ProjectFile file = matchingProject();
        file.borderLeft = c.stored;
        file.borderTop = c.stored;
        file.borderRight = c.stored;
        file.borderBottom = c.stored;
        file.size = c.stored;
        const OpenedProject opened = applyProjectFile(file, kFaces, windowProject());
        EXPECT_EQ(opened.document.project.fontBorders,
                  (FontBorders{c.border, c.border, c.border, c.border}))
            << "stored " << c.stored;
        EXPECT_EQ(opened.document.project.font.size, c.size) << "stored " << c.stored;
        EXPECT_TRUE(opened.warnings.empty());
    }
}

TEST(ApplyProjectFile, FaceMatchesIgnoringAsciiCaseAndUsesTheInstalledSpelling) {
    ProjectFile file = matchingProject();
    file.faceName = "dEJAVU sANS";
    OpenedProject opened = applyProjectFile(file, kFaces, windowProject());
    EXPECT_EQ(opened.document.project.font.faceName, "DejaVu Sans");
    EXPECT_TRUE(opened.warnings.empty());

    // Letters beyond ASCII are compared as they are.
    const std::vector<std::string> accented = {"\xC9tude"};
    file.faceName = "\xE9tude";
    opened = applyProjectFile(file, accented, windowProject());
    EXPECT_EQ(opened.document.project.font.faceName, "Zeta");
    ASSERT_EQ(opened.warnings.size(), 1u);
}

ProjectFile unmatchedProject() {
    ProjectFile file = matchingProject();
    file.faceName = "Comic Something";
    file.weight = 500;
    file.quality = 5;
    file.factor = 0;
    file.italic = -7;
    return file;
}

// File > Open keeps what the window shows for every value that matches nothing.
TEST(ApplyProjectFile, UnmatchedValuesKeepTheWindowsChoiceAndWarn) {
    const OpenedProject opened = applyProjectFile(unmatchedProject(), kFaces, windowProject());
    EXPECT_EQ(opened.document.project.font.weight, 700);
    EXPECT_EQ(opened.document.project.font.quality, 3);
    EXPECT_EQ(opened.document.project.font.factor, 3);
    EXPECT_EQ(opened.document.project.font.faceName, "Zeta");
    EXPECT_TRUE(opened.document.project.font.italic);
    EXPECT_EQ(opened.document.project.font.size, 24);
    const std::vector<std::string> expected = {
        "the stored weight 500 matches no entry; using \"Bold\" (700)",
        "the stored quality 5 matches no entry; using \"non-Antialiased\" (3)",
        "the stored anti-aliasing factor 0 matches no entry; using \"3x3\" (3)",
        "the stored face \"Comic Something\" is not installed; using \"Zeta\"",
    };
    EXPECT_EQ(opened.warnings, expected);
}

// Whatever numbers a readable header holds, the project it opens as has every value in the range
// the engine takes it in (the extension's values are refused when out of range).
TEST(ApplyProjectFile, EveryValueComesInItsRange) {
    const std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    for (const std::int32_t stored : {kMin, -70000, -1, 0, 1, 4, 17, 101, 65541, kMax}) {
        ProjectFile file = matchingProject();
        file.borderLeft = file.borderTop = file.borderRight = file.borderBottom = stored;
        file.size = file.weight = file.quality = file.factor = file.italic = stored;
        EXPECT_TRUE(
            withinRanges(applyProjectFile(file, kFaces, startupProject("Zeta")).document.project))
            << stored;
    }
}

// The headless command falls back on what a new session starts with: Normal, Antialiased, no
// supersampling and the renderer's default face.
TEST(ApplyProjectFile, UnmatchedValuesFromTheStartUpProjectAreTheStartUpChoices) {
    const OpenedProject opened =
        applyProjectFile(unmatchedProject(), kFaces, startupProject("Alpha Sans"));
    EXPECT_EQ(opened.document.project.font.weight, 400);
    EXPECT_EQ(opened.document.project.font.quality, 4);
    EXPECT_EQ(opened.document.project.font.factor, 1);
    EXPECT_EQ(opened.document.project.font.faceName, "Alpha Sans");
    const std::vector<std::string> expected = {
        "the stored weight 500 matches no entry; using \"Normal\" (400)",
        "the stored quality 5 matches no entry; using \"Antialiased\" (4)",
        "the stored anti-aliasing factor 0 matches no entry; using \"(none)\" (1)",
        "the stored face \"Comic Something\" is not installed; using \"Alpha Sans\"",
    };
    EXPECT_EQ(opened.warnings, expected);
}

TEST(ProjectFileFor, StoresTheProjectWithWindows1252Records) {
    Project project;
    project.textureSize = {512, 64};
    project.fontBorders = {1, 2, 3, 4};
    project.font.faceName = "Zeta";
    project.font.size = 300;
    project.font.weight = 700;
    project.font.quality = 3;
    project.font.factor = 2;
    project.font.italic = true;
    project.glyphs.append({U'\u00E9', 20, -1});
    project.glyphs.append({U'x', 20, -1});
    project.glyphs.append({U'\u0178', 0, 0});  // Y with diaeresis is 0x9F
    project.glyphs.append({U'x', 20, -1});

    ProjectFile expected;
    expected.textureWidth = 512;
    expected.textureHeight = 64;
    expected.borderLeft = 1;
    expected.borderTop = 2;
    expected.borderRight = 3;
    expected.borderBottom = 4;
    expected.size = 100;
    expected.weight = 700;
    expected.quality = 3;
    expected.factor = 2;
    expected.italic = 1;
    expected.faceName = "Zeta";
    expected.glyphs = {{0xE9, 20, -1}, {'x', 20, -1}, {0x9F, 0, 0}, {'x', 20, -1}};
    EXPECT_EQ(projectFileFor(Document{project}), expected);

    project.font.size = 2;
    project.font.italic = false;
    const ProjectFile small = projectFileFor(Document{project});
    EXPECT_EQ(small.size, 5);
    EXPECT_EQ(small.italic, 0);
}

TEST(OpenProject, SavedProjectOpensAsItWasAndFailuresNameTheFile) {
    TestFolder folder;
    Project project = windowProject();
    project.font.faceName = "DejaVu Sans";
    for (int code = 32; code <= 255; ++code) {
        project.glyphs.append({windows1252ToUnicode(static_cast<std::uint8_t>(code)), 1, -2});
    }
    const std::string path = folder.path("saved.fnt");
    ASSERT_TRUE(saveProject(path, Document{project}).ok());
    const Result<OpenedProject> opened = openProject(path, kFaces, startupProject("Zeta"));
    ASSERT_TRUE(opened.ok()) << opened.message();
    EXPECT_TRUE(opened->warnings.empty());
    EXPECT_EQ(opened->document.project, project);

    const Result<OpenedProject> missing =
        openProject(folder.path("gone.fnt"), kFaces, windowProject());
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.message(),
              "cannot open \"" + folder.path("gone.fnt") + "\": No such file or directory");
}

}  // namespace
}  // namespace vemro
