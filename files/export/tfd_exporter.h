#pragma once

#include "files/export/exporter.h"

namespace vemro {

// Each page as a Targa image with the .tfd glyph description of its glyphs beside it: page 0 as
// NAME.tga and NAME.tfd from the chosen NAME.EXT, page k >= 1 as NAME_k.tga and NAME_k.tfd. A
// single-page atlas is written as NAME.tga and NAME.tfd alone.
class TfdExporter final : public Exporter {
public:
    using Exporter::Exporter;

protected:
    std::vector<std::string> targetFiles(const std::string& chosenPath,
                                         const ExportSettings& settings,
                                         const AtlasResult& result) const override;

    // Every file is attempted even when an earlier one fails; each failure is reported on its
    // own.
    ExportReport writeFiles(const std::string& chosenPath, const Project& project,
                            const ExportSettings& settings,
                            const AtlasResult& result) const override;
};

}  // namespace vemro
