// The headless export with characters beyond Windows-1252: --chars-from, --font-file and the
// warning that lists the characters the face lacks.
#include <gtest/gtest.h>

#include <sstream>

#include "files/command_line.h"
#include "files/project_file.h"
#include "tests/files/fake_font_renderer.h"
#include "tests/files/test_folder.h"

#if __has_include("engine/freetype_font_renderer.h")
#include "engine/freetype_font_renderer.h"
#define VEMRO_HAVE_FREETYPE_RENDERER 1
#endif

namespace vemro {
namespace {

struct Outcome {
    std::optional<int> code;
    std::string err;
};

class ExportUnicodeTest : public ::testing::Test {
protected:
    Outcome run(std::vector<std::string> args) {
        std::ostringstream out;
        std::ostringstream err;
        const std::optional<int> code = runCommandLine(args, renderer, out, err);
        EXPECT_EQ(out.str(), "");
        return {code, err.str()};
    }

    // 64 x 128, 9 points (12 pixels: the fake's cells are 6 wide and 12 high), "Beta Serif",
    // A with character borders 1 and 2, then b.
    std::string writeProject(const std::u32string& more = U"") {
        ProjectFile project;
        project.textureWidth = 64;
        project.textureHeight = 128;
        project.size = 9;
        project.faceName = "Beta Serif";
        project.glyphs = {{'A', 1, 2}, {'b', 0, 0}};
        if (!more.empty()) {
            ProjectExtension& extension = project.extension.emplace();
            extension.characters = {{U'A', 1, 2}, {U'b', 0, 0}};
            for (const char32_t code : more) {
                extension.characters.push_back({code, 0, 0});
            }
        }
        const std::string path = folder.path("p.fnt");
        EXPECT_TRUE(writeProjectFile(path, project).ok());
        return path;
    }

    std::string writeText(const std::string& name, const std::string& text) {
        writeBytes(folder.path(name), std::vector<std::uint8_t>(text.begin(), text.end()));
        return folder.path(name);
    }

    // The <char> column of the description, one entry per glyph.
    std::vector<std::string> characterColumn(const std::string& name) {
        std::istringstream lines(readText(folder.path(name)));
        std::vector<std::string> column;
        std::string line;
        for (int skip = 0; skip < 4 && std::getline(lines, line); ++skip) {
        }
        while (std::getline(lines, line) && line != "end\r") {
            column.push_back(line.substr(0, line.find(' ')));
        }
        return column;
    }

    TestFolder folder;
    FakeFontRenderer renderer;
};

TEST_F(ExportUnicodeTest, CharsFromAddsTheFilesNewCharactersAfterTheProjectsOwn) {
    // A byte-order mark, a line break and a tab, A and b again, a kana twice, an ideograph and
    // an astral emoji.
    const std::string strings =
        writeText("strings.txt",
                  "\xEF\xBB\xBF"
                  "bA\n\xE3\x82\xA2\xE6\xBC\xA2\t\xE3\x82\xA2\xF0\x9F\x98\x80");
    const Outcome result =
        run({"--export", writeProject(), folder.path("out"), "--chars-from", strings});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.err,
              "warning: 3 characters are not in Beta Serif: U+30A2 \xE3\x82\xA2, U+6F22 "
              "\xE6\xBC\xA2, U+1F600 \xF0\x9F\x98\x80\n");
    // The description's <char> is the code point for characters without a Windows-1252 byte;
    // A keeps its borders (6 + 1 + 2 pixels wide) and its place.
    EXPECT_EQ(characterColumn("out.tfd"),
              (std::vector<std::string>{"65", "98", "12450", "28450", "128512"}));
    EXPECT_NE(readText(folder.path("out.tfd")).find("\r\n65 0 0 9 12\r\n98 10 0 6 12\r\n"),
              std::string::npos);

