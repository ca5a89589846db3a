#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/result.h"
#include "files/project/project_file.h"

namespace vemro {

// The extension that follows the glyph records of a project file:
//   8 bytes   the signature "VemroExt"
//   uint32    the extension version, 1
//   sections  one after the other up to the end of the file, each a 4-byte ASCII tag, a uint32
//             payload length and the payload:
//     CHRS    uint32 count, then per character uint32 code point, int32 left and right border
//     FONT    uint32 path length, the path's UTF-8 bytes, int32 face index (only with a font file)
//     TXSZ    the texture's true sides (only with a side above 512; settings_sections.h)
//     PACK    the packing settings (only when one differs from the default; settings_sections.h)
//     EXPO    the export settings and the kerning option (only when one differs from the
//             default; export_sections.h)
//     TEXT    the window's sample text (only when it is not the default; export_sections.h)
//     EFCT    the effects (only when one differs from the default; effect_section.h)
// Every field is little-endian.
inline constexpr char kProjectExtensionSignature[] = "VemroExt";
inline constexpr std::uint32_t kProjectExtensionVersion = 1;

// The most bytes an accepted extension can take: every section once, at its limits.
std::size_t maxProjectExtensionBytes();

// Appends the extension's bytes.
void appendProjectExtension(std::vector<std::uint8_t>& out, const ProjectExtension& extension);

// Whether the bytes from offset on begin with the signature; they are ignored when they do not.
bool startsProjectExtension(const std::vector<std::uint8_t>& bytes, std::size_t offset);

// Reads the extension that starts at offset and runs to the end of the bytes, checking every
// length, tag and value; the failure's message says what is wrong and names the limit.
Result<ProjectExtension> decodeProjectExtension(const std::vector<std::uint8_t>& bytes,
                                                std::size_t offset);

// What makes an extension impossible to store so that it reads back, or nothing.
std::optional<std::string> projectExtensionProblem(const ProjectExtension& extension);

}  // namespace vemro
