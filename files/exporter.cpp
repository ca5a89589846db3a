#include "files/exporter.h"

#include <algorithm>

#include "files/tfd_exporter.h"

namespace vemro {

const std::vector<const Exporter*>& registeredExporters() {
    static const TfdExporter tfd;
    static const std::vector<const Exporter*> exporters{&tfd};
    return exporters;
}

const Exporter* findExporter(const std::string& name) {
    const std::vector<const Exporter*>& exporters = registeredExporters();
    const auto found =
        std::find_if(exporters.begin(), exporters.end(),
                     [&name](const Exporter* exporter) { return exporter->name() == name; });
    return found == exporters.end() ? nullptr : *found;
}

}  // namespace vemro
