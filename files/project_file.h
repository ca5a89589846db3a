#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/result.h"

namespace vemro {

// One glyph record of a project file.
struct ProjectGlyph {
    std::uint8_t code = 0;
    std::int32_t charBorderLeft = 0;
    std::int32_t charBorderRight = 0;

    friend bool operator==(const ProjectGlyph&, const ProjectGlyph&) = default;
};

// The contents of a .fnt project file: the inputs of an atlas, stored as they are (the values
// are not brought into the ranges of the window's controls here).
struct ProjectFile {
    std::int32_t textureWidth = 256;
    std::int32_t textureHeight = 256;
    std::int32_t borderLeft = 0;
    std::int32_t borderTop = 0;
    std::int32_t borderRight = 0;
    std::int32_t borderBottom = 0;
    std::int32_t size = 11;
    std::int32_t weight = 400;
    std::int32_t quality = 4;
    std::int32_t factor = 1;
    std::int32_t italic = 0;
    std::string faceName;
    std::vector<ProjectGlyph> glyphs;

    friend bool operator==(const ProjectFile&, const ProjectFile&) = default;
};

// The file's bytes: little-endian fields in file order, the face name with one zero byte,
// then 9-byte glyph records.
std::vector<std::uint8_t> encodeProjectFile(const ProjectFile& project);

// Checks the bytes completely before returning anything; displayName names the file in the
// message of a failure.
Result<ProjectFile> decodeProjectFile(const std::vector<std::uint8_t>& bytes,
                                      const std::string& displayName);

Result<ProjectFile> readProjectFile(const std::string& path);

// Writes through a temporary file in the same folder and a rename: a failure leaves any earlier
// file as it was.
Status writeProjectFile(const std::string& path, const ProjectFile& project);

}  // namespace vemro
