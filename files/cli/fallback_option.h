#pragma once

#include <string>

#include "engine/core/result.h"
#include "engine/font/font_renderer.h"
#include "files/project/document.h"

namespace vemro {

// --fallback NAME|PATH[#INDEX]: adds a fallback face after the project's others. An argument
// that names a file (or holds a "/") is a font file, checked as --font-file checks it; anything
// else is an installed typeface's name, which the rebuild looks up.
Status addFallback(const std::string& argument, Document& document, FontRenderer& renderer);

}  // namespace vemro
