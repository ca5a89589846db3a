#pragma once

#include <string>
#include <vector>

#include "engine/font/font_renderer.h"
#include "files/project/document.h"

namespace vemro {

// How strictly one export judges what it makes.
struct ExportRunRules {
    // Characters the font lacks and glyphs outside the texture are errors, not warnings.
    bool strict = false;
    // A font that cannot be made is an error; otherwise a warning, and the glyphs are empty cells.
    bool fontRequired = true;
    // Warn that a fill colour does nothing to a distance field (when an option gave the fill).
    bool fillGiven = false;
};

// What one export said, in the order it said it.
struct ExportMessage {
    bool error = false;
    std::string text;
};

struct ExportRunReport {
    std::vector<ExportMessage> messages;
    // Every file written, in the order written.
    std::vector<std::string> written;
    bool ok = true;
};

// Rebuilds the document's atlas and writes it to outputPath in the document's export format, as
// --export, export and build do. Nothing is written when an error is found before writing (a
// font that cannot be made, or with strict rules a lacking character or a cut glyph). The
// project's own file (projectPath; empty for none) and other project files are never written
// over.
ExportRunReport runExport(const Document& document, const std::string& outputPath,
                          const std::string& projectPath, FontRenderer& renderer,
                          const ExportRunRules& rules);

}  // namespace vemro
