// The project file's extension: its byte layout, the round trip of any Unicode character list and
// a font file, the byte limits, and every way a damaged or foreign extension is refused.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "files/project_file.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

// Bytes written field by field, as the layout table in the README gives them.
struct Bytes {
    std::vector<std::uint8_t> data;

    Bytes& u32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            data.push_back(static_cast<std::uint8_t>(value >> shift));
        }
        return *this;
    }
    Bytes& i32(std::int32_t value) { return u32(static_cast<std::uint32_t>(value)); }
    Bytes& text(const std::string& value) {
        data.insert(data.end(), value.begin(), value.end());
        return *this;
    }
    Bytes& byte(std::uint8_t value) {
        data.push_back(value);
        return *this;
    }
};

// The old part of a project: 256 x 256, 11 points, Normal, Antialiased, face "Vemro".
Bytes header(std::uint32_t records) {
    Bytes bytes;
    bytes.u32(256).u32(256).u32(0).u32(0).u32(0).u32(0).u32(11).u32(400).u32(4).u32(1).u32(0);
    bytes.u32(5).text("Vemro").byte(0).u32(records);
    return bytes;
}

ProjectFile headerProject() {
    ProjectFile project;
    project.faceName = "Vemro";
    return project;
}

// Latin, Cyrillic, Greek, Japanese, an astral emoji, a duplicate and borders of both signs; the
// euro sign has a Windows-1252 byte (0x80), the rest beyond ASCII has none.
ProjectFile scriptsProject() {
    ProjectFile project = headerProject();
    ProjectExtension& extension = project.extension.emplace();
    extension.characters = {{U'A', 1, -2},      {U'\u0416', 0, 0}, {U'\u03A9', 64, -64},
                            {U'\u30A2', 3, 0},  {U'\u20AC', 0, 5}, {U'\U0001F600', 0, 0},
                            {U'\u4E00', -1, 2}, {U'A', 0, 0}};
    extension.fontFile = "fonts/Game Font.ttf";
    extension.fontFaceIndex = 2;
    project.glyphs = windows1252Records(extension.characters);
    return project;
}

std::vector<std::uint8_t> scriptsBytes() {
    Bytes bytes = header(3);
    bytes.byte('A').i32(1).i32(-2).byte(0x80).i32(0).i32(5).byte('A').i32(0).i32(0);
    bytes.text("VemroExt").u32(1);
    bytes.text("CHRS").u32(4 + 12 * 8).u32(8);
    bytes.u32(0x41).i32(1).i32(-2).u32(0x416).i32(0).i32(0).u32(0x3A9).i32(64).i32(-64);
    bytes.u32(0x30A2).i32(3).i32(0).u32(0x20AC).i32(0).i32(5).u32(0x1F600).i32(0).i32(0);
    bytes.u32(0x4E00).i32(-1).i32(2).u32(0x41).i32(0).i32(0);
    bytes.text("FONT").u32(4 + 19 + 4).u32(19).text("fonts/Game Font.ttf").i32(2);
    return bytes.data;
}

// Where the extension of scriptsBytes() starts, and its CHRS and FONT sections.
constexpr std::size_t kRecordsEnd = 48 + 5 + 1 + 4 + 3 * 9;
constexpr std::size_t kChrsAt = kRecordsEnd + 12;
constexpr std::size_t kFontAt = kChrsAt + 8 + 4 + 12 * 8;

void setU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::string refusal(const std::vector<std::uint8_t>& bytes) {
    const Result<ProjectFile> decoded = decodeProjectFile(bytes, "ext.fnt");
    if (decoded.ok()) {
        return "(accepted)";
    }
    const std::string prefix = "cannot open \"ext.fnt\": ";
    EXPECT_EQ(decoded.message().rfind(prefix, 0), 0u) << decoded.message();
    return decoded.message().substr(prefix.size());
}

