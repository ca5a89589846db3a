// Fallback faces in the project file and colour glyphs in the descriptors: the "FALL" section
// reads back as written and refuses damage; the JSON and XML descriptors of an atlas with colour
// glyphs say of every character whether it is colour (1) or white ink (0), and others say nothing.

#include <gtest/gtest.h>

#include <string>

#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"
#include "files/export/exporter.h"
#include "files/project/project_opener.h"
#include "tests/files/bmfont_reader.h"
#include "tests/files/test_folder.h"

using namespace std::string_literals;

namespace vemro {
namespace {

const std::string kDroid = "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf";
const std::string kEmoji = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf";

Result<OpenedProject> reopened(const std::vector<std::uint8_t>& file) {
    const Result<ProjectFile> decoded = decodeProjectFile(file, "p.fnt");
    if (!decoded) {
        return Result<OpenedProject>::failure(decoded.message());
    }
    return Result<OpenedProject>(
        applyProjectFile(decoded.value(), {"DejaVu Sans"}, startupProject("DejaVu Sans")));
}

TEST(FallbackSection, ReadsBackAsWrittenAndRefusesDamage) {
    Document document{startupProject("DejaVu Sans")};
    document.project.glyphs.addCharacter(U'A');
    document.project.fallbacks = {FallbackFace{"Noto Color Emoji"}, FallbackFace{"", kDroid, 2}};
    std::vector<std::uint8_t> file = encodeProjectFile(projectFileFor(document));
    const Result<OpenedProject> read = reopened(file);
    ASSERT_TRUE(read) << read.message();
    EXPECT_EQ(read->document.project.fallbacks, document.project.fallbacks);

    // A count past the limit, in the payload's first four bytes.
    const std::string bytes(file.begin(), file.end());
    const std::size_t at = bytes.find("FALL");
    ASSERT_NE(at, std::string::npos);
    file[at + 8] = 17;
    const Result<OpenedProject> damaged = reopened(file);
    ASSERT_FALSE(damaged);
    EXPECT_NE(damaged.message().find("17 fallback faces are more than the limit of 16"),
              std::string::npos)
        << damaged.message();
}

TEST(ColourDescriptors, JsonAndXmlMarkEachCharacterColourOrWhite) {
    FreetypeFontRenderer renderer;
    TestFolder folder;
    Project project = startupProject("DejaVu Sans");
    project.textureSize = {256, 256};
    for (const char32_t code : U"A\U0001F389") {
        if (code != 0) {
            project.glyphs.addCharacter(code);
        }
    }
    AtlasBuilder builder(renderer);
    const Project plain = project;
    project.fallbacks = {FallbackFace{"", kEmoji, 0}};
    for (const DescriptorFormat format : {DescriptorFormat::Json, DescriptorFormat::BmfontXml}) {
        for (const Project& exported : {project, plain}) {
            const bool colour = !exported.fallbacks.empty();
            const auto result = builder.rebuild(exported);
            const ExportReport report =
                exporterFor(format).write(folder.path(colour ? "colour" : "plain"), exported,
                                          ExportSettings{format, PageImage::Png}, *result);
            ASSERT_TRUE(report.ok()) << report.failures.front();
            const test::ReadFont font = test::readBmfont(readBytes(report.written.back()));
            ASSERT_EQ(font.error, "");
            if (colour) {
                EXPECT_EQ(font.chars.at(U'A').at("color"), 0);
                EXPECT_EQ(font.chars.at(0x1F389).at("color"), 1);
            } else {
                EXPECT_FALSE(font.chars.at(U'A').contains("color"));
                EXPECT_FALSE(font.chars.at(0x1F389).contains("color"));
            }
        }
    }
}

}  // namespace
}  // namespace vemro
