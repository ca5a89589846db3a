// The effects in the project file's extension: the section's layout as documented, written only
// for settings other than the defaults, read back as the same project, and every damage refused.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "files/project_opener.h"

using namespace std::string_literals;

namespace vemro {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Project projectWith(const EffectSettings& effects) {
    Project project = startupProject("DejaVu Sans");
    project.glyphs.addCharacter(U'A');
    project.effects = effects;
    return project;
}

// The character list's section, which every extension holds first, and the effects' after it.
const std::string kCharacters = "VemroExt\1\0\0\0CHRS\x10\0\0\0\1\0\0\0A\0\0\0\0\0\0\0\0\0\0\0"s;

Bytes extensionOf(const Bytes& file) {
    const std::string signature = "VemroExt";
    const auto at = std::search(file.begin(), file.end(), signature.begin(), signature.end());
    return Bytes(at, file.end());
}

TEST(EffectSection, LayoutAndWrittenOnlyForOtherSettings) {
    EffectSettings effects;
    effects.fill = Rgb{1, 2, 3};
    effects.outline = true;
    effects.outlineWidth = 4;
    effects.outlineColour = Rgb{5, 6, 7};
    effects.shadow = true;
    effects.shadowX = -2;
    effects.shadowY = 16;
    effects.shadowBlur = 8;
    effects.shadowColour = Rgb{8, 9, 10};
    effects.shadowOpacity = 11;
    effects.spread = 32;
    const Project project = projectWith(effects);
    const Bytes file = encodeProjectFile(projectFileFor(project));
    // The tag and length; the fill; the outline; the shadow; the distance field.
    EXPECT_EQ(extensionOf(file),
              bytesOf(kCharacters + "EFCT\x21\0\0\0"s + "\1\2\3"s + "\1\4\0\0\0\5\6\7"s +
                      "\1\xFE\xFF\xFF\xFF\x10\0\0\0\x08\0\0\0\x08\x09\x0A\x0B"s + "\0\x20\0\0\0"s));
    EXPECT_EQ(applyProjectFile(decodeProjectFile(file, "p.fnt").value(), {"DejaVu Sans"},
                               startupProject("DejaVu Sans"))
                  .project,
              project);

    // A project without effects has no extension at all; a switched-off effect whose values
    // differ keeps them.
    EXPECT_TRUE(extensionOf(encodeProjectFile(projectFileFor(projectWith({})))).empty());
    EffectSettings kept;
    kept.spread = 3;
    EXPECT_EQ(extensionOf(encodeProjectFile(projectFileFor(projectWith(kept)))),
              bytesOf(kCharacters + "EFCT\x21\0\0\0\xFF\xFF\xFF\0\2\0\0\0\0\0\0\0\2\0\0\0\2\0\0\0"
                                    "\2\0\0\0\0\0\0\xA0\0\3\0\0\0"s));
}

TEST(EffectSection, EveryDamageIsRefusedWithWhatIsWrongAndTheLimit) {
    EffectSettings effects;
    effects.distanceField = true;
    const Bytes good = encodeProjectFile(projectFileFor(projectWith(effects)));
    const std::size_t payload = good.size() - 33;
    const auto put = [](std::size_t at, std::int32_t value) {
        return [=](Bytes& b) {
            for (std::size_t i = 0; i < 4; ++i) {
                b[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
            }
        };
    };
    const auto setByte = [](std::size_t at, std::uint8_t value) {
        return [=](Bytes& b) { b[at] = value; };
    };
    const struct {
        std::function<void(Bytes&)> damage;
        std::string problem;
    } cases[] = {
        {setByte(payload + 3, 2), "the outline flag 2 in the section \"EFCT\" is neither 0 nor 1"},
        {setByte(payload + 11, 7), "the shadow flag 7 in the section \"EFCT\" is neither 0 nor 1"},
        {setByte(payload + 28, 255),
         "the distance field flag 255 in the section \"EFCT\" is neither 0 nor 1"},
        {put(payload + 4, 0),
         "the outline width 0 in the section \"EFCT\" is outside the allowed range 1..16"},
        {put(payload + 4, 17), "the outline width 17 in the section \"EFCT\""},
        {put(payload + 12, -17),
         "the shadow offset x -17 in the section \"EFCT\" is outside the allowed range -16..16"},
        {put(payload + 16, 17), "the shadow offset y 17 in the section \"EFCT\""},
        {put(payload + 20, 9),
         "the shadow blur 9 in the section \"EFCT\" is outside the allowed range 0..8"},
        {put(payload + 20, -1), "the shadow blur -1 in the section \"EFCT\""},
        {put(payload + 29, 1),
         "the distance field spread 1 in the section \"EFCT\" is outside the allowed range 2..32"},
        {put(payload + 29, 33), "the distance field spread 33"},
        {[](Bytes& b) {
             b[b.size() - 37] = 34;
             b.push_back(0);
         },
         "the section \"EFCT\" is 34 bytes long; it takes exactly 33"},
    };
    ASSERT_TRUE(decodeProjectFile(good, "p.fnt").ok());
    for (const auto& c : cases) {
        Bytes bytes = good;
        c.damage(bytes);
        const Result<ProjectFile> decoded = decodeProjectFile(bytes, "p.fnt");
        EXPECT_EQ(decoded.message().rfind("cannot open \"p.fnt\": " + c.problem, 0), 0u)
            << decoded.message();
    }
    // Saving refuses what reading would.
    effects.shadowBlur = 9;
    EXPECT_FALSE(saveProject(::testing::TempDir() + "/effects.fnt", projectWith(effects)).ok());
}

}  // namespace
}  // namespace vemro
