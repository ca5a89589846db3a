// The effects in the project file's extension: the section's layout as documented, written only
// for settings other than the defaults, read back as the same project, and damage refused.

#include <gtest/gtest.h>

#include <string>

#include "files/project/project_opener.h"

using namespace std::string_literals;

namespace vemro {
namespace {

using Bytes = std::vector<std::uint8_t>;

Document documentWith(const EffectSettings& effects) {
    Document document{startupProject("DejaVu Sans")};
    document.project.glyphs.addCharacter(U'A');
    document.project.effects = effects;
    return document;
}

// The bytes from the extension's signature on.
std::string extensionOf(const Document& document) {
    const Bytes file = encodeProjectFile(projectFileFor(document));
    const std::string bytes(file.begin(), file.end());
    const std::size_t at = bytes.find("VemroExt");
    return at == std::string::npos ? std::string() : bytes.substr(at);
}

TEST(EffectSection, LayoutWrittenOnlyForOtherSettingsAndReadBack) {
    const std::string characters = "VemroExt\1\0\0\0CHRS\x10\0\0\0\1\0\0\0A\0\0\0\0\0\0\0\0\0\0\0"s;
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
    effects.distanceField = DistanceField::Mtsdf;
    // The tag and length; the fill; the outline; the shadow; the distance field's kind and spread.
    EXPECT_EQ(extensionOf(documentWith(effects)),
              characters + "EFCT\x21\0\0\0"s + "\1\2\3"s + "\1\4\0\0\0\5\6\7"s +
                  "\1\xFE\xFF\xFF\xFF\x10\0\0\0\x08\0\0\0\x08\x09\x0A\x0B"s + "\4\x20\0\0\0"s);
    const Bytes file = encodeProjectFile(projectFileFor(documentWith(effects)));
    EXPECT_EQ(applyProjectFile(decodeProjectFile(file, "p.fnt").value(), {"DejaVu Sans"},
                               startupProject("DejaVu Sans"))
                  .document.project.effects,
              effects);
    // Without effects there is no extension; a switched-off effect's values are kept.
    EXPECT_EQ(extensionOf(documentWith({})), "");
    EffectSettings kept;
    kept.spread = 3;
    EXPECT_EQ(extensionOf(documentWith(kept)).substr(characters.size() + 8 + 28), "\0\3\0\0\0"s);
}

TEST(EffectSection, DamageIsRefusedWithWhatIsWrongAndTheLimit) {
    const Bytes good = encodeProjectFile(projectFileFor(documentWith({})));
    EffectSettings effects;
    effects.distanceField = DistanceField::Sdf;
    const Bytes field = encodeProjectFile(projectFileFor(documentWith(effects)));
    const std::size_t payload = field.size() - 33;
    const struct {
        std::size_t at;
        std::uint8_t byte;
        std::string problem;
    } cases[] = {
        {payload + 3, 2, "the outline flag 2 in the section \"EFCT\" is neither 0 nor 1"},
        {payload + 12, 0xEF,
         "the shadow offset x -17 in the section \"EFCT\" is outside the allowed range -16..16"},
        {payload + 28, 5,
         "the distance field kind 5 in the section \"EFCT\" is outside the allowed range 0..4"},
        {payload + 29, 33, "the distance field spread 33 in the section \"EFCT\""},
        {payload - 4, 34, "the section \"EFCT\" is 34 bytes long; it takes exactly 33"},
    };
    for (const auto& c : cases) {
        Bytes bytes = field;
        bytes[c.at] = c.byte;
        if (c.at == payload + 12) {
            bytes[c.at + 1] = bytes[c.at + 2] = bytes[c.at + 3] = 0xFF;
        }
        if (c.at == payload - 4) {
            bytes.push_back(0);
        }
        EXPECT_EQ(decodeProjectFile(bytes, "p.fnt")
                      .message()
                      .rfind("cannot open \"p.fnt\": " + c.problem, 0),
                  0u)
            << decodeProjectFile(bytes, "p.fnt").message();
    }
    EXPECT_TRUE(decodeProjectFile(good, "p.fnt").ok());
    // Saving refuses what reading would.
    effects.shadowBlur = 9;
    EXPECT_FALSE(saveProject(::testing::TempDir() + "/effects.fnt", documentWith(effects)).ok());
}

}  // namespace
}  // namespace vemro
