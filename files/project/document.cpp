#include "files/project/document.h"

namespace vemro {

Document startupDocument(const std::string& faceName) {
    Document document{startupProject(faceName)};
    document.project.packing.trimToInk = true;
    return document;
}

void chooseExportFormat(Document& document, DescriptorFormat format) {
    if (describesYOffsets(format) && !describesYOffsets(document.exportSettings.format)) {
        document.project.packing.trimToInk = true;
    }
    document.exportSettings.format = format;
}

Project atlasProjectOf(const Document& document) {
    Project project = document.project;
    project.packing.trimToInk =
        project.packing.trimToInk && describesYOffsets(document.exportSettings.format);
    return project;
}

}  // namespace vemro
