// The headless export with characters beyond Windows-1252: --chars-from, --font-file and the
// warning that lists the characters the face lacks.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "engine/font/freetype_font_renderer.h"
#include "files/cli/command_line.h"
#include "files/project/project_file.h"
#include "tests/fake_font_renderer.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

using testing::FakeFontRenderer;

struct Outcome {
    std::optional<int> code;
    std::string err;
};

Outcome run(std::vector<std::string> args, FontRenderer& renderer) {
    std::ostringstream out;
    std::ostringstream err;
    const std::optional<int> code = runCommandLine(args, renderer, out, err);
    return {code, err.str()};
}

class ExportUnicodeTest : public ::testing::Test {
protected:
    // 64 x 128, 9 points (the fake's cells are 6 x 12 pixels), "Beta Serif", A with character
    // borders 1 and 2, b, and the characters given.
    std::string writeProject(const std::u32string& more = U"") {
        ProjectFile project;
        project.textureWidth = 64;
        project.textureHeight = 128;
        project.size = 9;
        project.faceName = "Beta Serif";
        project.glyphs = {{'A', 1, 2}, {'b', 0, 0}};
        if (!more.empty()) {
            project.extension.emplace().project.textureSize = {64, 128};
            project.extension->project.glyphs = {{U'A', 1, 2}, {U'b', 0, 0}};
            for (const char32_t code : more) {
                project.extension->project.glyphs.append({code, 0, 0});
            }
        }
        EXPECT_TRUE(writeProjectFile(folder.path("p.fnt"), project).ok());
        return folder.path("p.fnt");
    }

    std::string writeText(const std::string& name, const std::string& text) {
        writeBytes(folder.path(name), std::vector<std::uint8_t>(text.begin(), text.end()));
        return folder.path(name);
    }

    TestFolder folder;
    FakeFontRenderer renderer;
};

TEST_F(ExportUnicodeTest, CharsFromAddsNewCharactersAfterTheProjectsOwnAndListsTheMissing) {
    // A byte-order mark, A and b again, line breaks (a line and a paragraph separator among them)
    // and a tab, a kana twice, an ideograph and an astral emoji.
    const std::string strings =
        writeText("strings.txt",
                  "\xEF\xBB\xBF"
                  "bA\n\xE3\x82\xA2\xE2\x80\xA8\xE6\xBC\xA2\t\xE3\x82\xA2\xE2\x80\xA9"
                  "\xF0\x9F\x98\x80");
    const Outcome result =
        run({"--export", writeProject(), folder.path("out"), "--chars-from", strings}, renderer);
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.err,
              "warning: 3 characters are not in Beta Serif: U+30A2 \xE3\x82\xA2, "
              "U+6F22 \xE6\xBC\xA2, U+1F600 \xF0\x9F\x98\x80\n");
    // A keeps its place and borders (6 + 1 + 2 pixels wide); a character without a
    // Windows-1252 byte is its code point in decimal.
    EXPECT_NE(readText(folder.path("out.tfd"))
                  .find("65 0 0 9 12\r\n98 10 0 6 12\r\n12450 17 0 6 12\r\n28450 24 0 6 12\r\n"
                        "128512 31 0 6 12\r\nend"),
              std::string::npos);
    EXPECT_FALSE(readProjectFile(folder.path("p.fnt"))->extension.has_value());

    const Outcome one =
        run({"--export", writeProject(U"\u4E00\u0416"), folder.path("o")}, renderer);
    EXPECT_EQ(one.err, "warning: 1 character is not in Beta Serif: U+4E00 \xE4\xB8\x80\n");
}

TEST_F(ExportUnicodeTest, FilesThatCannotBeUsedExitWithOneAndWriteNothing) {
    const std::string project = writeProject();
    const std::string bad = writeText("bad.txt",
                                      "ab\xE3\x82"
                                      "cd");  // a kana cut short at 2
    const std::string notFont = writeText("notes.txt", "not a font");
    const std::string pipe = folder.path("pipe.ttf");  // reading it would block
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--chars-from", bad},
         "--chars-from: cannot read characters from \"" + bad + "\": invalid UTF-8 at byte 2 "},
        {{"--chars-from", folder.path("none.txt")},
         "--chars-from: cannot read characters from \"" + folder.path("none.txt") +
             "\": No such file or directory\n"},
        {{"--font-file", notFont},
         "--font-file: cannot use the font file \"" + notFont + "\": not a font\n"},
        {{"--font-file", pipe},
         "--font-file: the font file \"" + pipe +
             "\" could not be opened: it is not a regular file\n"},
    };
    for (const auto& [options, message] : cases) {
        std::vector<std::string> args = {"--export", project, folder.path("out")};
        args.insert(args.end(), options.begin(), options.end());
        const Outcome result = run(args, renderer);
        EXPECT_EQ(result.code, 1);
        EXPECT_EQ(result.err.rfind("vemro-font-builder: " + message, 0), 0u) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
    }
    EXPECT_EQ(folder.entries(),
              (std::vector<std::string>{"bad.txt", "notes.txt", "p.fnt", "pipe.ttf"}));

    std::ostringstream help;
    std::ostringstream err;
    EXPECT_EQ(runCommandLine({"--help"}, renderer, help, err), 0);
    EXPECT_NE(help.str().find("--chars-from FILE"), std::string::npos);
    EXPECT_NE(help.str().find("--font-file PATH"), std::string::npos);
}

TEST_F(ExportUnicodeTest, FontFileReplacesTheProjectsFace) {
    const std::string font = writeText("Gamma.otf", "font");
    renderer.fontFiles[font] = "Gamma Mono";
    const Outcome result = run(
        {"--export", writeProject(U"\u0416"), folder.path("out"), "--font-file", font}, renderer);
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    ASSERT_FALSE(renderer.requests.empty());
    EXPECT_EQ(renderer.requests.back().fontFile, font);
    EXPECT_EQ(renderer.requests.back().faceIndex, 0);
}

// DejaVu Sans has Cyrillic and Greek but no kana and no ideographs.
TEST_F(ExportUnicodeTest, RealFacesReportWhatTheyLack) {
    FreetypeFontRenderer real;
    const auto& faces = real.faceNames();
    if (std::find(faces.begin(), faces.end(), "DejaVu Sans") == faces.end()) {
        GTEST_SKIP() << "DejaVu Sans is not installed";
    }
    ProjectFile project;
    project.faceName = "DejaVu Sans";
    project.extension.emplace().project.glyphs = {
        {U'\u0416', 0, 0}, {U'\u03A9', 0, 0}, {U'\u30A2', 0, 0}, {U'\u65E5', 0, 0}};
    const std::string path = folder.path("scripts.fnt");
    ASSERT_TRUE(writeProjectFile(path, project).ok());
    EXPECT_EQ(run({"--export", path, folder.path("dejavu")}, real).err,
              "warning: 2 characters are not in DejaVu Sans: U+30A2 \xE3\x82\xA2, U+65E5 "
              "\xE6\x97\xA5\n");
}

}  // namespace
}  // namespace vemro
