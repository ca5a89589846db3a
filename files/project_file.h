#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/result.h"

namespace vemro {

// Limits a project file must keep to be read (and that writing checks too). They are chosen so
// that every accepted file opens, rebuilds and exports quickly and no computation in the engine
// can overflow a signed 32-bit integer:
// - the texture side is 1..AtlasSize::kMaxSide (512), so the texture fits the atlas surface;
// - the face name has at most 255 bytes, so the name and its zero byte fit into 256 bytes;
// - at most 65536 glyph records (256 times the 256 different codes; files of 53 + N + 9n bytes
//   stay below 600 KB);
// - each character border lies in -1024..1024. A cell is then B / F + (font borders, at most
//   2 x 16) + (character borders, at most 2 x 1024) wide, B being a black-box width of a few
//   thousand pixels at most even at 100 points and factor 4, so |width| + 1 stays below 2^13.
//   The packing pen advances by width + 1 per glyph; over 65536 glyphs it moves by less than
//   2^16 x 2^13 = 2^29 in either direction, and the rows advance by line height + 33 each, so
//   every position, times the supersampling factor 4, stays below 2^31.
inline constexpr std::int32_t kMaxProjectFaceNameLength = 255;
inline constexpr std::int32_t kMaxProjectGlyphs = 65536;
inline constexpr std::int32_t kMinProjectCharBorder = -1024;
inline constexpr std::int32_t kMaxProjectCharBorder = 1024;

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
