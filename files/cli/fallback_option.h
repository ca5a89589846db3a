#pragma once

#include <string>

#include "engine/core/result.h"
#include "engine/font/font_renderer.h"
#include "files/project/document.h"

namespace vemro {

// Whether a NAME|PATH[#INDEX] argument names a font file rather than a typeface: it holds a "/"
// or ends in a font file's extension (.ttf, .otf, .ttc, .otc, .woff, .woff2; any case). A build
// file resolves such an argument against its folder and records the file's bytes in the stamp.
bool namesFontFile(const std::string& argument);

// --fallback NAME|PATH[#INDEX]: adds a fallback face after the project's others. An argument
// that names a font file, or a file that exists, is a font file, checked as --font-file checks
// it; anything else is an installed typeface's name, which the rebuild looks up.
Status addFallback(const std::string& argument, Document& document, FontRenderer& renderer);

}  // namespace vemro
