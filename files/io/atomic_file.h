#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/core/result.h"

namespace vemro {

// Replaces the file at path with the given bytes, or leaves it as it was. The bytes go to a new
// temporary file in the same folder, which is flushed to disk and closed with every error
// checked, then renamed over path. On any failure the temporary file is removed and the message
// names path and the reason. An existing target keeps its permission bits. A target that
// exists but is not a regular file (a folder, a device) is refused.
Status writeFileAtomically(const std::string& path, const std::uint8_t* data, std::size_t size);

}  // namespace vemro