TEST(ProjectExtensionLayout, RecordsThenSignatureVersionAndTaggedSections) {
    EXPECT_EQ(encodeProjectFile(scriptsProject()), scriptsBytes());

    const Result<ProjectFile> decoded = decodeProjectFile(scriptsBytes(), "ext.fnt");
    ASSERT_TRUE(decoded.ok()) << decoded.message();
    EXPECT_EQ(decoded.value(), scriptsProject());

    // Sections may come in any order; written back they come CHRS first.
    const std::vector<std::uint8_t> bytes = scriptsBytes();
    std::vector<std::uint8_t> swapped(bytes.begin(), bytes.begin() + kChrsAt);
    swapped.insert(swapped.end(), bytes.begin() + kFontAt, bytes.end());
    swapped.insert(swapped.end(), bytes.begin() + kChrsAt, bytes.begin() + kFontAt);
    const Result<ProjectFile> reordered = decodeProjectFile(swapped, "swapped.fnt");
    ASSERT_TRUE(reordered.ok()) << reordered.message();
    EXPECT_EQ(reordered.value(), scriptsProject());
}

TEST(ProjectExtensionLayout, WithoutFontFileThereIsNoFontSectionAndAnEmptyListIsKept) {
    ProjectFile project = scriptsProject();
    project.extension->fontFile.clear();
    project.extension->fontFaceIndex = 0;
    std::vector<std::uint8_t> expected = scriptsBytes();
    expected.resize(kFontAt);
    EXPECT_EQ(encodeProjectFile(project), expected);

    // A project that needs a font file but no character: the list is there and empty.
    ProjectFile empty = headerProject();
    empty.extension.emplace().fontFile = "/f.otf";
    Bytes bytes = header(0);
    bytes.text("VemroExt").u32(1).text("CHRS").u32(4).u32(0);
    bytes.text("FONT").u32(14).u32(6).text("/f.otf").i32(0);
    EXPECT_EQ(encodeProjectFile(empty), bytes.data);
    const Result<ProjectFile> decoded = decodeProjectFile(bytes.data, "e.fnt");
    ASSERT_TRUE(decoded.ok()) << decoded.message();
    EXPECT_EQ(decoded.value(), empty);
}

// The largest file the reader accepts, read from disk, and the same with one byte more.
TEST(ProjectExtensionLimits, LargestAcceptedFileReadsFromDiskAndOneByteMoreIsRefused) {
    ProjectFile project = headerProject();
    project.faceName.assign(255, 'n');
    ProjectExtension& extension = project.extension.emplace();
    for (std::int32_t i = 0; i < kMaxProjectCharacters; ++i) {
        // 1024 with a Windows-1252 byte, then ideographs and astral characters.
        const char32_t code = i < kMaxProjectGlyphs
                                  ? U'a' + static_cast<char32_t>(i % 26)
                                  : (i % 2 == 0 ? U'\u4E00' + static_cast<char32_t>(i % 20000)
                                                : U'\U00020000' + static_cast<char32_t>(i));
        extension.characters.push_back({code, i % 129 - 64, 64 - i % 129});
    }
    extension.fontFile = "/" + std::string(kMaxProjectFontPathLength - 1, 'p');
    extension.fontFaceIndex = kMaxProjectFontFaceIndex;
    project.glyphs = windows1252Records(extension.characters);
    ASSERT_EQ(project.glyphs.size(), static_cast<std::size_t>(kMaxProjectGlyphs));

    TestFolder folder;
    const std::string path = folder.path("largest.fnt");
    ASSERT_TRUE(writeProjectFile(path, project).ok());
    const std::vector<std::uint8_t> bytes = readBytes(path);
    EXPECT_EQ(bytes.size(),
              53u + 255u + 9u * 1024u + 12u + (12u + 12u * 65536u) + (12u + 4096u + 4u));
    const Result<ProjectFile> read = readProjectFile(path);
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(read.value(), project);

    std::vector<std::uint8_t> longer = bytes;
    longer.push_back(0);
    writeBytes(path, longer);
    EXPECT_FALSE(readProjectFile(path).ok());
}

