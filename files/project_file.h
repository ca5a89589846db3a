#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/result.h"

namespace vemro {

// Limits a project file must keep to be read (and that writing checks too). They are chosen so
// that every accepted file opens, rebuilds and exports in well under a second and a few tens of
// megabytes, and no computation in the engine can overflow a signed 32-bit integer:
// - the texture side is 1..AtlasSize::kMaxSide (512), so the texture fits the atlas surface;
// - the face name has at most 255 bytes, so the name and its zero byte fit into 256 bytes;
// - at most 1024 glyph records: four times the 256 different codes, room for the duplicates a
//   hand-edited file may hold (the window itself never makes more than 256);
// - each character border lies in -64..64 (the window's own controls give 0..16).
// The rebuild time is bounded by the glyph cells that reach the texture, each costing up to its
// visible width x height x F x F source pixels. Cells of non-negative width never overlap, so
// together they cover the texture at most once. Only negative widths move the packing pen back
// so that later cells cover earlier ones again; a glyph can pull the pen back by at most
// 2 x 64 - 1 pixels, so a cell that is drawn again and again is at most about 128 pixels wide
// and at most about 512 such cells fit into 1024 records. Cells are at most
// B / F + 2 x 16 + 2 x 64 wide, B being a black-box width of a few thousand pixels at most, and
// the pen moves by less than 1024 x 2^13 in either direction, so every position, times the
// supersampling factor 4, stays far below 2^31.
inline constexpr std::int32_t kMaxProjectFaceNameLength = 255;
inline constexpr std::int32_t kMaxProjectGlyphs = 1024;
inline constexpr std::int32_t kMinProjectCharBorder = -64;
inline constexpr std::int32_t kMaxProjectCharBorder = 64;

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
