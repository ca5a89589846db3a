#include "files/io/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "tests/files/child_process.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

const std::vector<std::uint8_t> kOld = {'o', 'l', 'd', '\n'};

Status writeVector(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return writeFileAtomically(path, bytes.data(), bytes.size());
}

TEST(AtomicFile, ReplacesAnExistingFileAndKeepsItsPermissions) {
    TestFolder folder;
    const std::string path = folder.path("out.bin");
    writeBytes(path, kOld);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const std::vector<std::uint8_t> next(1000, 0x5A);
    ASSERT_TRUE(writeVector(path, next).ok());
    EXPECT_EQ(readBytes(path), next);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"out.bin"});
}

TEST(AtomicFile, BareNameWritesIntoTheCurrentFolder) {
    TestFolder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.root());
    const Status status = writeVector("bare.bin", kOld);
    std::filesystem::current_path(previous);
    ASSERT_TRUE(status.ok()) << status.message();
    EXPECT_EQ(readBytes(folder.path("bare.bin")), kOld);
}

TEST(AtomicFile, UnreachableTargetsFailWithTheNameAndReasonAndCreateNothing) {
    TestFolder folder;
    writeBytes(folder.path("plain"), kOld);
    struct Case {
        std::string path;
        std::string reason;
    };
    const Case cases[] = {
        {folder.path("plain/out.bin"), "Not a directory"},
        {folder.path("missing/out.bin"), "No such file or directory"},
    };
    for (const Case& c : cases) {
        const Status status = writeVector(c.path, {1, 2, 3});
        ASSERT_FALSE(status.ok()) << c.path;
        EXPECT_EQ(status.message(), "cannot write \"" + c.path + "\": " + c.reason);
    }
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"plain"});
    EXPECT_EQ(readBytes(folder.path("plain")), kOld);
}

TEST(AtomicFile, FolderTargetIsRefusedAndKeepsItsContents) {
    TestFolder folder;
    std::filesystem::create_directory(folder.path("target"));
    writeBytes(folder.path("target/inside"), kOld);
    const Status status = writeVector(folder.path("target"), {1, 2, 3});
    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.message().find("is a folder"), std::string::npos) << status.message();
    EXPECT_TRUE(std::filesystem::is_directory(folder.path("target")));
    EXPECT_EQ(readBytes(folder.path("target/inside")), kOld);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"target"});
}

TEST(AtomicFile, DeviceTargetIsRefusedNotReplaced) {
    if (!std::filesystem::is_character_file("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this machine";
    }
    const Status status = writeVector("/dev/full", {1, 2, 3});
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.message(), "cannot write \"/dev/full\": it is not a regular file");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

// The write fails half-way (a file size limit stands in for a full disk): the temporary file
// goes away and the old file keeps every byte.
TEST(AtomicFile, FailureDuringTheWriteLeavesTheOldFileIntact) {
    TestFolder folder;
    const std::string path = folder.path("keep.bin");
    writeBytes(path, kOld);

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const Status status = writeVector(path, std::vector<std::uint8_t>(4096, 0x11));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.message(), "cannot write \"" + path + "\": File too large");
    EXPECT_EQ(readBytes(path), kOld);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"keep.bin"});
}

TEST(AtomicFile, ReadOnlyFolderLeavesTheOldFileIntact) {
    TestFolder folder;
    // The writer may be another user (see runUnprivileged): the folders must be searchable.
    ASSERT_EQ(::chmod(folder.root().c_str(), 0755), 0);
    ASSERT_TRUE(std::filesystem::create_directory(folder.path("locked")));
    const std::string path = folder.path("locked/keep.bin");
    writeBytes(path, kOld);
    // The writer owns the folder, so only its mode stops the write.
    ASSERT_TRUE(giveToUnprivilegedUser(folder.path("locked")));
    ASSERT_EQ(::chmod(folder.path("locked").c_str(), 0555), 0);

    const UnprivilegedOutcome outcome = runUnprivileged([&path] {
        return writeVector(path, {1, 2, 3});
    });
    ::chmod(folder.path("locked").c_str(), 0755);
    ASSERT_FALSE(outcome.childFailed);
    if (!outcome.ran) {
        GTEST_SKIP() << outcome.skipWhy;
    }
    ASSERT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "cannot write \"" + path + "\": Permission denied");
    EXPECT_EQ(readBytes(path), kOld);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path("locked"))) {
        left.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(left, std::vector<std::string>{"keep.bin"});
}

}  // namespace
}  // namespace vemro
