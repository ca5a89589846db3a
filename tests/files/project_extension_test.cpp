// The project file's extension: its byte layout, the largest file the reader takes, and every way
// a damaged or foreign extension is refused.
#include <gtest/gtest.h>

#include "files/project/fallback_section.h"

#include <algorithm>
#include <functional>
#include <string>

using namespace std::string_literals;

#include "files/project/project_extension.h"
#include "files/project/project_file.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Appends little-endian 32-bit fields and text, as the layout table in docs/project-file.md gives
// them.
Bytes& operator<<(Bytes& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    return bytes;
}
Bytes& operator<<(Bytes& bytes, const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

// Latin, Cyrillic, Greek, Japanese, an astral emoji, a duplicate and borders of both signs; the
// euro sign has a Windows-1252 byte (0x80), the rest beyond ASCII has none.
ProjectFile scriptsProject() {
    ProjectFile project;
    project.faceName = "Vemro";
    Project& extension = project.extension.emplace().project;
    extension.glyphs = {{U'A', 1, -2},      {U'\u0416', 0, 0}, {U'\u03A9', 64, -64},
                        {U'\u30A2', 3, 0},  {U'\u20AC', 0, 5}, {U'\U0001F600', 0, 0},
                        {U'\u4E00', -1, 2}, {U'A', 0, 0}};
    extension.font.fontFile = "fonts/Game Font.ttf";
    extension.font.fontFaceIndex = 2;
    project.glyphs = windows1252Records(extension.glyphs);
    return project;
}

// 256 x 256, 11 points, Normal, Antialiased, face "Vemro", three records, then the extension.
Bytes scriptsBytes() {
    Bytes b;
    b << 256 << 256 << 0 << 0 << 0 << 0 << 11 << 400 << 4 << 1 << 0 << 5 << "Vemro"
      << "\0"s;
    b << 3 << "A" << 1 << static_cast<std::uint32_t>(-2) << "\x80" << 0 << 5 << "A" << 0 << 0;
    b << "VemroExt" << 1 << "CHRS" << 4 + 12 * 8 << 8;
    b << 0x41 << 1 << static_cast<std::uint32_t>(-2) << 0x416 << 0 << 0 << 0x3A9 << 64
      << static_cast<std::uint32_t>(-64) << 0x30A2 << 3 << 0 << 0x20AC << 0 << 5 << 0x1F600 << 0
      << 0 << 0x4E00 << static_cast<std::uint32_t>(-1) << 2 << 0x41 << 0 << 0;
    b << "FONT" << 4 + 19 + 4 << 19 << "fonts/Game Font.ttf" << 2;
    return b;
}

// Where the extension of scriptsBytes() starts, and its CHRS and FONT sections.
constexpr std::size_t kExtensionAt = 48 + 5 + 1 + 4 + 3 * 9;
constexpr std::size_t kChrsAt = kExtensionAt + 12;
constexpr std::size_t kFontAt = kChrsAt + 8 + 4 + 12 * 8;

TEST(ProjectExtensionLayout, RecordsThenSignatureVersionAndTaggedSections) {
    EXPECT_EQ(encodeProjectFile(scriptsProject()), scriptsBytes());
    const Result<ProjectFile> decoded = decodeProjectFile(scriptsBytes(), "ext.fnt");
    ASSERT_TRUE(decoded.ok()) << decoded.message();
    EXPECT_EQ(decoded.value(), scriptsProject());

    // Without a font file the bytes end before FONT; sections may come in any order.
    ProjectFile noFont = scriptsProject();
    noFont.extension->project.font.fontFile.clear();
    noFont.extension->project.font.fontFaceIndex = 0;
    const Bytes bytes = scriptsBytes();
    EXPECT_EQ(encodeProjectFile(noFont), Bytes(bytes.begin(), bytes.begin() + kFontAt));
    Bytes swapped = bytes;
    std::rotate(swapped.begin() + kChrsAt, swapped.begin() + kFontAt, swapped.end());
    EXPECT_EQ(decodeProjectFile(swapped, "swapped.fnt").value(), scriptsProject());
}

// Export settings and sample text follow the other sections, each only when it is not the
// default; a project that keeps both defaults is written as before.
TEST(ProjectExtensionLayout, ExportSettingsAndSampleTextHaveSectionsOfTheirOwn) {
    ProjectFile project = scriptsProject();
    project.extension->exportSettings = {DescriptorFormat::BmfontBinary, PageImage::Tga};
    project.extension->project.kerning = false;
    project.extension->sampleText = "Größe <&> \"Ω\"";
    Bytes expected = scriptsBytes();
    expected << "EXPO" << 3 << "\x03\x02\x00"s
             << "TEXT" << 16 << "Größe <&> \"Ω\""s;
    EXPECT_EQ(encodeProjectFile(project), expected);
    EXPECT_EQ(decodeProjectFile(expected, "x.fnt").value(), project);

    const auto damaged = [&](std::size_t from, const std::string& payload) {
        Bytes bytes = scriptsBytes();
        bytes.insert(bytes.end(), expected.begin() + static_cast<std::ptrdiff_t>(from),
                     expected.begin() + static_cast<std::ptrdiff_t>(from + 8));
        bytes << payload;
        return decodeProjectFile(bytes, "x.fnt").message();
    };
    const std::size_t expo = scriptsBytes().size();
    const std::size_t text = expo + 8 + 3;
    EXPECT_EQ(damaged(expo, "\x05\x00\x01"s),
              "cannot open \"x.fnt\": the export format 5 in the section \"EXPO\" is outside the "
              "allowed range 0..4");
    EXPECT_EQ(damaged(expo, "\x00\x03\x01"s),
              "cannot open \"x.fnt\": the page image 3 in the section \"EXPO\" is outside the "
              "allowed range 0..2");
    EXPECT_EQ(damaged(expo, "\x00\x00\x02"s),
              "cannot open \"x.fnt\": the kerning flag 2 in the section \"EXPO\" is neither 0 "
              "nor 1");
    EXPECT_EQ(damaged(text, "Gr\xF6\xDF" + std::string(12, 'e'))
                  .rfind("cannot open \"x.fnt\": the sample text is not UTF-8", 0),
              0u);
    EXPECT_EQ(damaged(text, "Gr\0"s + std::string(13, 'e')),
              "cannot open \"x.fnt\": the sample text holds a zero byte at byte 2");
}

// The largest file the reader accepts, read from disk, and the same with one byte more.
TEST(ProjectExtensionLimits, LargestAcceptedFileReadsFromDiskAndOneByteMoreIsRefused) {
    ProjectFile project;
    project.faceName.assign(255, 'n');
    ProjectExtension& extension = project.extension.emplace();
    for (std::int32_t i = 0; i < kMaxProjectCharacters; ++i) {
        // 1024 with a Windows-1252 byte, then astral characters.
        const char32_t code = i < kMaxProjectGlyphs ? U'a' : U'\U00020000' + char32_t(i);
        extension.project.glyphs.append({code, i % 129 - 64, 64 - i % 129});
    }
    extension.project.font.fontFile = "/" + std::string(kMaxProjectFontPathLength - 1, 'p');
    extension.project.font.fontFaceIndex = kMaxProjectFontFaceIndex;
    extension.project.textureSize = AtlasSize{AtlasSize::kMaxSide, AtlasSize::kMaxSide};
    extension.project.packing =
        PackingSettings{PackerKind::Tight, PackingSettings::kMaxSpacing, true, true, true};
    project.textureWidth = kMaxProjectHeaderTextureSide;
    project.textureHeight = kMaxProjectHeaderTextureSide;
    extension.exportSettings = {DescriptorFormat::Json, PageImage::Png8};
    extension.project.kerning = false;
    extension.project.effects.distanceField = DistanceField::Sdf;
    for (std::size_t i = 0; i < kMaxProjectFallbacks; ++i) {
        extension.project.fallbacks.push_back(FallbackFace{
            "", "/" + std::string(kMaxProjectFontPathLength - 1, 'f'), kMaxProjectFontFaceIndex});
    }
    extension.project.font.weight = FontSettings::kMaxWeight;
    project.weight = FontSettings::kWeightBold;
    extension.sampleText.clear();
    for (std::size_t i = 0; i < 4096 / 4; ++i) {
        extension.sampleText.append("\U0001F600");
    }
    project.glyphs = windows1252Records(extension.project.glyphs);

    TestFolder folder;
    const std::string path = folder.path("largest.fnt");
    ASSERT_TRUE(writeProjectFile(path, project).ok());
    Bytes bytes = readBytes(path);
    EXPECT_EQ(bytes.size(), 53u + 255 + 9 * 1024 + 12 + (12 + 12 * 65536) + (12 + 4096 + 4) +
                                (8 + 8) + (8 + 7) + (8 + 3) + (8 + 4096) + (8 + 33) + (8 + 4) +
                                (8 + 1) + (8 + 4 + 16 * (9 + 4096)));
    // The reader reads no more than this, and needs no less.
    EXPECT_EQ(bytes.size() - (53u + 255 + 9 * 1024), maxProjectExtensionBytes());
    const Result<ProjectFile> read = readProjectFile(path);
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(read.value(), project);
    bytes.push_back(0);
    writeBytes(path, bytes);
    EXPECT_FALSE(readProjectFile(path).ok());
}

void setU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

TEST(ProjectExtensionRead, EveryDamageIsRefusedWithWhatIsWrongAndTheLimit) {
    const auto put = [](std::size_t at, std::uint32_t value) {
        return [=](Bytes& b) { setU32(b, at, value); };
    };
    const auto append = [](const std::string& more) { return [=](Bytes& b) { b << more; }; };
    const auto fontAt = std::to_string(kFontAt);
    const auto end = std::to_string(scriptsBytes().size());
    const struct {
        std::function<void(Bytes&)> damage;
        std::string problem;  // empty: accepted
    } cases[] = {
        {put(kExtensionAt + 8, 2),
         "written by a newer version of Vemro Font builder (project extension version 2); this "
         "version reads version 1"},
        {put(kExtensionAt + 8, 0),
         "the project extension version 0 does not exist; this version reads version 1"},
        {[](Bytes& b) { b.resize(kExtensionAt + 10); },
         "the project extension at byte 85 ends inside its 4-byte version"},
        {[](Bytes& b) { b.resize(kFontAt + 5); },
         "the file ends inside the header of the section at byte " + fontAt +
             " (5 of its 8 bytes are there)"},
        {put(kFontAt + 4, 28), "the section \"FONT\" at byte " + fontAt +
                                   " has a length of 28 bytes, but the file ends 27 bytes after "
                                   "its header"},
        {put(kChrsAt + 4, 2),
         "the section \"CHRS\" is 2 bytes long, too short for its 4-byte character count"},
        {put(kChrsAt + 8, 7), "the section \"CHRS\" is 100 bytes long, but 7 characters take 88"},
        {put(kFontAt + 8, 18),
         "the section \"FONT\" is 27 bytes long, but a path of 18 bytes takes 26"},
        {append("XTRA\0\0\0\0"s),
         "the section \"XTRA\" at byte " + end +
             " is unknown; project extension version 1 has the sections "
             "\"CHRS\", \"FONT\", \"TXSZ\", \"PACK\", \"EXPO\", \"TEXT\", \"EFCT\", \"WGHT\", "
             "\"TRIM\" and \"FALL\""},
        {append("FONT\0\0\0\0"s), "the section \"FONT\" appears a second time, at byte " + end +
                                      "; each section may appear once"},
        {[](Bytes& b) { b.erase(b.begin() + kChrsAt, b.begin() + kFontAt); },
         "the project extension has no section \"CHRS\" (the character list, which it must hold)"},
        {put(kChrsAt + 8, 65537), "the character count 65537 is above the limit of 65536"},
        // The header's own limit, though the extension would take the side.
        {put(4, 5000), "the texture height 5000 is outside the allowed range 1..512"},
        {put(kFontAt + 8, 0), "the font file path length 0 is outside the allowed range 1..4096"},
        {put(kFontAt + 8 + 4 + 19, 65536),
         "the font face index 65536 is outside the allowed range 0..65535"},
        {put(kFontAt + 8 + 4 + 19, 65535), ""},
        {[](Bytes& b) { b.at(kFontAt + 12 + 5) = 0; },
         "the font file path holds a zero byte at byte 5 of the path"},
        {[](Bytes& b) { b.at(kFontAt + 12 + 6) = 0xC9; }, "the font file path is not UTF-8: "},
        {put(kChrsAt + 12 + 12 * 5, 0x10FFFF), ""},
        {put(kChrsAt + 12 + 12 * 5, 0x110000),
         "character 6 of the character list is U+110000, not a Unicode character (allowed: "
         "U+0000..U+10FFFF without the surrogates U+D800..U+DFFF)"},
        {put(kChrsAt + 12 + 12 * 1, 0xD800), "character 2 of the character list is U+D800, not"},
        {put(kChrsAt + 12 + 12 * 3 + 4, 65),
         "character 4 of the character list (U+30A2) has a left character border of 65, outside "
         "the limit of -64..64"},
        {put(58 + 9 + 5, 4),  // the euro sign's record: right border 4 instead of 5
         "glyph record 2 (code 128, borders 0 and 4) disagrees with the character list, whose "
         "character 2 with a Windows-1252 byte gives code 128, borders 0 and 5"},
        {[](Bytes& b) {  // the list without its last "A"
             setU32(b, kChrsAt + 4, 4 + 12 * 7);
             setU32(b, kChrsAt + 8, 7);
             b.erase(b.begin() + kFontAt - 12, b.begin() + kFontAt);
         },
         "the file holds 3 glyph records, but its character list has 2 characters with a "
         "Windows-1252 byte"},
    };
    for (const auto& c : cases) {
        Bytes bytes = scriptsBytes();
        c.damage(bytes);
        const Result<ProjectFile> decoded = decodeProjectFile(bytes, "ext.fnt");
        if (c.problem.empty()) {
            EXPECT_TRUE(decoded.ok()) << decoded.message();
        } else {
            EXPECT_EQ(decoded.message().rfind("cannot open \"ext.fnt\": " + c.problem, 0), 0u)
                << decoded.message();
        }
    }
}

// Cut anywhere after the signature, the file is refused, unless the cut falls between two
// sections (a file without the later ones); cut inside the signature, or with another signature,
// the bytes after the records are ignored as they always were.
TEST(ProjectExtensionRead, CutsAfterTheSignatureAreRefusedAndAnotherSignatureIsIgnored) {
    const Bytes good = scriptsBytes();
    for (std::size_t length = kExtensionAt + 8; length < good.size(); ++length) {
        if (length != kFontAt) {
            ASSERT_FALSE(decodeProjectFile(Bytes(good.begin(), good.begin() + length), "x").ok())
                << "cut to " << length;
        }
    }
    ProjectFile recordsOnly = scriptsProject();
    recordsOnly.extension.reset();
    Bytes lowerCase = good;
    lowerCase[kExtensionAt] = 'v';  // "vemroExt"
    for (const Bytes& bytes : {Bytes(good.begin(), good.begin() + kExtensionAt + 7), lowerCase}) {
        const Result<ProjectFile> decoded = decodeProjectFile(bytes, "x");
        ASSERT_TRUE(decoded.ok()) << decoded.message();
        EXPECT_EQ(decoded.value(), recordsOnly);
    }
}

}  // namespace
}  // namespace vemro
