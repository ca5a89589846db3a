#pragma once

#include <string>
#include <vector>

#include "engine/atlas.h"
#include "engine/atlas_size.h"
#include "engine/font_borders.h"
#include "engine/font_settings.h"
#include "engine/glyph_list.h"
#include "files/project_file.h"

namespace vemro {

// A project file turned into the settings the window would show after opening it.
struct LoadedProject {
    AtlasSize textureSize;
    FontBorders fontBorders;
    FontSettings settings;
    GlyphList glyphs;
    // One line per stored value that matched nothing on offer, naming the value and what is
    // used instead.
    std::vector<std::string> warnings;
};

// Applies a project as File > Open does: font borders brought into 0..16 and the size into
// 5..100 the way the spins take them (low 16 bits as a signed number, then the range); weight,
// quality and factor matched against the entries the window offers; the face name matched
// case-insensitively against faces (the installed name is used). A value that matches nothing
// keeps the one in fallback. Glyph records are kept as stored, duplicates included.
LoadedProject loadProject(const ProjectFile& file, const std::vector<std::string>& faces,
                          const FontSettings& fallback);

// The project file for the atlas's current inputs and the settings shown in the window.
ProjectFile makeProjectFile(const Atlas& atlas, const FontSettings& settings);

}  // namespace vemro
