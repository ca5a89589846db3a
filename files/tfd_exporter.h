#pragma once

#include "files/exporter.h"

namespace vemro {

// The Targa image of the first page and the .tfd glyph description beside it: NAME.tga and
// NAME.tfd from the chosen NAME.EXT.
class TfdExporter final : public Exporter {
public:
    std::string name() const override;
    std::string displayName() const override;
    std::string fileExtension() const override;

protected:
    std::vector<std::string> targetFiles(const std::string& chosenPath,
                                         const ExportSettings& settings,
                                         const AtlasResult& result) const override;

    // The description is attempted even when the image fails; each failure is reported on its
    // own.
    ExportReport writeFiles(const std::string& chosenPath, const Project& project,
                            const AtlasResult& result) const override;
};

}  // namespace vemro
