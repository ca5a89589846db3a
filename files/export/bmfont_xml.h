#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/result.h"
#include "files/export/font_description.h"

namespace vemro {

// The BMFont descriptor as XML in UTF-8: the XML declaration, then a <font> root holding <info>,
// <common>, <pages> with a <page> per page, <chars count> with a <char> per character, and
// <kernings count> with a <kerning> per pair when there are pairs; every value an attribute,
// escaped by the XML writer.
Result<std::vector<std::uint8_t>> encodeBmfontXml(const FontDescription& description);

}  // namespace vemro
