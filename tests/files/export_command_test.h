#pragma once

// What the tests of the headless export share: running the command line in-process, and a folder
// with a fake renderer and a small project to export.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "files/cli/command_line.h"
#include "files/project/project_file.h"
#include "tests/fake_font_renderer.h"
#include "tests/files/test_folder.h"

namespace vemro::test {

using vemro::testing::FakeFontRenderer;

struct Outcome {
    std::optional<int> code;
    std::string out;
    std::string err;
};

inline Outcome run(const std::vector<std::string>& args, FontRenderer& renderer) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome result;
    result.code = runCommandLine(args, renderer, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

inline Outcome run(const std::vector<std::string>& args) {
    FakeFontRenderer renderer;
    return run(args, renderer);
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

}  // namespace vemro::test
