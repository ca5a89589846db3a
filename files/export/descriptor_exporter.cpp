#include "files/export/descriptor_exporter.h"

#include <algorithm>
#include <filesystem>

#include "files/export/bmfont_binary.h"
#include "files/export/bmfont_json.h"
#include "files/export/bmfont_text.h"
#include "files/export/bmfont_xml.h"
#include "files/export/export_path.h"
#include "files/export/font_description.h"
#include "files/export/page_images.h"
#include "files/io/atomic_file.h"

namespace vemro {

namespace {

Result<std::vector<std::uint8_t>> encode(DescriptorFormat format,
                                         const FontDescription& description) {
    switch (format) {
        case DescriptorFormat::BmfontXml:
            return encodeBmfontXml(description);
        case DescriptorFormat::BmfontBinary:
            return encodeBmfontBinary(description);
        case DescriptorFormat::Json:
            return encodeBmfontJson(description);
        case DescriptorFormat::BmfontText:
        case DescriptorFormat::Tfd:
            break;
    }
    return encodeBmfontText(description);
}

std::size_t pageCount(const AtlasResult& result) {
    return std::max<std::size_t>(result.pages.size(), 1);
}

}  // namespace

DescriptorExporter::DescriptorExporter(DescriptorFormat format) : format_(format) {}

std::string DescriptorExporter::name() const {
    return descriptorFormatName(format_);
}

std::string DescriptorExporter::displayName() const {
    switch (format_) {
        case DescriptorFormat::BmfontXml:
            return "BMFont XML";
        case DescriptorFormat::BmfontBinary:
            return "BMFont binary";
        case DescriptorFormat::Json:
            return "BMFont JSON";
        case DescriptorFormat::BmfontText:
        case DescriptorFormat::Tfd:
            break;
    }
    return "BMFont text";
}

std::string DescriptorExporter::fileExtension() const {
    return format_ == DescriptorFormat::Json ? ".json" : ".fnt";
}

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
        encode(format_, describeFont(project, result, pageNames));
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