TEST(ProjectExtensionLimits, CountsPathsCodePointsAndBordersAtAndPastTheirLimits) {
    const struct {
        const char* what;
        std::size_t at;
        std::uint32_t value;
        const char* problem;  // empty: accepted
    } cases[] = {
        {"U+10FFFF", kChrsAt + 12 + 12 * 5, 0x10FFFF, ""},
        {"U+D7FF", kChrsAt + 12 + 12 * 5, 0xD7FF, ""},
        {"U+E000", kChrsAt + 12 + 12 * 5, 0xE000, ""},
        {"U+110000", kChrsAt + 12 + 12 * 5, 0x110000,
         "character 6 of the character list is U+110000, not a Unicode character (allowed: "
         "U+0000..U+10FFFF without the surrogates U+D800..U+DFFF)"},
        {"U+D800", kChrsAt + 12 + 12 * 1, 0xD800, "character 2 of the character list is U+D800,"},
        {"U+DFFF", kChrsAt + 12 + 12 * 1, 0xDFFF, "is U+DFFF, not a Unicode character"},
        {"code 2^32-1", kChrsAt + 12, 0xFFFFFFFF, "is U+FFFFFFFF, not"},
        {"left border 65", kChrsAt + 12 + 12 * 3 + 4, 65,
         "character 4 of the character list (U+30A2) has a left character border of 65, outside "
         "the limit of -64..64"},
        {"right border -65", kChrsAt + 12 + 12 * 6 + 8, static_cast<std::uint32_t>(-65),
         "(U+4E00) has a right character border of -65"},
        {"count 65537", kChrsAt + 8, 65537,
         "the character count 65537 is above the limit of 65536"},
        {"count 2^32-1", kChrsAt + 8, 0xFFFFFFFF, "the character count 4294967295 is above"},
        {"face index 65536", kFontAt + 8 + 4 + 19, 65536,
         "the font face index 65536 is outside the allowed range 0..65535"},
        {"face index -1", kFontAt + 8 + 4 + 19, 0xFFFFFFFF, "the font face index -1 is outside"},
        {"face index 65535", kFontAt + 8 + 4 + 19, 65535, ""},
        {"path length 0", kFontAt + 8, 0,
         "the font file path length 0 is outside the allowed range 1..4096"},
        {"path length 4097", kFontAt + 8, 4097, "the font file path length 4097 is outside"},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes = scriptsBytes();
        setU32(bytes, c.at, c.value);
        const std::string outcome = refusal(bytes);
        if (*c.problem == '\0') {
            EXPECT_EQ(outcome, "(accepted)") << c.what;
        } else {
            EXPECT_NE(outcome.find(c.problem), std::string::npos) << c.what << ": " << outcome;
        }
    }

    std::vector<std::uint8_t> zero = scriptsBytes();
    zero.at(kFontAt + 12 + 5) = 0;  // "fonts\0Game Font.ttf"
    EXPECT_EQ(refusal(zero), "the font file path holds a zero byte at byte 5 of the path");
    std::vector<std::uint8_t> latin1 = scriptsBytes();
    latin1.at(kFontAt + 12 + 6) = 0xC9;  // a lone Latin-1 byte where "G" was
    EXPECT_EQ(refusal(latin1).rfind("the font file path is not UTF-8: ", 0), 0u) << refusal(latin1);
}

TEST(ProjectExtensionRead, NewerAndUnknownVersionsAreRefusedNamingTheVersion) {
    std::vector<std::uint8_t> bytes = scriptsBytes();
    setU32(bytes, kRecordsEnd + 8, 2);
    EXPECT_EQ(refusal(bytes),
              "written by a newer version of Vemro Font builder (project extension version 2); "
              "this version reads version 1");
    setU32(bytes, kRecordsEnd + 8, 0);
    EXPECT_EQ(refusal(bytes),
              "the project extension version 0 does not exist; this version reads version 1");
}

