#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "engine/font/freetype_font_renderer.h"
#include "files/cli/command_line.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

class BuildFileTest : public ::testing::Test {
protected:
    Outcome build(const std::string& text, std::vector<std::string> options = {}) {
        writeBytes(folder.path("fonts.toml"), std::vector<std::uint8_t>(text.begin(), text.end()));
        std::vector<std::string> args{"build", folder.path("fonts.toml")};
        args.insert(args.end(), options.begin(), options.end());
        std::ostringstream out;
        std::ostringstream err;
        const std::optional<int> code = runCommandLine(args, renderer, out, err);
        return Outcome{code.value_or(-1), out.str(), err.str()};
    }

    // "PATH:LINE: " for the line of the build file that holds `marker`.
    std::string at(const std::string& text, const std::string& marker) const {
        const std::size_t offset = text.find(marker);
        EXPECT_NE(offset, std::string::npos) << marker;
        const auto line = std::count(text.begin(), text.begin() + offset, '\n') + 1;
        return folder.path("fonts.toml") + ":" + std::to_string(line) + ": ";
    }

    FreetypeFontRenderer renderer;
    TestFolder folder;
};

// Every problem names the build file, the line and the key; nothing is written for its output
// and the others are made all the same.
TEST_F(BuildFileTest, ProblemsNameTheLineAndKeyAndLeaveTheOtherOutputsMade) {
    writeBytes(folder.path("latin1.txt"), {'c', 'a', 'f', 0xE9, '\n'});
    const std::string text =
        "[defaults]\n"
        "face = \"DejaVu Sans\"\n"
        "charset = \"Basic Latin\"\n"
        "\n[[font]]\noutput = \"good\"\n"
        "\n[[font]]\noutput = \"colour\"\ncolour = \"FF0000\"\n"
        "\n[[font]]\noutput = \"reversed\"\nchars = \"32-126, 300-200\"\n"
        "\n[[font]]\noutput = \"past\"\nchars = \"32-0x110000\"\n"
        "\n[[font]]\noutput = \"face\"\nface = \"No Such Face\"\n"
        "\n[[font]]\noutput = \"file\"\nfont-file = \"missing.ttf\"\n"
        "\n[[font]]\noutput = \"latin1\"\nchars-from = \"latin1.txt\"\n"
        "\n[[font]]\noutput = \"switch\"\nfit = \"yes\"\n"
        "\n[[font]] # twice\noutput = \"twice\"\n"
        "\n[[font]] # again\noutput = \"sub/../twice.json\"\n"
        "\n[[font]] # nameless\nsize = 12\n";
    const Outcome result = build(text);
    EXPECT_EQ(result.code, 1);
    const std::string missing = (folder.root() / "missing.ttf").string();
    const std::vector<std::string> expected{
        at(text, "colour =") + "unknown key \"colour\"",
        at(text, "300-200") +
            "chars: the range \"300-200\" runs backwards: its first code is "
            "above its last",
        at(text, "0x110000") + "chars: \"0x110000\" is past the last character, U+10FFFF",
        at(text, "No Such") +
            "face: \"No Such Face\" is no installed typeface (--list-faces "
            "lists them)",
        at(text, "missing.ttf") + "font-file: the font file \"" + missing +
            "\" could not be opened: there is no such file",
        at(text, "latin1.txt") + "chars-from: cannot read characters from \"" +
            folder.path("latin1.txt") + "\": ",
        at(text, "\"yes\"") + "fit: give true or false",
        at(text, "# twice") + "output: \"twice\" names the same files as the [[font]] at line " +
            std::to_string(std::count(text.begin(), text.begin() + text.find("# again"), '\n') + 1),
        at(text, "# again") + "output: \"sub/../twice.json\" names the same files",
        at(text, "# nameless") + "this [[font]] gives no output",
    };
    std::istringstream lines(result.err);
    std::vector<std::string> said;
    for (std::string line; std::getline(lines, line);) {
        said.push_back(line);
    }
    ASSERT_EQ(said.size(), expected.size()) << result.err;
    for (std::size_t i = 0; i < said.size(); ++i) {
        EXPECT_TRUE(said[i].starts_with(expected[i])) << said[i] << "\nexpected " << expected[i];
    }
    EXPECT_EQ(result.out, "made good\n");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"fonts.toml", "good.stamp", "good.tfd",
                                                          "good.tga", "latin1.txt"}));
}

// A file that is no TOML, or a problem outside the outputs, makes nothing at all.
TEST_F(BuildFileTest, ProblemsOfTheWholeFileMakeNothing) {
    const std::string broken = "[[font]]\noutput = \"a\"\nsize = = 3\n";
    Outcome result = build(broken);
    EXPECT_EQ(result.code, 1);
    EXPECT_TRUE(result.err.starts_with("vemro-font-builder: " + folder.path("fonts.toml") + ":3:"))
        << result.err;

    const std::string text = "[defaults]\nsize = 500\n\n[[font]]\noutput = \"a\"\n\n[fonts]\n";
    result = build(text);
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, at(text, "size") +
                              "size: \"500\" is not a size: give a whole number of 5 to 100 "
                              "points\n" +
                              at(text, "[fonts]") +
                              "unknown key \"fonts\": a build file holds a [defaults] table and "
                              "[[font]] tables\n");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"fonts.toml"});

    // The command line itself is a usage error.
    for (const auto& options : std::vector<std::vector<std::string>>{
             {"--jobs", "0"}, {"--depfile"}, {"--size", "12"}, {"second.toml"}}) {
        EXPECT_EQ(build(text, options).code, 2) << options[0];
    }
}

// With --strict a character the font lacks fails the output; without, it is a warning, and
// --quiet leaves out the warnings and the outputs made.
TEST_F(BuildFileTest, StrictFailsOnLackingCharactersAndQuietPrintsOnlyErrors) {
    const std::string text =
        "[[font]]\noutput = \"kana\"\nface = \"DejaVu Sans\"\n"
        "chars = \"65, U+30A2\"\n";
    Outcome result = build(text, {"--strict"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, at(text, "[[font]]") + "1 character is not in DejaVu Sans: U+30A2 ア\n");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"fonts.toml"});

    result = build(text, {"--quiet"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out + result.err, "");
    result = build(text + "texture = \"8x8\"\n");
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err, at(text, "[[font]]") +
                              "warning: 1 character is not in DejaVu Sans: U+30A2 ア\n" +
                              at(text, "[[font]]") +
                              "warning: 2 glyphs lie partly or wholly outside the 8 x 8 texture\n");
    EXPECT_EQ(result.out, "made kana\n");
}

}  // namespace
}  // namespace vemro
