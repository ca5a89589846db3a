#include "files/cli/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "engine/project/project.h"
#include "files/project/project_file.h"
#include "tests/files/bmfont_reader.h"
#include "tests/files/fake_font_renderer.h"
#include "tests/files/test_folder.h"

#if __has_include("engine/font/freetype_font_renderer.h")
#include "engine/font/freetype_font_renderer.h"
#define VEMRO_HAVE_FREETYPE_RENDERER 1
#endif

namespace vemro {
namespace {

struct Outcome {
    std::optional<int> code;
    std::string out;
    std::string err;
};

Outcome run(const std::vector<std::string>& args, FontRenderer& renderer) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome result;
    result.code = runCommandLine(args, renderer, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

Outcome run(const std::vector<std::string>& args) {
    FakeFontRenderer renderer;
    return run(args, renderer);
}

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

class ExportCommandTest : public ::testing::Test {
protected:
    std::string writeProject(const ProjectFile& project, const std::string& name = "p.fnt") {
        const std::string path = folder.path(name);
        EXPECT_TRUE(writeProjectFile(path, project).ok());
        return path;
    }

    static ProjectFile smallProject() {
        ProjectFile project;
        project.textureWidth = 64;
        project.textureHeight = 128;
        project.faceName = "beta serif";
        project.size = 9;
        project.borderLeft = 20;  // the spin keeps 16
        project.glyphs = {{'A', 0, 0}, {233, 1, 2}, {'A', 0, 0}};
        return project;
    }

    TestFolder folder;
    FakeFontRenderer renderer;
};

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
    renderer.failFonts = true;
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

TEST_F(ExportCommandTest, PackingOptionsOverrideTheProjectForThisExport) {
    // Cells of 22, 25 and 22 x 12 pixels (a 16-pixel border, 6 of ink, 3 character borders).
    const std::string project = writeProject(smallProject());
    const std::vector<std::uint8_t> stored = readBytes(project);
    const std::string output = folder.path("out.tga");
    Outcome result = run({"--export", project, output, "--texture", "32x16", "--pages", "--packer",
                          "tight", "--spacing", "0"},
                         renderer);
    EXPECT_EQ(result.code, 0) << result.err;
    const auto description = [](const std::string& size, const std::string& lines) {
        return "// TORVYN Ravfont. version=\"1.1\" encoding=\"UTF-8\"\r\n"
               "// \"<texture width>\" \"<texture height>\"\r\n" +
               size + "\r\n// \"<char>\" \"<x>\" \"<y>\" \"<width>\" \"<height>\"\r\n" + lines +
               "end\r\n";
    };
    // One cell per page, the widest first.
    EXPECT_EQ(readText(folder.path("out.tfd")), description("32 16", "233 0 0 25 12\r\n"));
    EXPECT_EQ(readText(folder.path("out_2.tfd")), description("32 16", "65 0 0 22 12\r\n"));
    EXPECT_EQ(readBytes(project), stored);

    // The smallest power-of-two texture holding all three: of 64 x 32 and 32 x 64, the wider.
    result = run({"--export", project, output, "--texture", "4096x4096", "--fit"}, renderer);
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(readText(folder.path("out.tfd")),
              description("64 32", "65 0 0 22 12\r\n233 23 0 25 12\r\n65 0 13 22 12\r\n"));

    for (const auto& [option, value] :
         std::vector<std::pair<std::string, std::string>>{{"--texture", "0x5"},
                                                          {"--texture", "4097x1"},
                                                          {"--texture", "12"},
                                                          {"--texture", "12x"},
                                                          {"--texture", "+5x5"},
                                                          {"--spacing", "17"},
                                                          {"--spacing", "-1"},
                                                          {"--spacing", "one"},
                                                          {"--packer", "skyline"}}) {
        result = run({"--export", project, output, option, value}, renderer);
        EXPECT_EQ(result.code, 2) << option << " " << value;
        EXPECT_EQ(result.err.rfind("vemro-font-builder: " + option + ": \"" + value + "\"", 0), 0u)
            << result.err;
    }
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

// The stored export settings choose the format and the pages; the options override them for one
// export, and a value they do not know is a usage error.
TEST_F(ExportCommandTest, FormatAndPagesComeFromTheProjectUnlessAnOptionSaysOtherwise) {
    ProjectFile stored = smallProject();
    stored.extension.emplace();
    stored.extension->characters = {{U'A', 0, 0}, {U'\u00E9', 1, 2}};
    stored.glyphs = windows1252Records(stored.extension->characters);
    stored.extension->exportSection =
        ExportSection{{DescriptorFormat::BmfontXml, PageImage::Tga}, true};
    const std::string project = writeProject(stored);

    const Outcome xml = run({"--export", project, folder.path("x.png")}, renderer);
    ASSERT_EQ(xml.code, 0) << xml.err;
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"p.fnt", "x.fnt", "x_0.tga"}));
    EXPECT_TRUE(readText(folder.path("x.fnt")).starts_with("<?xml"));
    EXPECT_EQ(test::readBmfont(readBytes(folder.path("x.fnt"))).order,
              (std::vector<std::uint32_t>{'A', 0xE9}));

    const Outcome json = run(
        {"--export", project, folder.path("j"), "--image", "png8", "--format", "json"}, renderer);
    ASSERT_EQ(json.code, 0) << json.err;
    EXPECT_EQ(test::readBmfont(readBytes(folder.path("j.json"))).error, "");
    EXPECT_EQ(readBytes(folder.path("j_0.png")).at(25), 3) << "an indexed PNG";

