// Every way the program writes a file (Save, the exported image, the exported description) meets
// the same faults: a read-only folder, a full disk, a target that is a folder or a device, a
// folder that does not exist. Each must fail with a message that names the file and the reason,
// and leave the file an earlier write made byte for byte as it was, with no temporary file left
// behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <functional>

#include "engine/atlas/atlas_result.h"
#include "engine/project/project.h"
#include "engine/text/windows1252.h"
#include "files/export/export_path.h"
#include "files/export/glyph_description.h"
#include "files/export/tga_image.h"
#include "files/project/project_opener.h"
#include "tests/files/child_process.h"
#include "tests/files/test_folder.h"

namespace vemro {
namespace {

// Inputs of two generations: the earlier write is small, the later one is larger than 4 KB
// whatever the path, so a write stopped after 4 KB fails in the middle of the file.
Project projectOf(bool later) {
    Project project;
    project.font.faceName = later ? "Later Face" : "Earlier";
    const int count = later ? kMaxProjectGlyphs : 3;
    for (int i = 0; i < count; ++i) {
        project.glyphs.append(
            {windows1252ToUnicode(static_cast<std::uint8_t>(i)), i % 7, -(i % 5)});
    }
    return project;
}

AtlasSize textureOf(bool later) {
    return later ? AtlasSize{64, 64} : AtlasSize{8, 4};
}

AtlasPage pageOf(bool later) {
    const AtlasSize size = textureOf(later);
    AtlasPage page;
    page.width = size.width;
    page.height = size.height;
    for (std::int32_t y = 0; y < size.height; ++y) {
        for (std::int32_t x = 0; x < size.width; ++x) {
            page.pixels.push_back(static_cast<std::uint8_t>(later ? x * y : x + y));
        }
    }
    return page;
}

AtlasResult resultOf(bool later) {
    AtlasResult result;
    result.textureSize = textureOf(later);
    for (int i = 0; i < (later ? 600 : 2); ++i) {
        PlacedGlyph glyph;
        glyph.code = windows1252ToUnicode(static_cast<std::uint8_t>(i));
        glyph.x = i;
        glyph.y = 2 * i;
        glyph.width = 10;
        glyph.height = 12;
        result.glyphs.push_back(glyph);
    }
    return result;
}

// One of the program's write paths: what it is called, how it writes (the earlier or the later
// inputs) for a chosen path, and which file that chosen path ends up in.
struct WritePath {
    const char* name;
    std::function<Status(const std::string& chosen, bool later)> write;
    std::string extension;  // the target is the chosen path with this extension; empty: as chosen

    std::string target(const std::string& chosen) const {
        return extension.empty() ? chosen : exportPath(chosen, extension);
    }
};

const WritePath kWritePaths[] = {
    {"Save",
     [](const std::string& chosen, bool later) {
         return saveProject(chosen, Document{projectOf(later)});
     },
     ""},
    {"ExportImage",
     [](const std::string& chosen, bool later) {
         return writeTgaImage(exportPath(chosen, ".tga"), pageOf(later), textureOf(later));
     },
     ".tga"},
    {"ExportDescription",
     [](const std::string& chosen, bool later) {
         return writeGlyphDescription(exportPath(chosen, ".tfd"), resultOf(later));
     },
     ".tfd"},
};

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool startsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

class WriteFault : public ::testing::TestWithParam<WritePath> {
protected:
    // Makes the earlier file in folder and returns the chosen path that writes it.
    std::string writeEarlier(const std::string& folder) {
        const std::string chosen = folder + "/font.fnt";
        const Status status = GetParam().write(chosen, false);
        EXPECT_TRUE(status.ok()) << status.message();
        earlierBytes = readBytes(GetParam().target(chosen));
        EXPECT_FALSE(earlierBytes.empty());
        return chosen;
    }

    std::string targetName() const { return GetParam().target("font.fnt"); }

    TestFolder folder;
    std::vector<std::uint8_t> earlierBytes;
};

TEST_P(WriteFault, ReadOnlyFolderIsReportedAndKeepsTheEarlierFile) {
    ASSERT_EQ(::chmod(folder.root().c_str(), 0755), 0);
    const std::string locked = folder.path("locked");
    ASSERT_TRUE(std::filesystem::create_directory(locked));
    const std::string chosen = writeEarlier(locked);
    const std::string target = GetParam().target(chosen);
    ASSERT_TRUE(giveToUnprivilegedUser(locked));
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);

    const UnprivilegedOutcome outcome =
        runUnprivileged([this, &chosen] { return GetParam().write(chosen, true); });
    ::chmod(locked.c_str(), 0755);
    ASSERT_FALSE(outcome.childFailed);
    if (!outcome.ran) {
        GTEST_SKIP() << outcome.skipWhy;
    }
    ASSERT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "cannot write \"" + target + "\": Permission denied");
    EXPECT_EQ(readBytes(target), earlierBytes);
    EXPECT_EQ(entriesOf(locked), std::vector<std::string>{targetName()});
}

