#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/result.h"
#include "files/export/font_description.h"

namespace vemro {

// The BMFont descriptor as JSON in the layout the JavaScript renderers read: one object with
// "pages" (an array of the page file names, the index being the page id), "chars" (an array of
// objects with the fields of the XML's <char>), "info" (padding and spacing as arrays of
// numbers, charset ""), "common" and "kernings" (an array of objects with first, second and
// amount; empty without pairs). Strings are escaped by the JSON writer.
Result<std::vector<std::uint8_t>> encodeBmfontJson(const FontDescription& description);

}  // namespace vemro
