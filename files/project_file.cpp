#include "files/project_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "engine/atlas_size.h"
#include "files/atomic_file.h"

namespace vemro {

namespace {

// Twelve 32-bit fields from the texture width to the face name length.
constexpr std::size_t kHeaderBytes = 48;
constexpr std::size_t kGlyphRecordBytes = 9;
// No accepted file needs more bytes than this; anything behind it is ignored unread.
constexpr std::size_t kMaxUsefulFileBytes =
    kHeaderBytes + kMaxProjectFaceNameLength + 1 + 4 + kGlyphRecordBytes * kMaxProjectGlyphs;

void putInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    out.push_back(static_cast<std::uint8_t>(bits));
    out.push_back(static_cast<std::uint8_t>(bits >> 8));
    out.push_back(static_cast<std::uint8_t>(bits >> 16));
    out.push_back(static_cast<std::uint8_t>(bits >> 24));
}

std::int32_t getInt32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    const std::uint32_t bits =
        std::uint32_t{bytes[offset]} | (std::uint32_t{bytes[offset + 1]} << 8) |
        (std::uint32_t{bytes[offset + 2]} << 16) | (std::uint32_t{bytes[offset + 3]} << 24);
    return static_cast<std::int32_t>(bits);
}

std::string range(std::int64_t low, std::int64_t high) {
    return std::to_string(low) + ".." + std::to_string(high);
}

bool validCharBorder(std::int32_t border) {
    return border >= kMinProjectCharBorder && border <= kMaxProjectCharBorder;
}

std::string charBorderProblem(std::size_t index, std::uint8_t code, const char* side,
                              std::int32_t border) {
    return "glyph record " + std::to_string(index + 1) + " (code " + std::to_string(code) +
           ") has a " + side + " character border of " + std::to_string(border) +
           ", outside the limit of " + range(kMinProjectCharBorder, kMaxProjectCharBorder);
}

// What makes a project impossible to store so that it reads back, or nothing.
std::optional<std::string> valueProblem(const ProjectFile& project) {
    if (!AtlasSize::isValidSide(project.textureWidth)) {
        return "the texture width " + std::to_string(project.textureWidth) +
               " is outside the allowed range " + range(1, AtlasSize::kMaxSide);
    }
    if (!AtlasSize::isValidSide(project.textureHeight)) {
        return "the texture height " + std::to_string(project.textureHeight) +
               " is outside the allowed range " + range(1, AtlasSize::kMaxSide);
    }
    if (project.faceName.size() > static_cast<std::size_t>(kMaxProjectFaceNameLength)) {
        return "the face name of " + std::to_string(project.faceName.size()) +
               " bytes is longer than the limit of " + std::to_string(kMaxProjectFaceNameLength);
    }
    if (project.glyphs.size() > static_cast<std::size_t>(kMaxProjectGlyphs)) {
        return "the glyph count " + std::to_string(project.glyphs.size()) +
               " is above the limit of " + std::to_string(kMaxProjectGlyphs);
    }
    for (std::size_t i = 0; i < project.glyphs.size(); ++i) {
        const ProjectGlyph& glyph = project.glyphs[i];
        if (!validCharBorder(glyph.charBorderLeft)) {
            return charBorderProblem(i, glyph.code, "left", glyph.charBorderLeft);
        }
        if (!validCharBorder(glyph.charBorderRight)) {
            return charBorderProblem(i, glyph.code, "right", glyph.charBorderRight);
        }
    }
    return std::nullopt;
}

// Reads at most limit bytes of a regular file. Returns a reason on failure.
std::optional<std::string> readFileStart(const std::string& path, std::size_t limit,
                                         std::vector<std::uint8_t>& bytes) {
    // O_NONBLOCK keeps a named pipe from blocking the open; it is refused below anyway.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::string(std::strerror(errno));
    }
    struct stat info {};
    std::optional<std::string> problem;
    if (::fstat(fd, &info) != 0) {
        problem = std::strerror(errno);
    } else if (S_ISDIR(info.st_mode)) {
        problem = "it is a folder";
    } else if (!S_ISREG(info.st_mode)) {
        problem = "it is not a regular file";
    } else {
        const auto fileSize = static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 0);
        bytes.resize(fileSize < limit ? fileSize : limit);
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                problem = std::strerror(errno);
                break;
            }
            if (got == 0) {
                break;  // the file shrank while being read; decoding judges what arrived
            }
            done += static_cast<std::size_t>(got);
        }
        bytes.resize(done);
    }
    ::close(fd);
    return problem;
}

}  // namespace

