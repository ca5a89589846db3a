#include "files/project/project_file.h"

#include <algorithm>
#include <optional>

#include "engine/text/windows1252.h"
#include "files/io/atomic_file.h"
#include "files/io/little_endian.h"
#include "files/io/regular_file.h"
#include "files/project/project_extension.h"

namespace vemro {

namespace {

// Twelve 32-bit fields from the texture width to the face name length.
constexpr std::size_t kHeaderBytes = 48;
constexpr std::size_t kGlyphRecordBytes = 9;
// No accepted file is longer than this; bytes behind it are read only to see that there are some.
std::size_t maxUsefulFileBytes() {
    return kHeaderBytes + kMaxProjectFaceNameLength + 1 + 4 +
           kGlyphRecordBytes * kMaxProjectGlyphs + maxProjectExtensionBytes();
}

std::string range(std::int64_t low, std::int64_t high) {
    return std::to_string(low) + ".." + std::to_string(high);
}

bool validHeaderSide(std::int32_t side) {
    return side >= 1 && side <= kMaxProjectHeaderTextureSide;
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

std::string describeRecord(const ProjectGlyph& glyph) {
    return "code " + std::to_string(glyph.code) + ", borders " +
           std::to_string(glyph.charBorderLeft) + " and " + std::to_string(glyph.charBorderRight);
}

// Where the glyph records differ from the records the character list gives, or nothing.
std::optional<std::string> recordsProblem(const std::vector<ProjectGlyph>& records,
                                          const std::vector<ProjectGlyph>& expected) {
    const std::size_t common = std::min(records.size(), expected.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (!(records[i] == expected[i])) {
            return "glyph record " + std::to_string(i + 1) + " (" + describeRecord(records[i]) +
                   ") disagrees with the character list, whose character " + std::to_string(i + 1) +
                   " with a Windows-1252 byte gives " + describeRecord(expected[i]);
        }
    }
    if (records.size() != expected.size()) {
        return "the file holds " + std::to_string(records.size()) +
               " glyph records, but its character list has " + std::to_string(expected.size()) +
               " characters with a Windows-1252 byte";
    }
    return std::nullopt;
}

// Where the header's texture sides differ from min(side, 512) of the true sides in the
// extension, or nothing.
std::optional<std::string> headerSidesProblem(const ProjectFile& project) {
    if (!project.extension->textureSize) {
        return std::nullopt;
    }
    const AtlasSize size = *project.extension->textureSize;
    const auto disagreement = [](const char* side, std::int32_t header, std::int32_t actual) {
        return std::string("the header's texture ") + side + " " + std::to_string(header) +
               " disagrees with the " + side + " " + std::to_string(actual) +
               " in the section \"TXSZ\" (the header holds it up to " +
               std::to_string(kMaxProjectHeaderTextureSide) + ")";
    };
    if (project.textureWidth != std::min(size.width, kMaxProjectHeaderTextureSide)) {
        return disagreement("width", project.textureWidth, size.width);
    }
    if (project.textureHeight != std::min(size.height, kMaxProjectHeaderTextureSide)) {
        return disagreement("height", project.textureHeight, size.height);
    }
    return std::nullopt;
}

// What makes a project impossible to store so that it reads back, or nothing.
std::optional<std::string> valueProblem(const ProjectFile& project) {
    if (!validHeaderSide(project.textureWidth)) {
        return "the texture width " + std::to_string(project.textureWidth) +
               " is outside the allowed range " + range(1, kMaxProjectHeaderTextureSide);
    }
    if (!validHeaderSide(project.textureHeight)) {
        return "the texture height " + std::to_string(project.textureHeight) +
               " is outside the allowed range " + range(1, kMaxProjectHeaderTextureSide);
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
    if (project.extension) {
        if (auto problem = projectExtensionProblem(*project.extension)) {
            return problem;
        }
        if (auto problem = headerSidesProblem(project)) {
            return problem;
        }
        return recordsProblem(project.glyphs, windows1252Records(project.extension->characters));
    }
    return std::nullopt;
}

}  // namespace

std::vector<ProjectGlyph> windows1252Records(const std::vector<ProjectCharacter>& characters) {
    std::vector<ProjectGlyph> records;
    for (const ProjectCharacter& character : characters) {
        if (const std::optional<std::uint8_t> code = unicodeToWindows1252(character.code)) {
            records.push_back(
                ProjectGlyph{*code, character.charBorderLeft, character.charBorderRight});
        }
    }
    return records;
}

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
    if (project.extension) {
        appendProjectExtension(out, *project.extension);
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
    const std::size_t recordsEnd =
        recordsOffset + kGlyphRecordBytes * static_cast<std::size_t>(glyphCount);
    if (startsProjectExtension(bytes, recordsEnd)) {
        Result<ProjectExtension> extension = decodeProjectExtension(bytes, recordsEnd);
        if (!extension) {
            return fail(extension.message());
        }
        project.extension = std::move(extension.value());
    }
    if (const auto problem = valueProblem(project)) {
        return fail(*problem);
    }
    return project;
}

Result<ProjectFile> readProjectFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    // One byte past the longest accepted file, so that a longer one is not taken for its start.
    if (const auto problem = readRegularFile(path, maxUsefulFileBytes() + 1, bytes)) {
        return Result<ProjectFile>::failure("cannot open \"" + path + "\": " + *problem);
    }
    return decodeProjectFile(bytes, path);
}

bool isProjectFile(const std::string& path) {
    // Images and descriptors start with bytes that make no texture size, so exported pages,
    // however large, are told apart by their first eight bytes.
    std::vector<std::uint8_t> bytes;
    const auto plausibleSide = [&](std::size_t at) {
        const std::int32_t side = getInt32(bytes, at);
        return side >= 1 && side <= 65536;
    };
    if (readRegularFile(path, 8, bytes) || bytes.size() < 8 || !plausibleSide(0) ||
        !plausibleSide(4)) {
        return false;
    }
    if (readRegularFile(path, maxUsefulFileBytes() + 1, bytes)) {
        return false;
    }
    if (decodeProjectFile(bytes, path)) {
        return true;
    }
    if (bytes.size() < kHeaderBytes) {
        return false;
    }
    const std::int32_t nameLength = getInt32(bytes, 44);
    if (nameLength < 0 || nameLength > kMaxProjectFaceNameLength) {
        return false;
    }
    const std::size_t countOffset = kHeaderBytes + static_cast<std::size_t>(nameLength) + 1;
    if (bytes.size() < countOffset + 4) {
        return false;
    }
    const std::int32_t glyphCount = getInt32(bytes, countOffset);
    if (glyphCount < 0 || glyphCount > kMaxProjectGlyphs) {
        return false;
    }
    return startsProjectExtension(
        bytes, countOffset + 4 + kGlyphRecordBytes * static_cast<std::size_t>(glyphCount));
}

Status writeProjectFile(const std::string& path, const ProjectFile& project) {
    if (const auto problem = valueProblem(project)) {
        return Status::failure("cannot save \"" + path + "\": " + *problem);
    }
    const std::vector<std::uint8_t> bytes = encodeProjectFile(project);
    return writeFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace vemro