    const Outcome bad = run({"--export", project, folder.path("b"), "--image", "jpg"}, renderer);
    EXPECT_EQ(bad.code, 2);
    EXPECT_TRUE(bad.err.starts_with(
        "vemro-font-builder: --image: \"jpg\" is no page image: give png, png8 or tga\n"))
        << bad.err;
    const std::string help = run({"--help"}).out;
    for (const char* option :
         {"--texture WxH", "--fit", "--pages", "--packer rows|tight", "--spacing N",
          "--format tfd|bmfont-text|bmfont-xml|bmfont-binary|json", "--image png|png8|tga",
          "--no-kerning"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
}

// The effect options override the project for one export; of a distance field and an outline or
// shadow, the option given last counts. A value out of range is a usage error naming the option.
TEST_F(ExportCommandTest, EffectOptionsOverrideTheProjectForThisExport) {
    ProjectFile stored = smallProject();
    stored.factor = 3;
    const std::string project = writeProject(stored);
    const std::vector<std::uint8_t> bytes = readBytes(project);
    const auto exported = [&](std::vector<std::string> options, const std::string& name) {
        std::vector<std::string> args{"--export", project, folder.path(name), "--format", "json",
                                      "--image",  "png8"};
        args.insert(args.end(), options.begin(), options.end());
        const Outcome outcome = run(args, renderer);
        EXPECT_EQ(outcome.code, 0) << outcome.err;
        return test::readBmfont(readBytes(folder.path(name + ".json")));
    };
    const test::ReadFont coloured =
        exported({"--fill", "ff8000", "--shadow", "-1,2,1,0000FF80", "--outline", "2,00FF00"}, "c");
    EXPECT_EQ(coloured.info.at("outline") + coloured.common.at("alphaChnl"), "22");
    EXPECT_EQ(readBytes(folder.path("c_0.png")).at(25), 6) << "an RGBA PNG";
    EXPECT_FALSE(renderer.requests.back().distanceField);

    const test::ReadFont field = exported({"--outline", "3", "--sdf", "5"}, "f");
    EXPECT_EQ(field.distanceField.at("distanceRange") + field.info.at("outline"), "100");
    EXPECT_TRUE(renderer.requests.back().distanceField && renderer.requests.back().spread == 5);
    EXPECT_EQ(renderer.requests.back().pixelHeight, pixelHeightFor(stored.size, 1));
    const test::ReadFont outline = exported({"--sdf", "5", "--outline", "3"}, "o");
    EXPECT_TRUE(outline.distanceField.empty() && outline.info.at("outline") == "3");
    EXPECT_EQ(readBytes(project), bytes);

    // A fill does nothing to a distance field, given before or after it or with the project's.
    const auto fillWarned = [&](const std::string& path, std::vector<std::string> args) {
        args.insert(args.begin(), {"--export", path, folder.path("w")});
        const std::string warning = "warning: --fill has no effect on a distance field\n";
        return run(args, renderer).err.find(warning) != std::string::npos;
    };
    EXPECT_TRUE(fillWarned(project, {"--fill", "FF8000", "--sdf", "4"}));
    EXPECT_TRUE(fillWarned(project, {"--sdf", "4", "--fill", "FF8000"}));
    EXPECT_FALSE(fillWarned(project, {"--sdf", "4", "--fill", "FF8000", "--outline", "2"}));
    stored.extension.emplace().characters = {{U'A', 0, 0}};
    stored.glyphs = windows1252Records(stored.extension->characters);
    stored.extension->effects.emplace().distanceField = true;
    EXPECT_TRUE(fillWarned(writeProject(stored, "field.fnt"), {"--fill", "FF8000"}));

    const char* bad[][2] = {{"--fill", "FF00"},      {"--fill", "#FF0000"},  {"--outline", "17"},
                            {"--outline", "2,FF00"}, {"--shadow", "1,2"},    {"--shadow", "1,2,9"},
                            {"--shadow", "-17,0,0"}, {"--shadow", "1,+2,0"}, {"--sdf", "33"}};
    for (const auto& [option, value] : bad) {
        const Outcome result =
            run({"--export", project, folder.path("bad"), option, value}, renderer);
        EXPECT_EQ(result.code, 2) << option << " " << value;
        EXPECT_EQ(result.err.rfind(
                      "vemro-font-builder: " + std::string(option) + ": \"" + value + "\"", 0),
                  0u)
            << result.err;
    }
}

#ifdef VEMRO_HAVE_FREETYPE_RENDERER
TEST_F(ExportCommandTest, NoKerningLeavesThePairsOutOfTheDescriptor) {
    FreetypeFontRenderer real;
    ProjectFile project = smallProject();
    project.faceName = "DejaVu Sans";
    project.glyphs = {{'A', 0, 0}, {'V', 0, 0}, {'T', 0, 0}, {'o', 0, 0}};
    const std::string path = writeProject(project);
    const Outcome kerned =
        run({"--export", path, folder.path("k"), "--format", "bmfont-text"}, real);
    ASSERT_EQ(kerned.code, 0) << kerned.err;
    EXPECT_LT(test::readBmfont(readBytes(folder.path("k.fnt"))).kernings.at({'A', 'V'}), 0);
    const Outcome plain =
        run({"--export", path, folder.path("n"), "--no-kerning", "--format", "bmfont-text"}, real);
    ASSERT_EQ(plain.code, 0) << plain.err;
    EXPECT_TRUE(test::readBmfont(readBytes(folder.path("n.fnt"))).kernings.empty());
}

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