    // The project file itself is left as it was.
    const Result<ProjectFile> project = readProjectFile(folder.path("p.fnt"));
    ASSERT_TRUE(project.ok());
    EXPECT_FALSE(project->extension.has_value());
}

TEST_F(ExportUnicodeTest, CharsFromInvalidUtf8NamesTheOffsetAndWritesNothing) {
    const std::string project = writeProject();
    const std::string bad = writeText("bad.txt",
                                      "ab\xE3\x82"
                                      "cd");  // a kana cut short at 2
    const Outcome result = run({"--export", project, folder.path("out"), "--chars-from", bad});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err.rfind("vemro-font-builder: --chars-from: cannot read characters from \"" +
                                   bad + "\": invalid UTF-8 at byte 2",
                               0),
              0u)
        << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);

    const Outcome missing =
        run({"--export", project, folder.path("out"), "--chars-from", folder.path("none.txt")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "vemro-font-builder: --chars-from: cannot read characters from \"" +
                               folder.path("none.txt") + "\": No such file or directory\n");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"bad.txt", "p.fnt"}));
}

TEST_F(ExportUnicodeTest, FontFileReplacesTheFaceAndAFileThatCannotBeUsedIsAnError) {
    const std::string font = writeText("Gamma.otf", "font");
    renderer.fontFiles[font] = "Gamma Mono";
    const std::string project = writeProject(U"\u0416");
    const Outcome result = run({"--export", project, folder.path("out"), "--font-file", font});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    ASSERT_FALSE(renderer.requests.empty());
    EXPECT_EQ(renderer.requests.back().fontFile, font);
    EXPECT_EQ(renderer.requests.back().faceIndex, 0);

    const std::string other = writeText("notes.txt", "not a font");
    const Outcome refused =
        run({"--export", project, folder.path("refused"), "--font-file", other});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err, "vemro-font-builder: --font-file: cannot use the font file \"" + other +
                               "\": not a font\n");
    EXPECT_EQ(folder.entries(),
              (std::vector<std::string>{"Gamma.otf", "notes.txt", "out.tfd", "out.tga", "p.fnt"}));
}

TEST_F(ExportUnicodeTest, MissingCharactersAreListedInListOrderAndHelpNamesTheOptions) {
    const Outcome one = run({"--export", writeProject(U"\u4E00\u0416"), folder.path("out")});
    EXPECT_EQ(one.code, 0);
    EXPECT_EQ(one.err, "warning: 1 character is not in Beta Serif: U+4E00 \xE4\xB8\x80\n");

    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runCommandLine({"--help"}, renderer, out, err), 0);
    EXPECT_NE(out.str().find("--chars-from FILE"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("--font-file PATH"), std::string::npos) << out.str();
}

#ifdef VEMRO_HAVE_FREETYPE_RENDERER
// DejaVu Sans has Cyrillic and Greek but no kana and no ideographs; the fallback font file of
// fonts-droid-fallback has those.
TEST_F(ExportUnicodeTest, RealFacesReportWhatTheyLack) {
    FreetypeFontRenderer real;
    const auto& faces = real.faceNames();
    if (std::find(faces.begin(), faces.end(), "DejaVu Sans") == faces.end()) {
        GTEST_SKIP() << "DejaVu Sans is not installed";
    }
    ProjectFile project;
    project.faceName = "DejaVu Sans";
    project.extension.emplace().characters = {
        {U'\u0416', 0, 0}, {U'\u03A9', 0, 0}, {U'\u30A2', 0, 0}, {U'\u65E5', 0, 0}};
    const std::string path = folder.path("scripts.fnt");
    ASSERT_TRUE(writeProjectFile(path, project).ok());
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runCommandLine({"--export", path, folder.path("dejavu")}, real, out, err), 0);
    EXPECT_EQ(err.str(),
              "warning: 2 characters are not in DejaVu Sans: U+30A2 \xE3\x82\xA2, "
              "U+65E5 \xE6\x97\xA5\n");

    const std::string droid = "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf";
    if (!std::filesystem::exists(droid)) {
        GTEST_SKIP() << droid << " is not installed";
    }
    std::ostringstream droidErr;
    EXPECT_EQ(runCommandLine({"--export", path, folder.path("droid"), "--font-file", droid}, real,
                             out, droidErr),
              0);
    EXPECT_EQ(droidErr.str().find("U+30A2"), std::string::npos) << droidErr.str();
    EXPECT_EQ(droidErr.str().find("U+65E5"), std::string::npos) << droidErr.str();
}
#endif

}  // namespace
}  // namespace vemro
