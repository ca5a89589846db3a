#include "files/cli/command_line.h"

#include <gtest/gtest.h>

#include "engine/project/project.h"
#include "tests/files/bmfont_reader.h"
#include "tests/files/export_command_test.h"

#if __has_include("engine/font/freetype_font_renderer.h")
#include "engine/font/freetype_font_renderer.h"
#define VEMRO_HAVE_FREETYPE_RENDERER 1
#endif

namespace vemro {
namespace {

using test::ExportCommandTest;
using test::Outcome;
using test::run;
using testing::FakeFontRenderer;

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(CommandLine, WindowArgumentsReturnNothing) {
    EXPECT_FALSE(run({}).code.has_value());
    EXPECT_FALSE(run({"project.fnt"}).code.has_value());
    EXPECT_FALSE(run({"/some/dir/x.fnt"}).code.has_value());
}

TEST(CommandLine, HelpAndVersionPrintOnStandardOutput) {
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "vemro-font-builder 1.0.0\n");
    EXPECT_EQ(version.err, "");

    const Outcome help = run({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("--export PROJECT.fnt OUTPUT"), std::string::npos);
    EXPECT_EQ(help.err, "");
}

TEST(CommandLine, UsageErrorsExitWithTwoAndPrintUsageOnStandardError) {
    const std::vector<std::vector<std::string>> cases = {
        {"--bogus"},
        {"-"},
        {"--export"},
        {"--export", "a.fnt"},
        {"--export", "a.fnt", "out", "extra"},
        {"--list-faces", "x"},
        {"--version", "--help"},
        {"a.fnt", "b.fnt"},
        {"a.fnt", "--export", "b", "c"},
    };
    for (const auto& args : cases) {
        const Outcome result = run(args);
        EXPECT_EQ(result.code, 2) << args[0];
        EXPECT_EQ(result.out, "") << args[0];
        EXPECT_EQ(result.err.rfind("vemro-font-builder: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find("Usage:"), std::string::npos) << args[0];
    }
    EXPECT_NE(run({"--bogus"}).err.find("unknown option \"--bogus\""), std::string::npos);
}

TEST(CommandLine, ListFacesPrintsTheRendererOrder) {
    FakeFontRenderer renderer({"alpha", "Beta", "gamma Bold"});
    const Outcome result = run({"--list-faces"}, renderer);
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "alpha\nBeta\ngamma Bold\n");
}

TEST_F(ExportCommandTest, ExportsWhatTheLoadedProjectBuilds) {
    const std::string project = writeProject(smallProject());
    const Outcome result = run({"--export", project, folder.path("out.png")}, renderer);
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "");

    ASSERT_FALSE(renderer.requests.empty());
    EXPECT_EQ(renderer.requests.back().faceName, "Beta Serif");
    EXPECT_EQ(renderer.requests.back().pixelHeight, 12);
    EXPECT_EQ(readBytes(folder.path("out.tga")).size(), 18u + 4u * 64u * 128u);
    // Cells: 6 pixels of black box + 16 font border + the glyph's own borders, 12 high.
    EXPECT_EQ(readText(folder.path("out.tfd")),
              "// TORVYN Ravfont. version=\"1.1\" encoding=\"UTF-8\"\r\n"
              "// \"<texture width>\" \"<texture height>\"\r\n"
              "64 128\r\n"
              "// \"<char>\" \"<x>\" \"<y>\" \"<width>\" \"<height>\"\r\n"
              "65 0 0 22 12\r\n"
              "233 23 0 25 12\r\n"
              "65 0 13 22 12\r\n"
              "end\r\n");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"out.tfd", "out.tga", "p.fnt"}));
}

