#include "files/project/project_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/files/test_folder.h"

namespace vemro {
namespace {

std::int32_t int32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) {
        bits = (bits << 8) | bytes.at(offset + static_cast<std::size_t>(i));
    }
    return static_cast<std::int32_t>(bits);
}

void setInt32At(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes.at(offset + i) = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

// A project whose every field differs from its neighbours, so a swapped field shows.
ProjectFile sampleProject() {
    ProjectFile project;
    project.textureWidth = 128;
    project.textureHeight = 512;
    project.borderLeft = 1;
    project.borderTop = 2;
    project.borderRight = 3;
    project.borderBottom = 4;
    project.size = 36;
    project.weight = 700;
    project.quality = 3;
    project.factor = 4;
    project.italic = 1;
    project.faceName = "Arial";
    project.glyphs = {{65, 2, -3}, {233, 0, 64}, {0, -64, 7}};
    return project;
}

ProjectFile fullCharsetProject() {
    ProjectFile project;
    project.faceName = "Vemro";
    for (int code = 32; code <= 255; ++code) {
        project.glyphs.push_back({static_cast<std::uint8_t>(code), code % 5, -(code % 3)});
    }
    return project;
}

TEST(ProjectFileLayout, FullCharsetWithFiveByteNameIsByteExact) {
    const ProjectFile project = fullCharsetProject();
    const std::vector<std::uint8_t> bytes = encodeProjectFile(project);
    ASSERT_EQ(bytes.size(), 2074u);
    EXPECT_EQ(int32At(bytes, 0), 256);
    EXPECT_EQ(int32At(bytes, 24), 11);
    EXPECT_EQ(int32At(bytes, 28), 400);
    EXPECT_EQ(int32At(bytes, 44), 5);
    EXPECT_EQ(std::memcmp(bytes.data() + 48, "Vemro", 5), 0);
    EXPECT_EQ(bytes[53], 0);
    EXPECT_EQ(int32At(bytes, 54), 224);
    for (std::size_t i = 0; i < 224; ++i) {
        const std::size_t at = 58 + 9 * i;
        const int code = 32 + static_cast<int>(i);
        ASSERT_EQ(bytes[at], code) << "record " << i;
        ASSERT_EQ(int32At(bytes, at + 1), code % 5) << "record " << i;
        ASSERT_EQ(int32At(bytes, at + 5), -(code % 3)) << "record " << i;
    }
}

TEST(ProjectFileLayout, FieldsAreLittleEndianInFileOrder) {
    ProjectFile project = sampleProject();
    project.size = 0x01020304;
    project.glyphs = {{0xE9, -2, 0x0A0B0C0D}};
    const std::vector<std::uint8_t> bytes = encodeProjectFile(project);
    const std::vector<std::uint8_t> expected = {
        0x80, 0,    0,    0,    0x00, 2,    0,    0,    1,   0,
        0,    0,    2,    0,    0,    0,  // width, height, left, top
        3,    0,    0,    0,    4,    0,    0,    0,    4,   3,
        2,    1,    0xBC, 2,    0,    0,  // right, bottom, size, weight
        3,    0,    0,    0,    4,    0,    0,    0,    1,   0,
        0,    0,    5,    0,    0,    0,                         // quality, factor, italic, N
        'A',  'r',  'i',  'a',  'l',  0,    1,    0,    0,   0,  // name, zero, n
        0xE9, 0xFE, 0xFF, 0xFF, 0xFF, 0x0D, 0x0C, 0x0B, 0x0A};   // record
    EXPECT_EQ(bytes, expected);
}

TEST(ProjectFileLayout, EmptyNameIsLengthZeroThenOneZeroByte) {
    ProjectFile project;
    const std::vector<std::uint8_t> bytes = encodeProjectFile(project);
    ASSERT_EQ(bytes.size(), 53u);
    EXPECT_EQ(int32At(bytes, 44), 0);
    EXPECT_EQ(bytes[48], 0);
    EXPECT_EQ(int32At(bytes, 49), 0);
}

TEST(ProjectFileRoundTrip, DecodeGivesTheSameValueAndReencodesToTheSameBytes) {
    for (const ProjectFile& project : {sampleProject(), fullCharsetProject(), ProjectFile{}}) {
        const std::vector<std::uint8_t> bytes = encodeProjectFile(project);
        const Result<ProjectFile> decoded = decodeProjectFile(bytes, "x.fnt");
        ASSERT_TRUE(decoded.ok()) << decoded.message();
        EXPECT_EQ(decoded.value(), project);
        EXPECT_EQ(encodeProjectFile(decoded.value()), bytes);
    }
}

TEST(ProjectFileRoundTrip, WriteReadWriteGivesIdenticalFiles) {
    TestFolder folder;
    const std::string first = folder.path("first.fnt");
    const std::string second = folder.path("second.fnt");
    ASSERT_TRUE(writeProjectFile(first, sampleProject()).ok());
    const Result<ProjectFile> read = readProjectFile(first);
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(read.value(), sampleProject());
    ASSERT_TRUE(writeProjectFile(second, read.value()).ok());
    EXPECT_EQ(readBytes(first), readBytes(second));
    EXPECT_EQ(readBytes(first), encodeProjectFile(sampleProject()));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"first.fnt", "second.fnt"}));
}

