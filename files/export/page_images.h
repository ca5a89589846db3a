#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/atlas/atlas_result.h"
#include "engine/core/result.h"
#include "files/project/export_settings.h"

namespace vemro {

// The paths of the page images of an export to the chosen NAME.EXT: NAME_0.png, NAME_1.png, ...
// (.tga for Targa images). The page numbers are padded with zeros to the digits of the last one
// (NAME_00.png ... NAME_11.png for twelve pages), so that every name has the same length, as the
// binary descriptor needs.
std::vector<std::string> pageImagePaths(const std::string& chosenPath, std::size_t pageCount,
                                        PageImage image);

// Writes one page as the image kind, whole or not at all; the message of a failure names path.
Status writePageImage(const std::string& path, const AtlasPage& page, AtlasSize size,
                      PageImage image);

}  // namespace vemro