TEST(ProjectExtensionRead, DamagedSectionsAreRefusedWithWhatIsWrong) {
    const std::vector<std::uint8_t> good = scriptsBytes();
    const std::size_t end = good.size();
    auto withU32 = [&good](std::size_t at, std::uint32_t value) {
        std::vector<std::uint8_t> bytes = good;
        setU32(bytes, at, value);
        return bytes;
    };
    auto appended = [&good](const std::vector<std::uint8_t>& more) {
        std::vector<std::uint8_t> bytes = good;
        bytes.insert(bytes.end(), more.begin(), more.end());
        return bytes;
    };
    const std::string font = std::to_string(kFontAt);
    const std::string atEnd = std::to_string(end);

    EXPECT_EQ(refusal(withU32(kChrsAt + 4, 4 + 12 * 9)),
              "the section \"CHRS\" is 112 bytes long, but 8 characters take 100");
    EXPECT_EQ(refusal(withU32(kChrsAt + 4, 2)),
              "the section \"CHRS\" is 2 bytes long, too short for its 4-byte character count");
    EXPECT_EQ(refusal(withU32(kChrsAt + 8, 7)),
              "the section \"CHRS\" is 100 bytes long, but 7 characters take 88");
    EXPECT_EQ(refusal(withU32(kFontAt + 4, 28)),
              "the section \"FONT\" at byte " + font +
                  " has a length of 28 bytes, but the file ends 27 bytes after its header");
    EXPECT_EQ(refusal(withU32(kFontAt + 8, 18)),
              "the section \"FONT\" is 27 bytes long, but a path of 18 bytes takes 26");
    std::vector<std::uint8_t> emptyFont(good.begin(), good.begin() + kFontAt);
    const std::vector<std::uint8_t> emptySection = Bytes().text("FONT").u32(0).data;
    emptyFont.insert(emptyFont.end(), emptySection.begin(), emptySection.end());
    EXPECT_EQ(refusal(emptyFont),
              "the section \"FONT\" is 0 bytes long, too short for its path length and face index");

    EXPECT_EQ(
        refusal(appended({'X', 'T', 'R', 'A', 0, 0, 0, 0})),
        "the section \"XTRA\" at byte " + atEnd +
            " is unknown; project extension version 1 has the sections \"CHRS\" and \"FONT\"");
    EXPECT_EQ(refusal(appended({'c', 'h', 'r', 's', 0, 0, 0, 0})).rfind("the section \"chrs\"", 0),
              0u);
    EXPECT_EQ(refusal(appended({0, '"', 0xFF, 'x', 0, 0, 0, 0}))
                  .rfind("the section \"\\x00\\x22\\xFFx\" at byte " + atEnd + " is unknown", 0),
              0u);

    std::vector<std::uint8_t> twice(good.begin() + kChrsAt, good.begin() + kFontAt);
    EXPECT_EQ(refusal(appended(twice)), "the section \"CHRS\" appears a second time, at byte " +
                                            atEnd + "; each section may appear once");

    std::vector<std::uint8_t> fontOnly(good.begin(), good.begin() + kChrsAt);
    fontOnly.insert(fontOnly.end(), good.begin() + kFontAt, good.end());
    EXPECT_EQ(refusal(fontOnly),
              "the project extension has no section \"CHRS\" (the character list, which it must "
              "hold)");
}

