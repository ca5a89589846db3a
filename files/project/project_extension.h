#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "engine/core/result.h"
#include "files/io/byte_reader.h"
#include "files/io/byte_writer.h"
#include "files/project/document.h"
#include "files/project/project_section.h"

namespace vemro {

// The extension that follows the glyph records of a project file:
//   8 bytes   the signature "VemroExt"
//   uint32    the extension version, 1
//   sections  one after the other up to the end of the file, each a 4-byte ASCII tag, a uint32
//             payload length and the payload, each tag at most once, in any order: CHRS and FONT
//             (glyph_sections.h), TXSZ, PACK, WGHT and TRIM (settings_sections.h), EXPO and TEXT
//             (export_sections.h), EFCT (effect_section.h)
// Every field is little-endian. The extension holds a document's values that the header and the
// glyph records cannot; the sections say which (projectSections).
inline constexpr char kProjectExtensionSignature[] = "VemroExt";
inline constexpr std::uint32_t kProjectExtensionVersion = 1;

// Every section this version knows, in the order they are written. Everything below is driven by
// this list.
std::span<const ProjectSection* const> projectSections();

// The most bytes an accepted extension can take: every section once, at its limits.
std::size_t maxProjectExtensionBytes();

// Whether a file of the document needs an extension: some section's values are not what a file
// without it means.
bool needsProjectExtension(const Document& document);

// Appends the extension holding the document's values: the required sections and every section
// whose values are not the defaults.
void appendProjectExtension(ByteWriter& out, const Document& document);

// Whether the reader's next bytes are the signature; bytes that do not start with it are ignored.
bool startsProjectExtension(const ByteReader& in);

// Reads the extension that starts at the reader's position and runs to the end of the bytes into
// `start`, whose values stay where the file has no section for them, checking every length, tag
// and value; the failure's message says what is wrong and names the limit.
Result<Document> decodeProjectExtension(ByteReader& in, Document start);

// What makes the document's extension impossible to store so that it reads back, or nothing.
std::optional<std::string> projectExtensionProblem(const Document& document);

}  // namespace vemro