TEST(ProjectFileRead, DuplicateCodesStayAsStored) {
    ProjectFile project;
    project.glyphs = {{'A', 1, 2}, {'B', 0, 0}, {'A', 3, 4}};
    const Result<ProjectFile> decoded = decodeProjectFile(encodeProjectFile(project), "d.fnt");
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded->glyphs, project.glyphs);
}

TEST(ProjectFileRead, FaceNameStopsAtTheFirstZeroByte) {
    std::vector<std::uint8_t> bytes = encodeProjectFile(sampleProject());
    bytes[50] = 0;  // "Ar\0al"
    const Result<ProjectFile> decoded = decodeProjectFile(bytes, "z.fnt");
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded->faceName, "Ar");
    EXPECT_EQ(decoded->glyphs, sampleProject().glyphs);
}

TEST(ProjectFileRead, TrailingBytesAreIgnored) {
    std::vector<std::uint8_t> bytes = encodeProjectFile(sampleProject());
    bytes.insert(bytes.end(), {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    const Result<ProjectFile> decoded = decodeProjectFile(bytes, "long.fnt");
    ASSERT_TRUE(decoded.ok()) << decoded.message();
    EXPECT_EQ(decoded.value(), sampleProject());
}

TEST(ProjectFileRead, EveryTruncationIsRejected) {
    const std::vector<std::uint8_t> bytes = encodeProjectFile(sampleProject());
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const std::vector<std::uint8_t> prefix(bytes.begin(),
                                               bytes.begin() + static_cast<long>(length));
        const Result<ProjectFile> decoded = decodeProjectFile(prefix, "cut.fnt");
        ASSERT_FALSE(decoded.ok()) << "accepted a file cut to " << length << " bytes";
        EXPECT_NE(decoded.message().find("\"cut.fnt\""), std::string::npos) << decoded.message();
    }
}

struct Damage {
    const char* what;
    std::size_t offset;
    std::int32_t value;
    const char* expectedText;
};

TEST(ProjectFileRead, OutOfRangeFieldsAreRejectedWithTheirLimit) {
    // sampleProject: N = 5, so n stands at 54 and the records start at 58, 67, 76.
    const Damage cases[] = {
        {"width 0", 0, 0, "texture width 0 is outside the allowed range 1..512"},
        {"width 513", 0, 513, "texture width 513 is outside the allowed range 1..512"},
        {"height 0", 4, 0, "texture height 0"},
        {"height 513", 4, 513, "texture height 513"},
        {"name length 256", 44, 256, "face name length 256 is outside the allowed range 0..255"},
        {"name length -1", 44, -1, "face name length -1"},
        {"name past the end", 44, 200, "ends inside the face name"},
        {"negative count", 54, -1, "glyph count -1 is negative"},
        {"count above limit", 54, 1025, "glyph count 1025 is above the limit of 1024"},
        {"count one too large", 54, 4, "glyph count is 4 but the file holds 3"},
        {"left border 65", 67 + 1, 65, "left character border of 65"},
        {"left border -65", 58 + 1, -65, "outside the limit of -64..64"},
        {"right border 65", 76 + 5, 65, "right character border of 65"},
        {"right border min", 76 + 5, INT32_MIN, "right character border of -2147483648"},
    };
    for (const Damage& damage : cases) {
        std::vector<std::uint8_t> bytes = encodeProjectFile(sampleProject());
        setInt32At(bytes, damage.offset, damage.value);
        const Result<ProjectFile> decoded = decodeProjectFile(bytes, "bad.fnt");
        ASSERT_FALSE(decoded.ok()) << damage.what;
        EXPECT_EQ(decoded.message().rfind("cannot open \"bad.fnt\": ", 0), 0u) << damage.what;
        EXPECT_NE(decoded.message().find(damage.expectedText), std::string::npos)
            << damage.what << ": " << decoded.message();
    }
}

TEST(ProjectFileRead, ValuesAtTheLimitsAreAccepted) {
    ProjectFile project = sampleProject();
    project.textureWidth = 1;
    project.textureHeight = 512;
    project.faceName.assign(255, 'x');
    project.glyphs.assign(kMaxProjectGlyphs,
                          ProjectGlyph{7, kMinProjectCharBorder, kMaxProjectCharBorder});
    const std::vector<std::uint8_t> bytes = encodeProjectFile(project);
    EXPECT_EQ(bytes.size(), 53u + 255u + 9u * 1024u);
    const Result<ProjectFile> decoded = decodeProjectFile(bytes, "edge.fnt");
    ASSERT_TRUE(decoded.ok()) << decoded.message();
    EXPECT_EQ(decoded.value(), project);
}

TEST(ProjectFileRead, MissingFileAndFolderAreNamedInTheMessage) {
    TestFolder folder;
    const Result<ProjectFile> missing = readProjectFile(folder.path("gone.fnt"));
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.message().find("gone.fnt\": No such file or directory"), std::string::npos)
        << missing.message();

    const Result<ProjectFile> isFolder = readProjectFile(folder.root().string());
    ASSERT_FALSE(isFolder.ok());
    EXPECT_NE(isFolder.message().find("is a folder"), std::string::npos) << isFolder.message();

    const std::string path = folder.path("short.fnt");
    writeBytes(path, {1, 2, 3});
    const Result<ProjectFile> truncated = readProjectFile(path);
    ASSERT_FALSE(truncated.ok());
    EXPECT_NE(truncated.message().find(path), std::string::npos);
    EXPECT_NE(truncated.message().find("3 bytes long"), std::string::npos);
}

TEST(ProjectFileWrite, ValuesThatCouldNotBeReadBackAreRefusedAndNothingIsWritten) {
    TestFolder folder;
    const std::string path = folder.path("p.fnt");
    ProjectFile tooWide = sampleProject();
    tooWide.textureWidth = 1024;
    ProjectFile longName = sampleProject();
    longName.faceName.assign(256, 'n');
    ProjectFile wideBorder = sampleProject();
    wideBorder.glyphs[1].charBorderLeft = 5000;
    for (const ProjectFile& project : {tooWide, longName, wideBorder}) {
        const Status status = writeProjectFile(path, project);
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.message().rfind("cannot save \"" + path + "\": ", 0), 0u);
    }
    EXPECT_TRUE(folder.entries().empty());
}

}  // namespace
}  // namespace vemro
