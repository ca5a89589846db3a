#pragma once

#include <vector>

#include "engine/pack/pack_options.h"
#include "engine/project/atlas_size.h"
#include "engine/project/packing_settings.h"

namespace vemro {

// The positions the chosen packer gives the rectangles (packRows or packTight).
std::vector<PackPosition> packItems(PackerKind packer, const std::vector<PackItem>& items,
                                    const PackOptions& options);

// The smallest texture whose sides are powers of two no larger than the largest size's, that
// holds every rectangle wholly on one page with the packer and spacing: the smallest area first,
// then the squarer, then the wider. The largest size itself when no such texture holds them.
AtlasSize fitTextureSize(PackerKind packer, const std::vector<PackItem>& items,
                         std::int32_t spacing, AtlasSize largest);

}  // namespace vemro