TEST_F(ExportCommandTest, UnmatchedSettingsWarnAndUseTheStartUpDefaults) {
    renderer.defaultFace = "Beta Serif";
    ProjectFile project = smallProject();
    project.faceName = "Nowhere";
    project.weight = 900;
    project.factor = 8;
    const Outcome result = run({"--export", writeProject(project), folder.path("out")}, renderer);
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err,
              "warning: the stored weight 900 matches no entry; using \"Normal\" (400)\n"
              "warning: the stored anti-aliasing factor 8 matches no entry; using \"(none)\" (1)\n"
              "warning: the stored face \"Nowhere\" is not installed; using \"Beta Serif\"\n");
    ASSERT_FALSE(renderer.requests.empty());
    EXPECT_EQ(renderer.requests.back().faceName, "Beta Serif");
    EXPECT_EQ(renderer.requests.back().weight, 400);
}

TEST_F(ExportCommandTest, GlyphsOutsideTheTextureAreCounted) {
    ProjectFile project = smallProject();
    project.textureWidth = 32;
    project.textureHeight = 16;
    project.borderLeft = 0;
    // Cells 6 x 12 and 4 per row: the first row fits, the rest lie below the texture.
    project.glyphs.assign(7, ProjectGlyph{'x', 0, 0});
    const Outcome result = run({"--export", writeProject(project), folder.path("o")}, renderer);
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err, "warning: 3 glyphs lie partly or wholly outside the 32 x 16 texture\n");

    project.glyphs.assign(5, ProjectGlyph{'x', 0, 0});
    const Outcome one = run({"--export", writeProject(project), folder.path("o")}, renderer);
    EXPECT_EQ(one.err, "warning: 1 glyph lies partly or wholly outside the 32 x 16 texture\n");
}

// A font that cannot be made still exports (every cell empty) and says why.
TEST_F(ExportCommandTest, FontThatCannotBeMadeIsAWarning) {
    renderer.failure = "the face \"Beta Serif\" cannot be loaded";
    const Outcome result =
        run({"--export", writeProject(smallProject()), folder.path("out")}, renderer);
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err, "warning: the face \"Beta Serif\" cannot be loaded\n");
    const std::vector<std::uint8_t> image = readBytes(folder.path("out.tga"));
    ASSERT_EQ(image.size(), 18u + 4u * 64u * 128u);
    for (std::size_t alpha = 18 + 3; alpha < image.size(); alpha += 4) {
        ASSERT_EQ(image[alpha], 0) << "pixel " << (alpha - 18) / 4;
    }
    EXPECT_EQ(lineCount(readText(folder.path("out.tfd"))), 3u + 5u);
}

TEST_F(ExportCommandTest, OptionsAfterThePathsAreCheckedBeforeTheProjectIsRead) {
    const std::string missing = folder.path("none.fnt");
    const Outcome unknown = run({"--export", missing, folder.path("out"), "--bogus"}, renderer);
    EXPECT_EQ(unknown.code, 2);
    EXPECT_EQ(unknown.err.rfind("vemro-font-builder: unknown option \"--bogus\"\nUsage:", 0), 0u)
        << unknown.err;

    const Outcome stray = run({"--export", missing, folder.path("out"), "extra"}, renderer);
    EXPECT_EQ(stray.code, 2);
    EXPECT_EQ(stray.err.rfind(
                  "vemro-font-builder: --export takes a project file and an output path\n", 0),
              0u)
        << stray.err;

    // An output that names no file is a usage error too.
    for (const std::string& output : {folder.path(""), folder.path("sub/.png")}) {
        const Outcome nameless = run({"--export", missing, output}, renderer);
        EXPECT_EQ(nameless.code, 2);
        EXPECT_TRUE(nameless.err.starts_with("vemro-font-builder: the output path \"" + output +
                                             "\" names no file"))
            << nameless.err;
    }
    EXPECT_TRUE(renderer.requests.empty());
    EXPECT_TRUE(folder.entries().empty());
}

