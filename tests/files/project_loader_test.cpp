#include "files/project_loader.h"

#include <gtest/gtest.h>

#include "tests/files/fake_font_renderer.h"

namespace vemro {
namespace {

const std::vector<std::string> kFaces = {"Alpha Sans", "DejaVu Sans", "Zeta"};

FontSettings fallbackSettings() {
    FontSettings settings;
    settings.faceName = "Alpha Sans";
    return settings;
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

TEST(LoadProject, MatchingValuesAreTakenWithoutWarnings) {
    ProjectFile file = matchingProject();
    file.glyphs = {{'A', 20, -5}, {'B', 0, 0}, {'A', 1, 1}};
    const LoadedProject loaded = loadProject(file, kFaces, fallbackSettings());
    EXPECT_TRUE(loaded.warnings.empty());
    EXPECT_EQ(loaded.textureSize, (AtlasSize{128, 512}));
    EXPECT_EQ(loaded.fontBorders, (FontBorders{1, 2, 3, 4}));
    EXPECT_EQ(loaded.settings.faceName, "DejaVu Sans");
    EXPECT_EQ(loaded.settings.size, 24);
    EXPECT_EQ(loaded.settings.weight, 600);
    EXPECT_EQ(loaded.settings.quality, 3);
    EXPECT_EQ(loaded.settings.factor, 3);
    EXPECT_TRUE(loaded.settings.italic);
    // Records stay as stored, duplicates and character borders beyond the spins included.
    ASSERT_EQ(loaded.glyphs.size(), 3u);
    EXPECT_EQ(loaded.glyphs[0].code, 'A');
    EXPECT_EQ(loaded.glyphs[0].charBorderLeft, 20);
    EXPECT_EQ(loaded.glyphs[0].charBorderRight, -5);
    EXPECT_EQ(loaded.glyphs[1].code, 'B');
    EXPECT_EQ(loaded.glyphs[2].code, 'A');
    EXPECT_EQ(loaded.glyphs[2].charBorderLeft, 1);
}

TEST(LoadProject, BordersAndSizePassThroughTheSpins) {
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
        const LoadedProject loaded = loadProject(file, kFaces, fallbackSettings());
        EXPECT_EQ(loaded.fontBorders, (FontBorders{c.border, c.border, c.border, c.border}))
            << "stored " << c.stored;
        EXPECT_EQ(loaded.settings.size, c.size) << "stored " << c.stored;
        EXPECT_TRUE(loaded.warnings.empty());
    }
}

TEST(LoadProject, FaceMatchesIgnoringAsciiCaseAndUsesTheInstalledSpelling) {
    ProjectFile file = matchingProject();
    file.faceName = "dEJAVU sANS";
    LoadedProject loaded = loadProject(file, kFaces, fallbackSettings());
    EXPECT_EQ(loaded.settings.faceName, "DejaVu Sans");
    EXPECT_TRUE(loaded.warnings.empty());

    // Letters beyond ASCII are compared as they are.
    const std::vector<std::string> accented = {"\xC9tude"};
    file.faceName = "\xE9tude";
    loaded = loadProject(file, accented, fallbackSettings());
    EXPECT_EQ(loaded.settings.faceName, "Alpha Sans");
    ASSERT_EQ(loaded.warnings.size(), 1u);
}

TEST(LoadProject, UnmatchedValuesKeepTheFallbackAndWarn) {
    ProjectFile file = matchingProject();
    file.faceName = "Comic Something";
    file.weight = 500;
    file.quality = 5;
    file.factor = 0;
    file.italic = -7;
    FontSettings fallback = fallbackSettings();
    fallback.weight = 700;
    const LoadedProject loaded = loadProject(file, kFaces, fallback);
    EXPECT_EQ(loaded.settings.weight, 700);
    EXPECT_EQ(loaded.settings.quality, 4);
    EXPECT_EQ(loaded.settings.factor, 1);
    EXPECT_EQ(loaded.settings.faceName, "Alpha Sans");
    EXPECT_TRUE(loaded.settings.italic);
    const std::vector<std::string> expected = {
        "the stored weight 500 matches no entry; using \"Bold\" (700)",
        "the stored quality 5 matches no entry; using \"Antialiased\" (4)",
        "the stored anti-aliasing factor 0 matches no entry; using \"(none)\" (1)",
        "the stored face \"Comic Something\" is not installed; using \"Alpha Sans\"",
    };
    EXPECT_EQ(loaded.warnings, expected);
}

TEST(MakeProjectFile, TakesTheAtlasInputsAndTheShownSettings) {
    FakeFontRenderer renderer;
    Atlas atlas(renderer);
    atlas.setTextureSize({512, 64});
    atlas.setFontBorders({1, 2, 3, 4});
    Glyph glyph;
    glyph.code = 233;
    glyph.charBorderLeft = 20;
    glyph.charBorderRight = -1;
    atlas.glyphs().append(glyph);
    glyph.code = 'x';
    atlas.glyphs().append(glyph);
    atlas.glyphs().append(glyph);

    FontSettings settings;
    settings.faceName = "Zeta";
    settings.size = 300;
    settings.weight = 700;
    settings.quality = 3;
    settings.factor = 2;
    settings.italic = true;

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
    expected.glyphs = {{233, 20, -1}, {'x', 20, -1}, {'x', 20, -1}};
    EXPECT_EQ(makeProjectFile(atlas, settings), expected);

    settings.size = 2;
    settings.italic = false;
    const ProjectFile small = makeProjectFile(atlas, settings);
    EXPECT_EQ(small.size, 5);
    EXPECT_EQ(small.italic, 0);

    // Loading what was made gives the atlas inputs and settings back.
    const LoadedProject loaded = loadProject(expected, {"Zeta"}, FontSettings{});
    EXPECT_EQ(loaded.glyphs, atlas.glyphs());
    EXPECT_EQ(loaded.textureSize, atlas.textureSize());
    EXPECT_EQ(loaded.fontBorders, atlas.fontBorders());
    settings.size = 100;
    settings.italic = true;
    EXPECT_EQ(loaded.settings, settings);
}

}  // namespace
}  // namespace vemro
