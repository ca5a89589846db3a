// The export options override the opened project for one export: packing, format and pages,
// effects and kerning; a value out of range is a usage error naming the option.
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

// The stored export settings choose the format and the pages; the options override them for one
// export, and a value they do not know is a usage error.
TEST_F(ExportCommandTest, FormatAndPagesComeFromTheProjectUnlessAnOptionSaysOtherwise) {
    ProjectFile stored = smallProject();
    stored.extension.emplace().project.textureSize = {stored.textureWidth, stored.textureHeight};
    stored.extension->project.glyphs = {{U'A', 0, 0}, {U'\u00E9', 1, 2}};
    stored.glyphs = windows1252Records(stored.extension->project.glyphs);
    stored.extension->exportSettings = {DescriptorFormat::BmfontXml, PageImage::Tga};
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
    EXPECT_TRUE(renderer.requests.back().distanceField);
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
    stored.extension.emplace().project.textureSize = {stored.textureWidth, stored.textureHeight};
    stored.extension->project.glyphs = {{U'A', 0, 0}};
    stored.glyphs = windows1252Records(stored.extension->project.glyphs);
    stored.extension->project.effects.distanceField = DistanceField::Sdf;
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

// The .tfd format has no y offsets: trimming changes nothing in it.
TEST_F(ExportCommandTest, TfdNeverTrimsCells) {
    FreetypeFontRenderer real;
    for (const std::string trim : {"--trim", "--no-trim"}) {
        const Outcome result = run({"export", "--face", "DejaVu Sans", "--chars", "32-126",
                                    "--format", "tfd", trim, "-o", folder.path(trim.substr(2))},
                                   real);
        ASSERT_EQ(result.code, 0) << result.err;
    }
    EXPECT_EQ(readBytes(folder.path("trim.tga")), readBytes(folder.path("no-trim.tga")));
    EXPECT_EQ(readBytes(folder.path("trim.tfd")), readBytes(folder.path("no-trim.tfd")));
}
#endif

}  // namespace
}  // namespace vemro
