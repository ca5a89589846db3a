// Opening project files that are gone, unreadable, not files at all, cut short or far past the
// limits: each is refused with a message that names the file and says why, and nothing blocks.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/project/project_file.h"
#include "tests/files/child_process.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

ProjectFile fullCharsetProject() {
    ProjectFile project;
    project.textureWidth = 512;
    project.size = 24;
    project.faceName = "DejaVu Sans";
    for (int code = 32; code <= 255; ++code) {
        project.glyphs.push_back({static_cast<std::uint8_t>(code), code % 9 - 4, code % 3});
    }
    return project;
}

void expectRefused(const Result<ProjectFile>& read, const std::string& path,
                   const std::string& reason) {
    ASSERT_FALSE(read.ok()) << path;
    EXPECT_EQ(read.message(), "cannot open \"" + path + "\": " + reason);
}

TEST(ProjectReadFault, FilesThatAreGoneOrAreNoFilesAreNamedWithTheReason) {
    TestFolder folder;

    // Chosen in the dialog, then deleted before it was read; a link whose file went away.
    const std::string vanished = folder.path("vanished.fnt");
    ASSERT_TRUE(writeProjectFile(vanished, fullCharsetProject()).ok());
    ASSERT_EQ(::unlink(vanished.c_str()), 0);
    expectRefused(readProjectFile(vanished), vanished, "No such file or directory");
    const std::string dangling = folder.path("dangling.fnt");
    std::filesystem::create_symlink(vanished, dangling);
    expectRefused(readProjectFile(dangling), dangling, "No such file or directory");

    const std::string empty = folder.path("empty.fnt");
    writeBytes(empty, {});
    expectRefused(readProjectFile(empty), empty,
                  "the file is 0 bytes long, too short for the 48-byte header of a font project");

    // A named pipe with no writer would block a plain open; it is refused at once.
    const std::string pipe = folder.path("pipe.fnt");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    expectRefused(readProjectFile(pipe), pipe, "it is not a regular file");

    const std::string inFolder = folder.path("inner.fnt");
    ASSERT_TRUE(std::filesystem::create_directory(inFolder));
    expectRefused(readProjectFile(inFolder), inFolder, "it is a folder");
}

TEST(ProjectReadFault, UnreadableFileIsNamedWithTheReason) {
    TestFolder folder;
    ASSERT_EQ(::chmod(folder.root().c_str(), 0755), 0);
    const std::string path = folder.path("secret.fnt");
    ASSERT_TRUE(writeProjectFile(path, fullCharsetProject()).ok());
    ASSERT_TRUE(giveToUnprivilegedUser(path));
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);

    const UnprivilegedOutcome outcome = runUnprivileged([&path] {
        const Result<ProjectFile> read = readProjectFile(path);
        return read.ok() ? Status::success() : Status::failure(read.message());
    });
    ASSERT_FALSE(outcome.childFailed);
    if (!outcome.ran) {
        GTEST_SKIP() << outcome.skipWhy;
    }
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "cannot open \"" + path + "\": Permission denied");
}

// The file on disk cut after every byte: each shorter file is refused with its length or its
// count of complete records, and only the whole file opens.
TEST(ProjectReadFault, EveryTruncationOnDiskIsRefused) {
    TestFolder folder;
    const std::vector<std::uint8_t> whole = encodeProjectFile(fullCharsetProject());
    const std::size_t recordsStart = 48 + 11 + 1 + 4;
    const std::string path = folder.path("cut.fnt");
    for (std::size_t length = 0; length < whole.size(); ++length) {
        writeBytes(path, std::vector<std::uint8_t>(whole.begin(),
                                                   whole.begin() + static_cast<long>(length)));
        const Result<ProjectFile> read = readProjectFile(path);
        ASSERT_FALSE(read.ok()) << "accepted the file cut to " << length << " bytes";
        const std::string why = length < recordsStart
                                    ? "the file is " + std::to_string(length) + " bytes long"
                                    : "the glyph count is 224 but the file holds " +
                                          std::to_string((length - recordsStart) / 9) +
                                          " complete glyph records";
        ASSERT_EQ(read.message().rfind("cannot open \"" + path + "\": " + why, 0), 0u)
            << read.message();
    }
    writeBytes(path, whole);
    const Result<ProjectFile> read = readProjectFile(path);
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(read.value(), fullCharsetProject());
}

// A 9 MB file of a million valid records, and a short file that only claims a million: both are
// refused by the record limit before any record is looked at.
TEST(ProjectReadFault, AMillionRecordsAreRefusedWithTheLimit) {
    TestFolder folder;
    ProjectFile huge;
    huge.faceName = "DejaVu Sans";
    std::vector<std::uint8_t> bytes = encodeProjectFile(huge);
    const std::size_t countAt = bytes.size() - 4;
    const std::uint32_t million = 1000000;
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[countAt + i] = static_cast<std::uint8_t>(million >> (8 * i));
    }
    const std::vector<std::uint8_t> claimOnly = bytes;
    const std::uint8_t record[9] = {'A', 1, 0, 0, 0, 2, 0, 0, 0};
    bytes.reserve(bytes.size() + 9 * std::size_t{million});
    for (std::uint32_t i = 0; i < million; ++i) {
        bytes.insert(bytes.end(), record, record + 9);
    }

    const std::string reason = "the glyph count 1000000 is above the limit of 1024";
    const std::string full = folder.path("million.fnt");
    writeBytes(full, bytes);
    ASSERT_EQ(std::filesystem::file_size(full), 64u + 9000000u);
    expectRefused(readProjectFile(full), full, reason);
    const std::string claim = folder.path("claim.fnt");
    writeBytes(claim, claimOnly);
    expectRefused(readProjectFile(claim), claim, reason);
}

}  // namespace
}  // namespace vemro
