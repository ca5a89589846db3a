#include "files/export/tfd_exporter.h"

#include "files/export/export_path.h"
#include "files/export/glyph_description.h"
#include "files/export/tga_image.h"

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

std::vector<std::string> TfdExporter::targetFiles(const std::string& chosenPath,
                                                  const ExportSettings& /*settings*/,
                                                  const AtlasResult& result) const {
    std::vector<std::string> paths{exportPath(chosenPath, ".tga"), exportPath(chosenPath, ".tfd")};
    for (std::size_t page = 1; page < result.pages.size(); ++page) {
        // Appended rather than "_" + number, which GCC 12 at -O3 wrongly warns about.
        std::string suffix = "_";
        suffix += std::to_string(page);
        paths.push_back(exportPath(chosenPath, suffix + ".tga"));
        paths.push_back(exportPath(chosenPath, suffix + ".tfd"));
    }
    return paths;
}

ExportReport TfdExporter::writeFiles(const std::string& chosenPath, const Project& /*project*/,
                                     const ExportSettings& settings,
                                     const AtlasResult& result) const {
    const std::vector<std::string> paths = targetFiles(chosenPath, settings, result);
    static const AtlasPage kNoPage;
    ExportReport report;
    for (std::size_t i = 0; i < paths.size() / 2; ++i) {
        const AtlasPage& page = i < result.pages.size() ? result.pages[i] : kNoPage;
        const auto number = static_cast<std::int32_t>(i);
        record(paths[2 * i], writeTgaImage(paths[2 * i], page, result.textureSize), report);
        record(paths[2 * i + 1], writeGlyphDescription(paths[2 * i + 1], result, number), report);
    }
    return report;
}

}  // namespace vemro
