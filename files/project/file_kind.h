#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vemro {

// Bytes read from the start of a file to tell what it is.
inline constexpr std::size_t kFileKindSampleBytes = 4096;

// The kind of a font file (TrueType, OpenType, a collection, WOFF or WOFF2), told by signature.
inline constexpr const char* kFontFileKind = "a font file";

// What a file that was refused as a project looks like instead, as a phrase that completes
// "this is ..." ("a BMFont font description", "a PNG image", "a text file"), or nothing when it
// looks like none of the kinds known. head is the file's first bytes (at most
// kFileKindSampleBytes), complete tells whether they are the whole file, fileName gives the
// extension (BMP and Targa images are only taken by their extension as well as their header).
// Knows font files (kFontFileKind), BMFont descriptions (text, XML and binary), the program's own
// glyph description, PNG, JPEG, GIF, BMP and Targa images, and text in UTF-8 without zero bytes.
std::optional<std::string> lookAlikeKind(std::span<const std::uint8_t> head, bool complete,
                                         const std::string& fileName);

// The same for the file at path; nothing when it cannot be read or is no regular file.
std::optional<std::string> lookAlikeKind(const std::string& path);

// The message for a file the project reader refused when it looks like another kind of file:
// "cannot open "PATH": this is a BMFont font description, not a Vemro Font builder project", and
// for a font file ""NAME" is a font file, not a project: use --font-file (or File > Use Font
// File...)", NAME the path's last component. Nothing when it looks like none of them; the
// reader's own message then says more.
std::optional<std::string> notAProjectMessage(const std::string& path);

}  // namespace vemro
