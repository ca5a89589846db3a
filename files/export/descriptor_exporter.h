#pragma once

#include "files/export/exporter.h"
#include "files/project/export_settings.h"

namespace vemro {

// A BMFont descriptor (text, XML or binary, as NAME.fnt) or its JSON form (NAME.json) with the
// pages as images beside it (pageImagePaths), from the chosen NAME.EXT. The pages are written
// first and the descriptor last: when a page cannot be written, the export stops there with a
// message naming it, and no descriptor names a page that was not written.
class DescriptorExporter final : public Exporter {
public:
    // One of the BMFont formats or JSON.
    explicit DescriptorExporter(DescriptorFormat format);

    std::string name() const override;
    std::string displayName() const override;
    std::string fileExtension() const override;

protected:
    std::vector<std::string> targetFiles(const std::string& chosenPath,
                                         const ExportSettings& settings,
                                         const AtlasResult& result) const override;
    ExportReport writeFiles(const std::string& chosenPath, const Project& project,
                            const ExportSettings& settings,
                            const AtlasResult& result) const override;

private:
    DescriptorFormat format_;
};

}  // namespace vemro
