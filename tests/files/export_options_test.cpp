#include "files/cli/export_options.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/fake_font_renderer.h"

namespace vemro {
namespace {

using testing::FakeFontRenderer;

// A table of the shape later options take: one with an argument and one without.
const std::array<ExportOption, 2> kTable{{
    {"--size", "POINTS", "the font size",
     [](const std::string& argument, Document& document, FontRenderer&) {
         if (argument.empty() || argument.find_first_not_of("0123456789") != std::string::npos) {
             return Status::failure("\"" + argument + "\" is not a number of points");
         }
         document.project.font.size = std::stoi(argument);
         return Status::success();
     },
     ExportOptionFailure::usage},
    {"--italic", "", "slanted letters",
     [](const std::string&, Document& document, FontRenderer&) {
         document.project.font.italic = true;
         return Status::success();
     },
     ExportOptionFailure::usage},
}};

Result<std::vector<ExportOverride>> parse(std::vector<std::string> args) {
    return parseExportOptions(args, kTable);
}

TEST(ExportOptions, ParsingFailsOnUnknownOptionsMissingArgumentsAndStrayArguments) {
    const struct {
        std::vector<std::string> args;
        const char* problem;
    } cases[] = {
        {{"--bold"}, "unknown option \"--bold\""},
        {{"--italic", "--size=4"}, "unknown option \"--size=4\""},
        {{"--size"}, "\"--size\" needs an argument (POINTS)"},
        {{"--italic", "--size"}, "\"--size\" needs an argument (POINTS)"},
        {{"--size", "12", "out2"}, "--export takes a project file and an output path"},
        {{"--italic", "x"}, "--export takes a project file and an output path"},
    };
    for (const auto& c : cases) {
        const Result<std::vector<ExportOverride>> parsed = parse(c.args);
        ASSERT_FALSE(parsed.ok()) << c.problem;
        EXPECT_EQ(parsed.message(), c.problem);
    }
}

TEST(ExportOptions, OverridesApplyInOrderAndTheFirstBadValueNamesItsOption) {
    // An argument may itself start with a dash; the last of repeated options wins.
    const Result<std::vector<ExportOverride>> parsed =
        parse({"--size", "30", "--italic", "--size", "12"});
    ASSERT_TRUE(parsed.ok()) << parsed.message();
    FakeFontRenderer renderer;
    Document document;
    ASSERT_FALSE(applyExportOverrides(parsed.value(), document, renderer).has_value());
    EXPECT_EQ(document.project.font.size, 12);
    EXPECT_TRUE(document.project.font.italic);

    const Result<std::vector<ExportOverride>> bad = parse({"--size", "-3", "--italic"});
    ASSERT_TRUE(bad.ok()) << bad.message();
    Document untouched;
    const std::optional<ExportOverrideFailure> failed =
        applyExportOverrides(bad.value(), untouched, renderer);
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->message, "--size: \"-3\" is not a number of points");
    EXPECT_EQ(failed->kind, ExportOptionFailure::usage);
    EXPECT_FALSE(untouched.project.font.italic);
}

}  // namespace
}  // namespace vemro
