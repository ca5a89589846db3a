#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/result.h"
#include "engine/project/glyph_list.h"
#include "files/project/document.h"

namespace vemro {

// Limits a project file must keep to be read (and that writing checks too). They are chosen so
// that every accepted file opens, rebuilds and exports in bounded time and memory (with the
// engine's own caps on pages and drawn ink, pack_options.h), and no computation in the engine
// can overflow a signed 32-bit integer:
// - the header's texture sides are 1..512 (kMaxProjectHeaderTextureSide), as every version of
//   the program reads them; a project with a larger side stores min(side, 512) there and its true
//   sides, 1..AtlasSize::kMaxSide (4096) each, in the extension;
// - the face name has at most 255 bytes, so the name and its zero byte fit into 256 bytes;
// - at most 1024 glyph records: four times the 256 different codes, room for the duplicates a
//   hand-edited file may hold (the window itself never makes more than 256); with an extension
//   the records hold the characters that have a Windows-1252 byte, so the same limit keeps
//   every file this program writes open in older versions;
// - at most 65,536 characters in the extension's character list, and a font file path of at
//   most 4,096 bytes (the longest path Linux opens);
// - each character border lies in -64..64 (the window's own controls give 0..16);
// - the packing spacing lies in 0..16 (settings_sections.h), and the effects' values in the
//   ranges of EffectSettings (effect_section.h).
// A rebuild measures each distinct character once and draws only the cells that reach the
// texture, each costing up to its visible width x height. Cells of non-negative width never
// overlap, so together they cover the texture at most once. Only negative widths move the
// packing pen back so that later cells cover earlier ones again; a glyph can pull the pen back by
// at most 2 x 64 - 1 pixels, so a cell that is drawn again and again is at most about 128 pixels
// wide. Cells are at most B / F + 2 x 16 + 2 x 64 wide, B being a black-box width of a few
// thousand pixels at most, so the pen moves by less than 65,536 x 2^12 = 2^28 in either
// direction, and every position, times the supersampling factor 4, stays below 2^31.
inline constexpr std::int32_t kMaxProjectHeaderTextureSide = 512;
inline constexpr std::int32_t kMaxProjectFaceNameLength = 255;
inline constexpr std::int32_t kMaxProjectGlyphs = 1024;
inline constexpr std::int32_t kMaxProjectCharacters = 65536;
inline constexpr std::int32_t kMaxProjectFontPathLength = 4096;
inline constexpr std::int32_t kMaxProjectFontFaceIndex = 65535;
inline constexpr std::int32_t kMinProjectCharBorder = -64;
inline constexpr std::int32_t kMaxProjectCharBorder = 64;

// One glyph record of a project file.
struct ProjectGlyph {
    std::uint8_t code = 0;
    std::int32_t charBorderLeft = 0;
    std::int32_t charBorderRight = 0;

    friend bool operator==(const ProjectGlyph&, const ProjectGlyph&) = default;
};

// What a project file holds after its glyph records, for what the records and the header cannot
// say: the document's values that the extension's sections hold (project_extension.h), the font
// file as stored (absolute, or relative to the project file's folder), and the texture's true
// sides (the header's when no side is above its 512). The values only the header holds keep
// Document{}'s: the font borders, face, size, weight, quality, factor and italic; but a weight
// other than the header's three is the true one (section WGHT), the header holding its stand-in,
// fixedWeightFor(weight).
using ProjectExtension = Document;

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
    // With an extension, exactly the entries of its character list that have a Windows-1252
    // byte, in the same order (windows1252Records).
    std::vector<ProjectGlyph> glyphs;
    // Nothing for a project that Windows-1252 records and the header describe completely.
    std::optional<ProjectExtension> extension;

    friend bool operator==(const ProjectFile&, const ProjectFile&) = default;
};

// The glyph records of a character list: its entries that have a Windows-1252 byte, in order.
std::vector<ProjectGlyph> windows1252Records(const GlyphList& characters);

// The file's bytes: little-endian fields in file order, the face name with one zero byte,
// then 9-byte glyph records, then the extension when there is one.
std::vector<std::uint8_t> encodeProjectFile(const ProjectFile& project);

// Checks the bytes completely before returning anything; displayName names the file in the
// message of a failure. Bytes after the records that do not start with the extension's
// signature are ignored.
Result<ProjectFile> decodeProjectFile(const std::vector<std::uint8_t>& bytes,
                                      const std::string& displayName);

Result<ProjectFile> readProjectFile(const std::string& path);

// Whether the file at path is a project file: it reads as one, or its header and glyph records
// are whole and followed by the extension's signature (a project with a damaged extension, or
// one of a newer version). False for a file that cannot be read.
bool isProjectFile(const std::string& path);

// Writes through a temporary file in the same folder and a rename: a failure leaves any earlier
// file as it was.
Status writeProjectFile(const std::string& path, const ProjectFile& project);

}  // namespace vemro