std::vector<std::uint8_t> encodeProjectFile(const ProjectFile& project) {
    std::vector<std::uint8_t> out;
    out.reserve(kHeaderBytes + project.faceName.size() + 5 +
                kGlyphRecordBytes * project.glyphs.size());
    putInt32(out, project.textureWidth);
    putInt32(out, project.textureHeight);
    putInt32(out, project.borderLeft);
    putInt32(out, project.borderTop);
    putInt32(out, project.borderRight);
    putInt32(out, project.borderBottom);
    putInt32(out, project.size);
    putInt32(out, project.weight);
    putInt32(out, project.quality);
    putInt32(out, project.factor);
    putInt32(out, project.italic);
    putInt32(out, static_cast<std::int32_t>(project.faceName.size()));
    out.insert(out.end(), project.faceName.begin(), project.faceName.end());
    out.push_back(0);
    putInt32(out, static_cast<std::int32_t>(project.glyphs.size()));
    for (const ProjectGlyph& glyph : project.glyphs) {
        out.push_back(glyph.code);
        putInt32(out, glyph.charBorderLeft);
        putInt32(out, glyph.charBorderRight);
    }
    return out;
}

Result<ProjectFile> decodeProjectFile(const std::vector<std::uint8_t>& bytes,
                                      const std::string& displayName) {
    const auto fail = [&displayName](const std::string& reason) {
        return Result<ProjectFile>::failure("cannot open \"" + displayName + "\": " + reason);
    };
    const std::size_t length = bytes.size();
    if (length < kHeaderBytes) {
        return fail("the file is " + std::to_string(length) +
                    " bytes long, too short for the 48-byte header of a font project");
    }

    ProjectFile project;
    project.textureWidth = getInt32(bytes, 0);
    project.textureHeight = getInt32(bytes, 4);
    project.borderLeft = getInt32(bytes, 8);
    project.borderTop = getInt32(bytes, 12);
    project.borderRight = getInt32(bytes, 16);
    project.borderBottom = getInt32(bytes, 20);
    project.size = getInt32(bytes, 24);
    project.weight = getInt32(bytes, 28);
    project.quality = getInt32(bytes, 32);
    project.factor = getInt32(bytes, 36);
    project.italic = getInt32(bytes, 40);
    const std::int32_t nameLength = getInt32(bytes, 44);

    if (nameLength < 0 || nameLength > kMaxProjectFaceNameLength) {
        return fail("the face name length " + std::to_string(nameLength) +
                    " is outside the allowed range " + range(0, kMaxProjectFaceNameLength));
    }
    const auto nameBytes = static_cast<std::size_t>(nameLength);
    const std::size_t countOffset = kHeaderBytes + nameBytes + 1;
    if (length < countOffset + 4) {
        return fail("the file is " + std::to_string(length) + " bytes long and ends inside the " +
                    (length < countOffset ? "face name" : "glyph count") + " (" +
                    std::to_string(countOffset + 4) + " bytes needed)");
    }

    // The name is the stored bytes up to the first zero byte; it never runs past its N bytes.
    std::size_t nameEnd = kHeaderBytes;
    while (nameEnd < kHeaderBytes + nameBytes && bytes[nameEnd] != 0) {
        ++nameEnd;
    }
    project.faceName.assign(bytes.begin() + kHeaderBytes, bytes.begin() + nameEnd);

    const std::int32_t glyphCount = getInt32(bytes, countOffset);
    if (glyphCount < 0) {
        return fail("the glyph count " + std::to_string(glyphCount) + " is negative");
    }
    if (glyphCount > kMaxProjectGlyphs) {
        return fail("the glyph count " + std::to_string(glyphCount) + " is above the limit of " +
                    std::to_string(kMaxProjectGlyphs));
    }
    const std::size_t recordsOffset = countOffset + 4;
    const std::size_t recordsPresent = (length - recordsOffset) / kGlyphRecordBytes;
    if (recordsPresent < static_cast<std::size_t>(glyphCount)) {
        return fail("the glyph count is " + std::to_string(glyphCount) + " but the file holds " +
                    std::to_string(recordsPresent) + " complete glyph records");
    }

    project.glyphs.reserve(static_cast<std::size_t>(glyphCount));
    for (std::size_t i = 0; i < static_cast<std::size_t>(glyphCount); ++i) {
        const std::size_t at = recordsOffset + i * kGlyphRecordBytes;
        ProjectGlyph glyph;
        glyph.code = bytes[at];
        glyph.charBorderLeft = getInt32(bytes, at + 1);
        glyph.charBorderRight = getInt32(bytes, at + 5);
        project.glyphs.push_back(glyph);
    }
    if (const auto problem = valueProblem(project)) {
        return fail(*problem);
    }
    return project;
}

Result<ProjectFile> readProjectFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (const auto problem = readFileStart(path, kMaxUsefulFileBytes, bytes)) {
        return Result<ProjectFile>::failure("cannot open \"" + path + "\": " + *problem);
    }
    return decodeProjectFile(bytes, path);
}

Status writeProjectFile(const std::string& path, const ProjectFile& project) {
    if (const auto problem = valueProblem(project)) {
        return Status::failure("cannot save \"" + path + "\": " + *problem);
    }
    const std::vector<std::uint8_t> bytes = encodeProjectFile(project);
    return writeFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace vemro