// Cut anywhere after the signature but between two sections, the file is refused; cut inside the
// signature, what is left does not start with it and is ignored as bytes after the records
// always were. (Cut between sections, it is a file without the later ones.)
TEST(ProjectExtensionRead, EveryCutAfterTheSignatureIsRefusedAndABadSignatureIsIgnored) {
    const std::vector<std::uint8_t> good = scriptsBytes();
    for (std::size_t length = kRecordsEnd + 8; length < good.size(); ++length) {
        const std::vector<std::uint8_t> cut(good.begin(), good.begin() + length);
        if (length != kFontAt) {
            ASSERT_NE(refusal(cut), "(accepted)") << "cut to " << length;
        }
    }
    std::vector<std::uint8_t> cut(good.begin(), good.begin() + kRecordsEnd + 10);
    EXPECT_EQ(refusal(cut), "the project extension at byte " + std::to_string(kRecordsEnd) +
                                " ends inside its 4-byte version");
    cut.assign(good.begin(), good.begin() + kFontAt + 5);
    EXPECT_EQ(refusal(cut), "the file ends inside the header of the section at byte " +
                                std::to_string(kFontAt) + " (5 of its 8 bytes are there)");

    ProjectFile recordsOnly = scriptsProject();
    recordsOnly.extension.reset();
    for (std::size_t length = kRecordsEnd; length < kRecordsEnd + 8; ++length) {
        const Result<ProjectFile> decoded =
            decodeProjectFile(std::vector<std::uint8_t>(good.begin(), good.begin() + length), "x");
        ASSERT_TRUE(decoded.ok()) << decoded.message();
        EXPECT_EQ(decoded.value(), recordsOnly);
    }
    std::vector<std::uint8_t> lowerCase = good;
    lowerCase[kRecordsEnd] = 'v';  // "vemroExt"
    const Result<ProjectFile> ignored = decodeProjectFile(lowerCase, "x");
    ASSERT_TRUE(ignored.ok()) << ignored.message();
    EXPECT_EQ(ignored.value(), recordsOnly);
}

TEST(ProjectExtensionRead, RecordsThatDisagreeWithTheCharacterListAreRefused) {
    std::vector<std::uint8_t> border = scriptsBytes();
    setU32(border, 58 + 9 + 5, 4);  // the euro sign's record: right border 4 instead of 5
    EXPECT_EQ(refusal(border),
              "glyph record 2 (code 128, borders 0 and 4) disagrees with the character list, whose "
              "character 2 with a Windows-1252 byte gives code 128, borders 0 and 5");
    std::vector<std::uint8_t> code = scriptsBytes();
    code.at(58 + 18) = 'B';
    EXPECT_EQ(refusal(code).rfind("glyph record 3 (code 66, borders 0 and 0) disagrees", 0), 0u);

    // The list without its last "A": three records for two characters with a byte.
    std::vector<std::uint8_t> fewer = scriptsBytes();
    setU32(fewer, kChrsAt + 4, 4 + 12 * 7);
    setU32(fewer, kChrsAt + 8, 7);
    fewer.erase(fewer.begin() + kFontAt - 12, fewer.begin() + kFontAt);
    EXPECT_EQ(refusal(fewer),
              "the file holds 3 glyph records, but its character list has 2 characters with a "
              "Windows-1252 byte");
}

TEST(ProjectExtensionWrite, ProjectsThatWouldNotReadBackAreRefusedAndNothingIsWritten) {
    TestFolder folder;
    const std::string path = folder.path("p.fnt");
    ProjectFile disagreeing = scriptsProject();
    disagreeing.glyphs.pop_back();
    ProjectFile surrogate = scriptsProject();
    surrogate.extension->characters[1].code = 0xDABC;
    ProjectFile longPath = scriptsProject();
    longPath.extension->fontFile.assign(4097, 'f');
    ProjectFile indexWithoutFile = scriptsProject();
    indexWithoutFile.extension->fontFile.clear();
    ProjectFile manyWithByte = headerProject();
    manyWithByte.extension.emplace().characters.assign(1025, ProjectCharacter{U'x', 0, 0});
    manyWithByte.glyphs = windows1252Records(manyWithByte.extension->characters);
    const std::pair<ProjectFile, const char*> cases[] = {
        {disagreeing, "the file holds 2 glyph records, but its character list has 3"},
        {surrogate, "character 2 of the character list is U+DABC"},
        {longPath, "the font file path length 4097 is outside the allowed range 1..4096"},
        {indexWithoutFile, "a font face index of 2 is given without a font file"},
        {manyWithByte, "the glyph count 1025 is above the limit of 1024"},
    };
    for (const auto& [project, problem] : cases) {
        const Status status = writeProjectFile(path, project);
        ASSERT_FALSE(status.ok()) << problem;
        EXPECT_EQ(status.message().rfind("cannot save \"" + path + "\": " + problem, 0), 0u)
            << status.message();
    }
    EXPECT_TRUE(folder.entries().empty());
}

}  // namespace
}  // namespace vemro
