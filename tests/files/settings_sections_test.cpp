// Texture sides above 512, packing settings and weights the header cannot hold in the project
// file's extension, alone and with the export sections: the layout, the files that need neither,
// and every refusal. (The seeds that use them must open and save unchanged, in
// project_extension_open_test.cpp.)
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "files/project/project_opener.h"

using namespace std::string_literals;

namespace vemro {
namespace {

using Bytes = std::vector<std::uint8_t>;

Document documentWith(AtlasSize texture, PackingSettings packing) {
    Document document{startupProject("DejaVu Sans")};
    document.project.glyphs.addCharacter(U'A');
    document.project.textureSize = texture;
    document.project.packing = packing;
    return document;
}

// The bytes from the extension's signature on.
Bytes extensionOf(const Bytes& file) {
    const std::string signature = "VemroExt";
    const auto at = std::search(file.begin(), file.end(), signature.begin(), signature.end());
    return Bytes(at, file.end());
}

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

TEST(SettingsSections, LayoutAndTheHeaderOlderVersionsRead) {
    const Bytes file = encodeProjectFile(
        projectFileFor(documentWith({4096, 1024}, {PackerKind::Tight, 0, true, true})));
    // The header holds 512 x 512; the character list, then the true sides and the packing.
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 8), bytesOf("\0\2\0\0\0\2\0\0"s));
    EXPECT_EQ(extensionOf(file),
              bytesOf("VemroExt\1\0\0\0CHRS\x10\0\0\0\1\0\0\0A\0\0\0\0\0\0\0\0\0\0\0"
                      "TXSZ\x08\0\0\0\0\x10\0\0\0\4\0\0PACK\7\0\0\0\1\0\0\0\0\1\1"s));
    // Neither section is written for what a file without it means.
    EXPECT_TRUE(
        extensionOf(encodeProjectFile(projectFileFor(documentWith({512, 64}, {})))).empty());
    const Bytes spacing =
        encodeProjectFile(projectFileFor(documentWith({513, 64}, {PackerKind::Rows, 2})));
    EXPECT_EQ(Bytes(spacing.begin(), spacing.begin() + 8), bytesOf("\0\2\0\0\x40\0\0\0"s));
    EXPECT_EQ(Bytes(spacing.end() - 31, spacing.end()),
              bytesOf("TXSZ\x08\0\0\0\1\2\0\0\x40\0\0\0PACK\7\0\0\0\0\2\0\0\0\0\0"s));
}

// With the export settings, the sample text and cells trimmed to the ink: each setting that
// differs from its default has its section, the five in one order, and the file opens as the
// same project.
TEST(SettingsSections, ExportSectionsJoinThemEachForItsOwnSetting) {
    Document document = documentWith({1024, 512}, {PackerKind::Tight, 4, false, true, true});
    document.exportSettings = {DescriptorFormat::Json, PageImage::Png8};
    document.project.kerning = false;
    document.sampleText = "Wa";
    const Bytes file = encodeProjectFile(projectFileFor(document));
    EXPECT_EQ(Bytes(file.end() - 61, file.end()),
              bytesOf("TXSZ\x08\0\0\0\0\4\0\0\0\2\0\0PACK\7\0\0\0\1\4\0\0\0\0\1"
                      "EXPO\3\0\0\0\4\1\0TEXT\2\0\0\0WaTRIM\1\0\0\0\1"s));
    const Project fallback = startupProject("DejaVu Sans");
    EXPECT_EQ(applyProjectFile(decodeProjectFile(file, "p.fnt").value(), {"DejaVu Sans"}, fallback)
                  .document,
              document);

    // One setting alone: the character list, then its section alone.
    const std::string chrs = "VemroExt\1\0\0\0CHRS\x10\0\0\0\1\0\0\0A\0\0\0\0\0\0\0\0\0\0\0"s;
    Document kerningOff = documentWith({512, 64}, {});
    kerningOff.project.kerning = false;
    EXPECT_EQ(extensionOf(encodeProjectFile(projectFileFor(kerningOff))),
              bytesOf(chrs + "EXPO\3\0\0\0\0\0\0"s));
    Document sample = documentWith({512, 64}, {});
    sample.sampleText = "";
    EXPECT_EQ(extensionOf(encodeProjectFile(projectFileFor(sample))),
              bytesOf(chrs + "TEXT\0\0\0\0"s));
    Document trimmed = documentWith({512, 64}, {});
    trimmed.project.packing.trimToInk = true;
    EXPECT_EQ(extensionOf(encodeProjectFile(projectFileFor(trimmed))),
              bytesOf(chrs + "TRIM\1\0\0\0\1"s));
}

