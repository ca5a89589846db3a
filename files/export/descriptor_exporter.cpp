#include "files/export/descriptor_exporter.h"

#include <algorithm>
#include <filesystem>

#include "files/export/export_path.h"
#include "files/export/page_images.h"
#include "files/io/atomic_file.h"

namespace vemro {

namespace {

std::size_t pageCount(const AtlasResult& result) {
    return std::max<std::size_t>(result.pages.size(), 1);
}

}  // namespace

DescriptorExporter::DescriptorExporter(const FormatRow& row, Encode encode)
    : Exporter(row), encode_(encode) {}

std::vector<std::string> DescriptorExporter::targetFiles(const std::string& chosenPath,
                                                         const ExportSettings& settings,
                                                         const AtlasResult& result) const {
    std::vector<std::string> paths = pageImagePaths(chosenPath, pageCount(result), settings.image);
    paths.push_back(exportPath(chosenPath, fileExtension()));
    return paths;
}

ExportReport DescriptorExporter::writeFiles(const std::string& chosenPath, const Project& project,
                                            const ExportSettings& settings,
                                            const AtlasResult& result) const {
    const PageImage image = settings.image;
    const std::vector<std::string> paths = targetFiles(chosenPath, settings, result);
    const std::string& descriptorPath = paths.back();
    std::vector<std::string> pageNames;
    for (std::size_t page = 0; page + 1 < paths.size(); ++page) {
        pageNames.push_back(std::filesystem::path(paths[page]).filename().string());
    }

    ExportReport report;
    // The descriptor is made first, so that a description the format cannot hold writes
    // nothing at all.
    const Result<std::vector<std::uint8_t>> descriptor =
        encode_(describeFont(project, result, pageNames));
    if (!descriptor) {
        report.failures.push_back("cannot write \"" + descriptorPath +
                                  "\": " + descriptor.message());
        return report;
    }
    static const AtlasPage kNoPage;
    for (std::size_t page = 0; page < pageNames.size(); ++page) {
        const Status written =
            writePageImage(paths[page], page < result.pages.size() ? result.pages[page] : kNoPage,
                           result.textureSize, image);
        if (!written) {
            report.failures.push_back(written.message() + "; the descriptor \"" + descriptorPath +
                                      "\" was not written");
            return report;
        }
        report.written.push_back(paths[page]);
    }
    const Status written =
        writeFileAtomically(descriptorPath, descriptor->data(), descriptor->size());
    if (written) {
        report.written.push_back(descriptorPath);
    } else {
        report.failures.push_back(written.message());
    }
    return report;
}

}  // namespace vemro