// The target is a link to /dev/full, a device that takes no bytes: it is refused, not written.
TEST_P(WriteFault, DevFullTargetIsRefused) {
    if (!std::filesystem::is_character_file("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this machine";
    }
    const std::string chosen = folder.path("font.fnt");
    const std::string target = GetParam().target(chosen);
    std::filesystem::create_symlink("/dev/full", target);

    const Status status = GetParam().write(chosen, true);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.message(), "cannot write \"" + target + "\": it is not a regular file");
    EXPECT_EQ(std::filesystem::read_symlink(target), "/dev/full");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{targetName()});
}

// The write stops after 4 KB, half-way through the new file (a file size limit, which every
// user can set, stands in for a disk that fills up).
TEST_P(WriteFault, WriteFailingHalfWayKeepsTheEarlierFile) {
    const std::string chosen = writeEarlier(folder.root().string());
    const std::string target = GetParam().target(chosen);

    const std::optional<std::string> message = runInChild([this, &chosen]() -> std::string {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 4096;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return "cannot limit the file size";
        }
        const Status status = GetParam().write(chosen, true);
        return status.ok() ? "written" : status.message();
    });
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(*message, "cannot write \"" + target + "\": File too large");
    EXPECT_EQ(readBytes(target), earlierBytes);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{targetName()});
}

// A real full disk: a 64 KB memory file system, mounted in a mount namespace of a child's own
// so the machine never sees it, filled up to the last 4 KB. Needs the right to mount (root in
// most containers); skipped otherwise.
TEST_P(WriteFault, FullDiskKeepsTheEarlierFile) {
    const std::string disk = folder.path("disk");
    ASSERT_TRUE(std::filesystem::create_directory(disk));

    const std::optional<std::string> report = runInChild([this, &disk]() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("vemro-test", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
            return std::string("skip: cannot mount a small file system: ") + std::strerror(errno);
        }
        const std::string chosen = disk + "/font.fnt";
        const Status earlier = GetParam().write(chosen, false);
        if (!earlier.ok()) {
            return "the earlier write failed: " + earlier.message();
        }
        const std::vector<std::uint8_t> before = readBytes(GetParam().target(chosen));

        // Fill the disk, then free 4 KB: less than any later write needs.
        const std::string filler = disk + "/filler";
        const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::vector<char> block(4096, 'f');
        off_t size = 0;
        ssize_t written = 0;
        while ((written = ::write(fd, block.data(), block.size())) > 0) {
            size += written;
        }
        const bool full = written < 0 && errno == ENOSPC;
        const bool freed = ::ftruncate(fd, size > 4096 ? size - 4096 : 0) == 0;
        ::close(fd);
        if (!full || !freed) {
            return "the disk did not fill up";
        }

        const Status later = GetParam().write(chosen, true);
        std::string text = later.ok() ? "written" : later.message();
        text += readBytes(GetParam().target(chosen)) == before ? "|kept" : "|changed";
        for (const std::string& name : entriesOf(disk)) {
            text += "|" + name;
        }
        return text;
    });
    ASSERT_TRUE(report.has_value());
    if (startsWith(*report, "skip: ")) {
        GTEST_SKIP() << report->substr(6);
    }
    const std::string target = GetParam().target(disk + "/font.fnt");
    EXPECT_EQ(*report, "cannot write \"" + target + "\": No space left on device|kept|filler|" +
                           targetName());
}

TEST_P(WriteFault, FolderTargetIsRefusedAndKeepsItsContents) {
    const std::string chosen = folder.path("font.fnt");
    const std::string target = GetParam().target(chosen);
    ASSERT_TRUE(std::filesystem::create_directory(target));
    writeBytes(target + "/inside", {'k', 'e', 'e', 'p'});

    const Status status = GetParam().write(chosen, true);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.message(), "cannot write \"" + target + "\": it is a folder");
    EXPECT_EQ(readBytes(target + "/inside"), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(entriesOf(target), std::vector<std::string>{"inside"});
    EXPECT_EQ(folder.entries(), std::vector<std::string>{targetName()});
}

TEST_P(WriteFault, MissingFolderIsReportedAndNothingIsCreated) {
    const std::string chosen = folder.path("gone/font.fnt");
    const Status status = GetParam().write(chosen, true);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.message(),
              "cannot write \"" + GetParam().target(chosen) + "\": No such file or directory");
    EXPECT_TRUE(folder.entries().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryWritePath, WriteFault, ::testing::ValuesIn(kWritePaths),
                         [](const ::testing::TestParamInfo<WritePath>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace vemro
