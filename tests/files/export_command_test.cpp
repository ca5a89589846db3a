#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "engine/project/project.h"
#include "files/cli/command_line.h"
#include "files/project/project_file.h"
#include "tests/fake_font_renderer.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

using vemro::testing::FakeFontRenderer;

namespace fs = std::filesystem;

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

Outcome run(const std::vector<std::string>& args, FontRenderer& renderer) {
    std::ostringstream out;
    std::ostringstream err;
    const std::optional<int> code = runCommandLine(args, renderer, out, err);
    return Outcome{code.value_or(-1), out.str(), err.str()};
}

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// export starts from the start-up project (the default face at 11 points, no characters) or
// from the project given; unlike --export, a font that cannot be made fails it.
TEST(ExportCommand, ExportStartsFromTheStartUpProjectOrTheProjectGiven) {
    TestFolder folder;
    FakeFontRenderer renderer;
    renderer.defaultFace = "Beta Serif";
    const std::string out = folder.path("o.tga");
    Outcome result = run({"export", "--chars", "65-66", "-o", out}, renderer);
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(renderer.requests.back().faceName, "Beta Serif");
    EXPECT_EQ(renderer.requests.back().pixelHeight, pixelHeightFor(11, 1));
    EXPECT_NE(readText(folder.path("o.tfd")).find("\r\n65 0 0 7 15\r\n66 8 0 7 15\r\n"),
              std::string::npos)
        << readText(folder.path("o.tfd"));

    ProjectFile stored;
    stored.faceName = "beta serif";
    stored.glyphs = {{'A', 0, 0}, {233, 1, 2}, {'A', 0, 0}};
    const std::string project = folder.path("p.fnt");
    ASSERT_TRUE(writeProjectFile(project, stored).ok());
    result = run({"export", "--output", out, project, "--size", "20", "--quiet"}, renderer);
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(renderer.requests.back().pixelHeight, pixelHeightFor(20, 1));
    EXPECT_EQ(renderer.requests.back().faceName, "Beta Serif");
    EXPECT_EQ(lineCount(readText(folder.path("o.tfd"))), 5u + 3u);

    for (const auto& [args, problem] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"export", project}, "export needs an output path: -o OUTPUT"},
             {{"export", project, project, "-o", out}, "export takes one project file at most"},
             {{"export", "-o", out, "--depfile", "d"}, "unknown option \"--depfile\""},
             {{"export", "-o", out, "--chars", "0x80-0x7F"},
              "--chars: the range \"0x80-0x7F\" runs backwards: its first code is above its "
              "last"}}) {
        result = run(args, renderer);
        EXPECT_EQ(result.code, 2) << problem;
        EXPECT_TRUE(result.err.starts_with("vemro-font-builder: " + problem + "\nUsage:"))
            << result.err;
    }

    renderer.failure = "the face \"Beta Serif\" cannot be loaded";
    fs::remove(out);
    result = run({"export", "-o", out, "--chars", "65"}, renderer);
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "vemro-font-builder: the face \"Beta Serif\" cannot be loaded\n");
    EXPECT_FALSE(fs::exists(out));
    result = run({"export", "-o", out, "--face", "gamma"}, renderer);
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err,
              "vemro-font-builder: --face: \"gamma\" is no installed typeface (--list-faces lists "
              "them)\n");
}

}  // namespace
}  // namespace vemro
