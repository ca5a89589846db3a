#include "files/tfd_exporter.h"

#include "files/export_path.h"
#include "files/glyph_description.h"
#include "files/tga_image.h"

namespace vemro {

namespace {

void record(const std::string& path, const Status& status, ExportReport& report) {
    if (status) {
        report.written.push_back(path);
    } else {
        report.failures.push_back(status.message());
    }
}

}  // namespace

std::string TfdExporter::name() const {
    return "tfd";
}

std::string TfdExporter::displayName() const {
    return "Targa image";
}

std::string TfdExporter::fileExtension() const {
    return ".tga";
}

std::vector<std::string> TfdExporter::targetFiles(const std::string& chosenPath,
                                                  const ExportSettings& /*settings*/,
                                                  const AtlasResult& /*result*/) const {
    return {exportPath(chosenPath, ".tga"), exportPath(chosenPath, ".tfd")};
}

ExportReport TfdExporter::writeFiles(const std::string& chosenPath, const Project& /*project*/,
                                     const AtlasResult& result) const {
    const std::vector<std::string> paths = targetFiles(chosenPath, ExportSettings{}, result);
    static const AtlasPage kNoPage;
    const AtlasPage& page = result.pages.empty() ? kNoPage : result.pages.front();
    ExportReport report;
    record(paths[0], writeTgaImage(paths[0], page, result.textureSize), report);
    record(paths[1], writeGlyphDescription(paths[1], result), report);
    return report;
}

}  // namespace vemro