TEST(SettingsSections, EveryDamageIsRefusedWithWhatIsWrongAndTheLimit) {
    const Bytes good = encodeProjectFile(
        projectFileFor(documentWith({1024, 600}, {PackerKind::Tight, 3, true, true})));
    const std::size_t sizes = good.size() - 31;  // the TXSZ section, then PACK
    const std::size_t packing = good.size() - 15;
    const auto put = [](std::size_t at, std::uint32_t value) {
        return [=](Bytes& b) {
            for (std::size_t i = 0; i < 4; ++i) {
                b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
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
        {put(sizes + 8, 0),
         "the texture width 0 in the section \"TXSZ\" is outside the allowed "
         "range 1..4096"},
        {put(0, 256),
         "the header's texture width 256 disagrees with the width 1024 in the "
         "section \"TXSZ\" (the header holds it up to 512)"},
        {put(sizes + 12, 500), "the header's texture height 512 disagrees with the height 500"},
        {put(sizes + 4, 9), "the section \"TXSZ\" is 9 bytes long; it takes exactly 8"},
        {setByte(packing + 8, 2),
         "the packer 2 in the section \"PACK\" is neither 0 (rows) nor 1 "
         "(tight)"},
        {put(packing + 9, 17),
         "the spacing 17 in the section \"PACK\" is outside the allowed "
         "range 0..16"},
        {setByte(packing + 13, 2),
         "the fit size flag 2 in the section \"PACK\" is neither 0 nor 1"},
        {setByte(packing + 14, 255),
         "the several pages flag 255 in the section \"PACK\" is "
         "neither 0 nor 1"},
        {[](Bytes& b) {
             b[b.size() - 11] = 8;
             b.push_back(0);
         },
         "the section \"PACK\" is 8 bytes long; it takes exactly 7"},
        {[&](Bytes& b) { b.insert(b.end(), good.end() - 15, good.end()); },
         "the section \"PACK\" appears a second time"},
    };
    ASSERT_TRUE(decodeProjectFile(good, "p.fnt").ok());
    for (const auto& c : cases) {
        Bytes bytes = good;
        c.damage(bytes);
        const Result<ProjectFile> decoded = decodeProjectFile(bytes, "p.fnt");
        EXPECT_EQ(decoded.message().rfind("cannot open \"p.fnt\": " + c.problem, 0), 0u)
            << decoded.message();
    }
}

// A weight of a face whose weight varies: the header holds the one of its three that a face of
// fixed weights draws the same, the section the true weight, and the file opens as it was.
TEST(SettingsSections, AWeightTheHeaderCannotHoldIsKeptBesideWhatOlderVersionsRead) {
    const auto fileWith = [](std::int32_t weight) {
        Document document = documentWith({256, 256}, {});
        document.project.font.weight = weight;
        return std::pair{document, encodeProjectFile(projectFileFor(document))};
    };
    for (const auto& [weight, header] :
         {std::pair{1, 400}, {550, 400}, {551, 600}, {650, 600}, {651, 700}, {1000, 700}}) {
        const auto [document, file] = fileWith(weight);
        const Result<ProjectFile> decoded = decodeProjectFile(file, "w.fnt");
        ASSERT_TRUE(decoded.ok()) << decoded.message();
        EXPECT_EQ(decoded.value().weight, header) << weight;
        EXPECT_EQ(Bytes(file.end() - 12, file.end() - 2),
                  bytesOf("WGHT\4\0\0\0"s + char(weight & 0xFF) + char(weight >> 8)));
        EXPECT_EQ(applyProjectFile(decoded.value(), {"DejaVu Sans"}, startupProject("")).document,
                  document);
    }
    // The header's weight is the eighth field; the section's ends the file.
    const Bytes good = fileWith(900).second;
    const auto weightIs = [&good](std::size_t at, std::uint8_t low, std::uint8_t high) {
        Bytes bytes = good;
        bytes[at] = low;
        bytes[at + 1] = high;
        return decodeProjectFile(bytes, "w.fnt")
            .message()
            .substr(sizeof "cannot open \"w.fnt\": " - 1);
    };
    EXPECT_EQ(weightIs(28, 0x90, 0x01),
              "the header's weight 400 disagrees with the weight 900 in the section \"WGHT\" (the "
              "header holds 700 for it)");
    EXPECT_EQ(weightIs(good.size() - 4, 0xE9, 0x03),
              "the weight 1001 in the section \"WGHT\" is outside the allowed range 1..1000");
    EXPECT_EQ(weightIs(good.size() - 4, 0xBC, 0x02),
              "the weight 700 in the section \"WGHT\" is one the header holds");
}

}  // namespace
}  // namespace vemro
