// The format table: one row a format, each its stored number, command-line name, caption,
// extension and writer. Everything that lists formats lists them from here.
#include <algorithm>

#include "files/export/bmfont_binary.h"
#include "files/export/bmfont_json.h"
#include "files/export/bmfont_text.h"
#include "files/export/bmfont_xml.h"
#include "files/export/descriptor_exporter.h"
#include "files/export/exporter.h"
#include "files/export/tfd_exporter.h"

namespace vemro {

const std::vector<const Exporter*>& registeredExporters() {
    using F = DescriptorFormat;
    static const TfdExporter tfd({F::Tfd, "tfd", "TGA and .tfd", ".tga"});
    static const DescriptorExporter text({F::BmfontText, "bmfont-text", "BMFont text", ".fnt"},
                                         encodeBmfontText);
    static const DescriptorExporter xml({F::BmfontXml, "bmfont-xml", "BMFont XML", ".fnt"},
                                        encodeBmfontXml);
    static const DescriptorExporter binary(
        {F::BmfontBinary, "bmfont-binary", "BMFont binary", ".fnt"}, encodeBmfontBinary);
    static const DescriptorExporter json({F::Json, "json", "BMFont JSON", ".json"},
                                         encodeBmfontJson);
    static const std::vector<const Exporter*> exporters{&tfd, &text, &xml, &binary, &json};
    return exporters;
}

const Exporter* findExporter(const std::string& name) {
    const std::vector<const Exporter*>& exporters = registeredExporters();
    const auto found =
        std::find_if(exporters.begin(), exporters.end(),
                     [&name](const Exporter* exporter) { return exporter->name() == name; });
    return found == exporters.end() ? nullptr : *found;
}

const Exporter& exporterFor(DescriptorFormat format) {
    const std::vector<const Exporter*>& exporters = registeredExporters();
    const auto found =
        std::find_if(exporters.begin(), exporters.end(),
                     [format](const Exporter* exporter) { return exporter->format() == format; });
    return found == exporters.end() ? *exporters.front() : **found;
}

const char* descriptorFormatName(DescriptorFormat format) {
    return exporterFor(format).row().name;
}

std::string formatNames(const char* separator, const char* lastSeparator) {
    const std::vector<const Exporter*>& exporters = registeredExporters();
    std::string names;
    for (std::size_t i = 0; i < exporters.size(); ++i) {
        names += i == 0 ? "" : i + 1 == exporters.size() ? lastSeparator : separator;
        names += exporters[i]->name();
    }
    return names;
}

}  // namespace vemro
