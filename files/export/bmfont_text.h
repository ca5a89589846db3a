#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/result.h"
#include "files/export/font_description.h"

namespace vemro {

// The BMFont descriptor as text, lines ended with LF: info, common, one page line per page,
// chars count and a char line per character, and kernings count with a kerning line per pair
// when there are pairs. Every string value is quoted (face="...", charset="", file="...").
// The format has no escape for a quotation mark inside a quoted value (readers take the value
// up to the next one), so the face name's quotation marks are written as apostrophes (and any
// control character as a space); a page file whose name holds a quotation mark or a control
// character cannot be named, and the descriptor is refused.
Result<std::vector<std::uint8_t>> encodeBmfontText(const FontDescription& description);

}  // namespace vemro