// A second export of fewer pages to the same name keeps the earlier pages and names them: only
// files of the format's own page naming.
TEST_F(ExportCommandTest, PagesOfAnEarlierExportAreKeptAndNamed) {
    ProjectFile project = smallProject();
    project.glyphs.assign(7, ProjectGlyph{'x', 0, 0});  // 7 pages at 32 x 16, 2 at 64 x 32
    const std::string path = writeProject(project);
    writeBytes(folder.path("o_64.png"), {});
    writeBytes(folder.path("o_2x.tga"), {});
    for (const std::string format : {"bmfont-text", "tfd"}) {
        const std::string left =
            format == "tfd" ? "o_2.tga \u2026 o_6.tfd" : "o_2.png \u2026 o_6.png";
        for (const std::string texture : {"32x16", "64x32"}) {
            const Outcome outcome = run({"--export", path, folder.path("o.x"), "--pages",
                                         "--format", format, "--texture", texture},
                                        renderer);
            EXPECT_EQ(outcome.err,
                      texture == "32x16"
                          ? ""
                          : "warning: " + left + " from an earlier export are still there\n");
        }
    }
    EXPECT_TRUE(std::filesystem::exists(folder.path("o_6.png")) &&
                std::filesystem::exists(folder.path("o_6.tfd")));
}

TEST_F(ExportCommandTest, UnreadableProjectExitsWithOneAndWritesNothing) {
    std::vector<std::uint8_t> bytes = encodeProjectFile(smallProject());
    bytes.pop_back();  // not resize(size - 1), which GCC 12 wrongly warns about with sanitizers
    writeBytes(folder.path("cut.fnt"), bytes);
    for (const std::string& project : {folder.path("cut.fnt"), folder.path("none.fnt")}) {
        const Outcome result = run({"--export", project, folder.path("out")}, renderer);
        EXPECT_EQ(result.code, 1);
        EXPECT_EQ(result.err.rfind("vemro-font-builder: cannot open \"" + project + "\": ", 0), 0u)
            << result.err;
        EXPECT_EQ(lineCount(result.err), 1u);
    }
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"cut.fnt"});
}

TEST_F(ExportCommandTest, UnwritableOutputExitsWithOne) {
    const std::string project = writeProject(smallProject());
    const Outcome result = run({"--export", project, folder.path("missing/out")}, renderer);
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "vemro-font-builder: cannot write \"" + folder.path("missing/out.tga") +
                              "\": No such file or directory\n"
                              "vemro-font-builder: cannot write \"" +
                              folder.path("missing/out.tfd") + "\": No such file or directory\n");
}

#ifdef VEMRO_HAVE_FREETYPE_RENDERER

TEST_F(ExportCommandTest, RealRendererExportsDejaVuSansIdenticallyTwice) {
    FreetypeFontRenderer real;
    const std::vector<std::string>& faces = real.faceNames();
    if (std::find(faces.begin(), faces.end(), "DejaVu Sans") == faces.end()) {
        GTEST_SKIP() << "DejaVu Sans is not installed";
    }
    ProjectFile project;
    project.textureWidth = 256;
    project.textureHeight = 128;
    project.faceName = "dejavu sans";
    project.size = 14;
    project.factor = 2;
    for (int code = 32; code < 127; ++code) {
        project.glyphs.push_back({static_cast<std::uint8_t>(code), 0, 0});
    }
    const std::string path = writeProject(project);
    const Outcome first = run({"--export", path, folder.path("one.tga")}, real);
    ASSERT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(first.err, "");
    const Outcome second = run({"--export", path, folder.path("two")}, real);
    ASSERT_EQ(second.code, 0) << second.err;

    const std::vector<std::uint8_t> image = readBytes(folder.path("one.tga"));
    EXPECT_EQ(image.size(), 18u + 4u * 256u * 128u);
    EXPECT_EQ(image, readBytes(folder.path("two.tga")));
    EXPECT_TRUE(std::any_of(image.begin() + 18, image.end(), [](std::uint8_t b) {
        return b != 0xFF && b != 0;
    })) << "antialiased glyphs leave partial coverage";
    const std::string text = readText(folder.path("one.tfd"));
    EXPECT_EQ(lineCount(text), 95u + 5u);
    EXPECT_EQ(text, readText(folder.path("two.tfd")));
}
#endif

}  // namespace
}  // namespace vemro
