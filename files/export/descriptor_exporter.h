#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/result.h"
#include "files/export/exporter.h"
#include "files/export/font_description.h"

namespace vemro {

// A BMFont descriptor (text, XML or binary, as NAME.fnt) or its JSON form (NAME.json) with the
// pages as images beside it (pageImagePaths), from the chosen NAME.EXT, the extension being the
// row's. The pages are written
// first and the descriptor last: when a page cannot be written, the export stops there with a
// message naming it, and no descriptor names a page that was not written.
class DescriptorExporter final : public Exporter {
public:
    // The bytes of a descriptor of the format, or why the description cannot be written so.
    using Encode = Result<std::vector<std::uint8_t>> (*)(const FontDescription& description);

    DescriptorExporter(const FormatRow& row, Encode encode);

protected:
    std::vector<std::string> targetFiles(const std::string& chosenPath,
                                         const ExportSettings& settings,
                                         const AtlasResult& result) const override;
    ExportReport writeFiles(const std::string& chosenPath, const Project& project,
                            const ExportSettings& settings,
                            const AtlasResult& result) const override;

private:
    Encode encode_;
};

}  // namespace vemro
