#include "files/project/project_file.h"

#include <algorithm>
#include <optional>

#include "engine/project/setting_choices.h"
#include "engine/text/windows1252.h"
#include "files/io/atomic_file.h"
#include "files/io/byte_reader.h"
#include "files/io/byte_writer.h"
#include "files/io/regular_file.h"
#include "files/project/project_extension.h"
#include "files/project/section_fields.h"
#include "files/project/settings_sections.h"

namespace vemro {

namespace {

// Twelve 32-bit fields from the texture width to the face name length.
constexpr std::size_t kHeaderBytes = 48;
constexpr std::size_t kCountBytes = 4;  // the glyph count
constexpr std::size_t kGlyphRecordBytes = 9;
// No accepted file is longer than this; bytes behind it are read only to see that there are some.
std::size_t maxUsefulFileBytes() {
    return kHeaderBytes + kMaxProjectFaceNameLength + 1 + 4 +
           kGlyphRecordBytes * kMaxProjectGlyphs + maxProjectExtensionBytes();
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
           ", outside the limit of " + rangeText(kMinProjectCharBorder, kMaxProjectCharBorder);
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
    const AtlasSize size = project.extension->project.textureSize;
    const auto disagreement = [](const char* side, std::int32_t header, std::int32_t actual) {
        return std::string("the header's texture ") + side + " " + std::to_string(header) +
               " disagrees with the " + side + " " + std::to_string(actual) + " in the section \"" +
               kTextureSizeTag + "\" (the header holds it up to " +
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

// Where the header's weight differs from the one that stands for the true weight in the
// extension, or nothing. Without a section "WGHT" the header holds the true weight.
std::optional<std::string> headerWeightProblem(const ProjectFile& project) {
    const std::int32_t weight = project.extension->project.font.weight;
    if (findChoice(kWeightChoices, weight) || project.weight == fixedWeightFor(weight)) {
        return std::nullopt;
    }
    return "the header's weight " + std::to_string(project.weight) + " disagrees with the weight " +
           std::to_string(weight) + " in the section \"" + kWeightTag + "\" (the header holds " +
           std::to_string(fixedWeightFor(weight)) + " for it)";
}

// What makes a project impossible to store so that it reads back, or nothing.
std::optional<std::string> valueProblem(const ProjectFile& project) {
    if (!validHeaderSide(project.textureWidth)) {
        return "the texture width " + std::to_string(project.textureWidth) +
               " is outside the allowed range " + rangeText(1, kMaxProjectHeaderTextureSide);
    }
    if (!validHeaderSide(project.textureHeight)) {
        return "the texture height " + std::to_string(project.textureHeight) +
               " is outside the allowed range " + rangeText(1, kMaxProjectHeaderTextureSide);
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
        if (auto problem = headerWeightProblem(project)) {
            return problem;
        }
        return recordsProblem(project.glyphs,
                              windows1252Records(project.extension->project.glyphs));
    }
    return std::nullopt;
}

// Reads the header, the face name and the glyph records, or says what is wrong with them.
std::optional<std::string> readRecords(ByteReader& in, ProjectFile& project) {
    const std::size_t length = in.remaining();
    if (!in.has(kHeaderBytes)) {
        return "the file is " + std::to_string(length) + " bytes long, too short for the " +
               std::to_string(kHeaderBytes) + "-byte header of a font project";
    }
    for (std::int32_t* field :
         {&project.textureWidth, &project.textureHeight, &project.borderLeft, &project.borderTop,
          &project.borderRight, &project.borderBottom, &project.size, &project.weight,
          &project.quality, &project.factor, &project.italic}) {
        *field = in.i32();
    }
    const std::int32_t nameLength = in.i32();
    if (nameLength < 0 || nameLength > kMaxProjectFaceNameLength) {
        return "the face name length " + std::to_string(nameLength) +
               " is outside the allowed range " + rangeText(0, kMaxProjectFaceNameLength);
    }
    const auto nameBytes = static_cast<std::size_t>(nameLength);
    if (!in.has(nameBytes + 1 + kCountBytes)) {
        const std::size_t countAt = in.position() + nameBytes + 1;
        return "the file is " + std::to_string(length) + " bytes long and ends inside the " +
               (length < countAt ? "face name" : "glyph count") + " (" +
               std::to_string(countAt + kCountBytes) + " bytes needed)";
    }
    // The name is the stored bytes up to the first zero byte; it never runs past its N bytes.
    const std::string stored = in.text(nameBytes);
    project.faceName = stored.substr(0, stored.find('\0'));
    in.skip(1);  // the zero byte after the name

    const std::int32_t glyphCount = in.i32();
    if (glyphCount < 0) {
        return "the glyph count " + std::to_string(glyphCount) + " is negative";
    }
    if (glyphCount > kMaxProjectGlyphs) {
        return "the glyph count " + std::to_string(glyphCount) + " is above the limit of " +
               std::to_string(kMaxProjectGlyphs);
    }
    const std::size_t recordsPresent = in.remaining() / kGlyphRecordBytes;
    if (recordsPresent < static_cast<std::size_t>(glyphCount)) {
        return "the glyph count is " + std::to_string(glyphCount) + " but the file holds " +
               std::to_string(recordsPresent) + " complete glyph records";
    }
    project.glyphs.resize(static_cast<std::size_t>(glyphCount));
    for (ProjectGlyph& glyph : project.glyphs) {
        glyph.code = in.u8();
        glyph.charBorderLeft = in.i32();
        glyph.charBorderRight = in.i32();
    }
    return std::nullopt;
}

}  // namespace

std::vector<ProjectGlyph> windows1252Records(const GlyphList& characters) {
    std::vector<ProjectGlyph> records;
    for (const Glyph& character : characters) {
        if (const std::optional<std::uint8_t> code = unicodeToWindows1252(character.code)) {
            records.push_back(
                ProjectGlyph{*code, character.charBorderLeft, character.charBorderRight});
        }
    }
    return records;
}

std::vector<std::uint8_t> encodeProjectFile(const ProjectFile& project) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kHeaderBytes + project.faceName.size() + 5 +
                  kGlyphRecordBytes * project.glyphs.size());
    ByteWriter out(bytes);
    for (const std::int32_t field :
         {project.textureWidth, project.textureHeight, project.borderLeft, project.borderTop,
          project.borderRight, project.borderBottom, project.size, project.weight, project.quality,
          project.factor, project.italic, static_cast<std::int32_t>(project.faceName.size())}) {
        out.i32(field);
    }
    out.text(project.faceName);
    out.u8(0);
    out.i32(static_cast<std::int32_t>(project.glyphs.size()));
    for (const ProjectGlyph& glyph : project.glyphs) {
        out.u8(glyph.code);
        out.i32(glyph.charBorderLeft);
        out.i32(glyph.charBorderRight);
    }
    if (project.extension) {
        appendProjectExtension(out, *project.extension);
    }
    return bytes;
}

Result<ProjectFile> decodeProjectFile(const std::vector<std::uint8_t>& bytes,
                                      const std::string& displayName) {
    const auto fail = [&displayName](const std::string& reason) {
        return Result<ProjectFile>::failure("cannot open \"" + displayName + "\": " + reason);
    };
    ProjectFile project;
    ByteReader in(bytes);
    if (const std::optional<std::string> problem = readRecords(in, project)) {
        return fail(*problem);
    }
    if (startsProjectExtension(in)) {
        // Without a section "TXSZ" the header's sides are the true ones.
        Document start;
        start.project.textureSize = AtlasSize{project.textureWidth, project.textureHeight};
        Result<Document> extension = decodeProjectExtension(in, std::move(start));
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
    const auto plausibleSide = [](std::int32_t side) { return side >= 1 && side <= 65536; };
    if (readRegularFile(path, 8, bytes) || bytes.size() < 8) {
        return false;
    }
    ByteReader sides(bytes);
    if (!plausibleSide(sides.i32()) || !plausibleSide(sides.i32())) {
        return false;
    }
    if (readRegularFile(path, maxUsefulFileBytes() + 1, bytes)) {
        return false;
    }
    if (decodeProjectFile(bytes, path)) {
        return true;
    }
    ProjectFile records;
    ByteReader in(bytes);
    return !readRecords(in, records) && startsProjectExtension(in);
}

Status writeProjectFile(const std::string& path, const ProjectFile& project) {
    if (const auto problem = valueProblem(project)) {
        return Status::failure("cannot save \"" + path + "\": " + *problem);
    }
    const std::vector<std::uint8_t> bytes = encodeProjectFile(project);
    return writeFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace vemro
