#pragma once

#include <string>
#include <vector>

#include "files/project/export_settings.h"

namespace vemro {

// The pages an earlier export to the same chosen path and format left that this export does not
// write over, as an atlas of fewer pages leaves them: the existing files in the chosen path's
// folder named as the format names the pages of some atlas (NAME_k.png, or NAME_k.tga for Targa
// pages, k padded with zeros as an atlas of up to kMaxAtlasPages pages pads it; NAME_k.tga and
// NAME_k.tfd, k >= 1 unpadded, for the tfd format) that are not among targets, the files this
// export writes. In page order, each page's files in the order the format writes them; formed as
// exportPath forms the targets. They are never removed: they may still be someone's.
std::vector<std::string> leftoverPages(const std::string& chosenPath,
                                       const ExportSettings& settings,
                                       const std::vector<std::string>& targets);

// The sentence naming leftover pages by file name: "NAME_3.png from an earlier export is still
// there", "NAME_3.png and NAME_4.png ... are still there", "NAME_3.png … NAME_6.png ... are still
// there" for three and more (the first and the last); empty for none.
std::string leftoverPagesMessage(const std::vector<std::string>& leftovers);

}  // namespace vemro
