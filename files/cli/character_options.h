#pragma once

#include <string>

#include "engine/core/result.h"
#include "engine/font/font_renderer.h"
#include "files/project/document.h"

namespace vemro {

// The options that add characters; each adds them after the characters the project has, a
// character already there keeping its place and borders (see ExportOption::apply).

Status addCharacterRanges(const std::string& argument, Document& document, FontRenderer& renderer);
Status addCharactersFrom(const std::string& argument, Document& document, FontRenderer& renderer);
Status addCharset(const std::string& argument, Document& document, FontRenderer& renderer);

// The name --charset takes for the characters of codes 32 to 255 in Windows-1252, as Tools >
// Add Torvyn Charset adds them.
inline constexpr const char* kClassicCharset = "classic";

}  // namespace vemro
